#pragma once
// File operations. None throws; failures answer false / nullopt / empty, and
// where an `error` is passed, the system's reason ("Permission denied").
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Data.h"

namespace ns {

bool fileExists(const std::string& path);
bool isDirectory(const std::string& path);
// Creates the directory and any missing parents; true when it exists afterwards.
bool createDirectory(const std::string& path, std::string* error = nullptr);
// Removes a file or a whole directory tree; true when nothing is left.
bool removeItem(const std::string& path);
// Copies a file (not a directory); fails when the destination exists.
bool copyItem(const std::string& from, const std::string& to, std::string* error = nullptr);
bool moveItem(const std::string& from, const std::string& to, std::string* error = nullptr);
// Names in the directory (not paths), sorted; empty when unreadable.
std::vector<std::string> contentsOfDirectory(const std::string& path);
std::optional<std::uint64_t> fileSize(const std::string& path);
// The file's modification time in seconds since 1970, and setting it.
std::optional<double> modificationDate(const std::string& path);
bool setModificationDate(const std::string& path, double secondsSince1970);

// The path of the item the relative path names under the folder, with every
// link resolved, when that item exists and stays inside the folder; nothing
// when the path leaves it (through "..", an absolute part or a link that points
// out) or holds a NUL byte.
std::optional<std::string> pathInsideFolder(const std::string& folder, const std::string& relativePath);

// The file's bytes; nullopt when it cannot be read or is larger than maxBytes.
std::optional<Data> readFile(const std::string& path, std::uint64_t maxBytes);
// Writes through a temporary file in the same folder, flushed and renamed over
// the path: readers see the old file or the new one, never a part. The file
// is readable and writable by its owner only.
bool writeFileAtomically(const std::string& path, const Data& data, std::string* error = nullptr);
bool writeFileAtomically(const std::string& path, std::string_view text, std::string* error = nullptr);

}  // namespace ns
