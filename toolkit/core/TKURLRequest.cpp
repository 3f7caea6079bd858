#include "toolkit/core/TKURLRequest.h"

#include <openssl/evp.h>

#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Image.h"
#include "toolkit/core/TKURLCache.h"
#include "toolkit/core/TKURLRequestQueue.h"

namespace {

void append(ns::Data& body, std::string_view text) { body.insert(body.end(), text.begin(), text.end()); }

}  // namespace

std::optional<ns::Error> TKURLDataResponse::processResponse(TKURLRequest&, const ns::HTTPURLResponse*,
                                                            const TKURLContent& content) {
  if (const auto* data = std::get_if<ns::Data>(&content)) data_ = *data;
  return std::nullopt;
}

std::optional<ns::Error> TKURLImageResponse::processResponse(TKURLRequest& request, const ns::HTTPURLResponse*,
                                                             const TKURLContent& content) {
  if (const auto* image = std::get_if<std::shared_ptr<ui::Image>>(&content)) {
    image_ = *image;
    return std::nullopt;
  }
  const auto* data = std::get_if<ns::Data>(&content);
  if (!data) return std::nullopt;
  // The memory images stand for GET answers only: another method's bytes are its own.
  bool get = request.isGet();
  auto image = get ? TKURLCache::sharedCache().imageForURL(request.URL(), false) : nullptr;
  if (!image) {
    if (auto decoded = cg::Image::fromData(*data)) image = ui::Image::imageWithCGImage(decoded);
  }
  if (!image) return ns::Error{TKErrorDomain, TKErrorCodeNoImage, "The data is not an image"};
  if (get && !request.respondedFromCache()) TKURLCache::sharedCache().storeImage(image, request.URL());
  image_ = image;
  return std::nullopt;
}

std::shared_ptr<TKURLRequest> TKURLRequest::request() { return std::make_shared<TKURLRequest>(); }

std::shared_ptr<TKURLRequest> TKURLRequest::requestWithURL(const std::string& url,
                                                           std::shared_ptr<TKURLRequestDelegate> delegate) {
  auto r = request();
  r->url_ = url;
  if (delegate) r->delegates_.push_back(delegate);
  return r;
}

bool TKURLRequest::isPost() const { return ns::uppercase(httpMethod_) == "POST"; }

bool TKURLRequest::isGet() const { return httpMethod_.empty() || ns::uppercase(httpMethod_) == "GET"; }

bool TKURLRequest::methodCarriesBody() const {
  std::string m = ns::uppercase(httpMethod_);
  return m == "POST" || m == "PUT" || m == "PATCH";
}

std::optional<ns::Data> TKURLRequest::httpBody() const {
  if (httpBody_) return httpBody_;
  if (methodCarriesBody()) return generatePostBody();
  return std::nullopt;
}

std::string TKURLRequest::contentType() const {
  if (!contentType_.empty()) return contentType_;
  if (methodCarriesBody() && !httpBody_) return ns::format("multipart/form-data; boundary=%s", kBoundary);
  return {};
}

void TKURLRequest::addFile(ns::Data data, const std::string& mimeType, const std::string& fileName) {
  files_.push_back(File{std::move(data), mimeType, fileName});
}

bool TKURLRequest::hasDelegate(const void* object) const {
  for (const auto& d : delegates_) {
    if (auto locked = d.lock(); locked && static_cast<const void*>(locked.get()) == object) return true;
  }
  return false;
}

std::shared_ptr<TKUserInfo> TKURLRequest::tkUserInfo() const {
  if (const auto* info = std::any_cast<std::shared_ptr<TKUserInfo>>(&userInfo_)) return *info;
  return nullptr;
}

const std::string& TKURLRequest::cacheKey() {
  if (cacheKey_.empty()) cacheKey_ = generateCacheKey();
  return cacheKey_;
}

std::string TKURLRequest::generateCacheKey() const {
  if (!isPost()) return md5HexDigest(url_);
  // Each string field with the byte lengths of its key and value, so that no
  // two different field sets read alike; the map keeps them in key order.
  std::string text = url_;
  for (const auto& [key, value] : parameters_) {
    if (const auto* s = std::get_if<std::string>(&value)) {
      text += ns::format("\n%zu:%zu:", key.size(), s->size()) + key + *s;
    }
  }
  return md5HexDigest(text);
}

std::string TKURLRequest::md5HexDigest(const std::string& text) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(text.data(), text.size(), digest, &length, EVP_md5(), nullptr);
  std::string hex;
  for (unsigned i = 0; i < length; ++i) hex += ns::format("%02x", digest[i]);
  return hex;
}

ns::Data TKURLRequest::generatePostBody() const {
  ns::Data body;
  const std::string delimiter = ns::format("\r\n--%s\r\n", kBoundary);
  append(body, ns::format("--%s\r\n", kBoundary));
  for (const auto& [key, value] : parameters_) {
    if (const auto* s = std::get_if<std::string>(&value)) {
      append(body, delimiter);
      append(body, ns::format("Content-Disposition: form-data; name=\"%s\"\r\n\r\n", key.c_str()));
      append(body, *s);
    }
  }
  float quality = TKURLRequestQueue::mainQueue().imageCompressionQuality();
  for (const auto& [key, value] : parameters_) {
    const auto* image = std::get_if<std::shared_ptr<ui::Image>>(&value);
    if (!image || !*image || !(*image)->cgImage()) continue;
    ns::Data jpeg = (*image)->cgImage()->jpegData(quality);
    append(body, delimiter);
    append(body, ns::format("Content-Disposition: form-data; name=\"%s\"; filename=\"image.jpg\"\r\n", key.c_str()));
    append(body, ns::format("Content-Length: %zu\r\n", jpeg.size()));
    append(body, "Content-Type: image/jpeg\r\n\r\n");
    body.insert(body.end(), jpeg.begin(), jpeg.end());
  }
  for (const auto& file : files_) {
    append(body, delimiter);
    append(body, ns::format("Content-Disposition: form-data; name=\"%s\"; filename=\"%s\"\r\n",
                            file.fileName.c_str(), file.fileName.c_str()));
    append(body, ns::format("Content-Length: %zu\r\n", file.data.size()));
    append(body, ns::format("Content-Type: %s\r\n\r\n", file.mimeType.c_str()));
    body.insert(body.end(), file.data.begin(), file.data.end());
  }
  append(body, ns::format("\r\n--%s--\r\n", kBoundary));
  return body;
}

bool TKURLRequest::send() { return TKURLRequestQueue::mainQueue().sendRequest(shared_from_this()); }

void TKURLRequest::cancel() { TKURLRequestQueue::mainQueue().cancelRequest(shared_from_this()); }

ns::URLRequest TKURLRequest::createNSURLRequest() {
  return TKURLRequestQueue::mainQueue().createNSURLRequest(this, "");
}
