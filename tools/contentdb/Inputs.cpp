#include "tools/contentdb/Inputs.h"

#include <hb-ot.h>
#include <hb.h>
#include <openssl/evp.h>

#include <fstream>
#include <memory>
#include <sstream>

namespace contentdb {

const std::vector<PinnedFile>& pinnedTextFiles() {
  static const std::vector<PinnedFile> files = {
      {"quran.json", "d8a8adff387f60ce3ff7dbe3238dd9b27120bfe29d8fcb07ad2e89cad37cefd4"},
      {"quran_en.json", "bae3acab517304dc2684d65949a00f31000a92818041cefabc234663da99d7a3"},
      {"quran_id.json", "75d4672e11a638fc4e374df2ee9fa4d2257c562de9a5eb824532514e5c59d0ee"},
      {"quran_fr.json", "2efc6d899d9504d63c4d62efa4fc89d38f99105237b7030b01b12f24bc1ebb8e"},
      {"quran_es.json", "3232ba080fa1a04d23cc174550e84554af89fdcd2ff59b8870aef2267d0cd7c0"},
      {"quran_tr.json", "53c9772e2d4579ea290318302ba25aee2c74bef9537cbc360d7988d003e57fe1"},
      {"quran_ru.json", "b04ec3408c6edd3c4ff2d5794eab4b63ee5363f1eb6ca0969663624e877346e2"},
      {"quran_ur.json", "fe9c2ff72c287b3df8390b16eb27bb6de0210f20b417a5659b1fbdc29e58325f"},
      {"quran_bn.json", "894086074f0e637d0488de1e6cb48a729dd60d38bfde3326bb6a2c66bf171a71"},
      {"quran_zh.json", "0646a4794227cfbcd45f23b86328e7b9617bfbcce9571e91f87360495b11ef6c"},
      {"quran_sv.json", "60a3051fd522ddb32295d3a9837826e131db0607a9143c0c65bac153c6d723a7"},
      {"quran_transliteration.json", "36369741f23fe2b64fdcca39d047659256dab7b40f1717aefcb6198c514313a0"},
  };
  return files;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InputError("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string sha256File(const std::string& path) {
  std::string bytes = readFile(path);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int len = 0;
  if (!EVP_Digest(bytes.data(), bytes.size(), digest, &len, EVP_sha256(), nullptr))
    throw InputError("cannot hash " + path);
  static const char* hex = "0123456789abcdef";
  std::string out;
  for (unsigned i = 0; i < len; ++i) {
    out.push_back(hex[digest[i] >> 4]);
    out.push_back(hex[digest[i] & 15]);
  }
  return out;
}

void verifyDigest(const std::string& path, const std::string& expected) {
  std::string actual = sha256File(path);
  if (actual != expected)
    throw InputError(path + ": SHA-256 " + actual + " differs from the pinned " + expected);
}

std::string fontVersionString(const std::string& fontPath) {
  std::unique_ptr<hb_blob_t, decltype(&hb_blob_destroy)> blob(
      hb_blob_create_from_file_or_fail(fontPath.c_str()), hb_blob_destroy);
  if (!blob) throw InputError("cannot read the font " + fontPath);
  std::unique_ptr<hb_face_t, decltype(&hb_face_destroy)> face(hb_face_create(blob.get(), 0),
                                                              hb_face_destroy);
  char buf[256];
  unsigned int size = sizeof buf;
  unsigned int n = hb_ot_name_get_utf8(face.get(), HB_OT_NAME_ID_VERSION_STRING,
                                       hb_language_from_string("en", -1), &size, buf);
  return n ? std::string(buf, size) : std::string();
}

void verifyFont(const std::string& fontPath, const std::string& version, const std::string& sha256) {
  std::string actual = fontVersionString(fontPath);
  if (actual != version)
    throw InputError(fontPath + ": font version \"" + actual + "\" differs from the pinned \"" +
                     version + "\"; another version changes every glyph image");
  verifyDigest(fontPath, sha256);
}

}  // namespace contentdb
