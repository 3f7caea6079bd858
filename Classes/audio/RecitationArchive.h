#pragma once
// A downloaded recitation archive: a gzip-compressed tar file of MP3s,
// decompressed to a tar file and extracted into a folder of its own, from
// which the set-up reads the surah's members by their fixed names.
//
// Archives come from the network, so they are read warily: the gzip stream
// must end properly, and its size is capped; only plain files whose names are
// one safe path component (an optional "./" before it) are written, and only
// those the set-up expects, each a new file in the folder (never through a
// link); any other kind of member, a name that leaves the folder or a header
// whose checksum fails stops the extraction with a message.
#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>

// Decompresses "name.gz" into "name" (or "name" + ".gz" into "name") and
// deletes the compressed file; at most maxBytes are written. False, with the
// reason, on any failure (the output is then removed).
bool gunzip_file(const char* path, std::uint64_t maxBytes, std::string* error);

// The copy loop behind it: false on a read error, a stream that ends early or
// more than maxBytes.
bool gunzip_stream(void* gzipStream, std::FILE* out, std::uint64_t maxBytes, std::string* error);

// Extracts the archive's expected members into the destination folder (which
// must exist) and deletes `deletePath` on success. 0, or -1 with the reason.
int untar_archive(std::FILE* archive, const char* deletePath, const char* destination,
                  const std::set<std::string>& expected, std::uint64_t maxBytes, std::string* error);

// One member whose 512-byte header is given; `written` adds its bytes. 0 or -1.
int untar_entry(std::FILE* archive, const unsigned char* header, const char* destination,
                const std::set<std::string>& expected, std::uint64_t maxBytes, std::uint64_t* written,
                std::string* error);

// Warnings of the extraction, on standard error.
void untar_warn(const char* format, ...) __attribute__((format(printf, 1, 2)));
void untar_report_errno(const char* format, ...) __attribute__((format(printf, 1, 2)));

namespace recitation_archive {

// The member names of a surah: continuous "SSS-PP.mp3" for parts 1 to
// `parts`, or per verse "SSSVVV.mp3" for verses 0 to `verses`.
std::set<std::string> memberNames(int surah, bool continuous, int parts, int verses);
// The most bytes a surah's archive may hold once decompressed.
std::uint64_t sizeCap(int verses);

// Installs a downloaded archive "<n>.tar.gz" into the user database: unpacked
// beside it ("<n>.tar", the folder "<n>"), every expected member required (a
// per-verse set's opening formula excepted), stored with the installation
// marks in one transaction that rolls back whole; every temporary file
// removed, the archive too. False, with the reason, when nothing was installed.
bool install(sqlite3* db, const std::string& archive, int surah, int reciter, bool continuous, std::string* error);

}  // namespace recitation_archive
