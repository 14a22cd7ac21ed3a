// The settings file on disk: one read that knows which version of the file it
// saw, and a replace that keeps what the file is (its security, attributes,
// streams, a link pointing at it) and leaves the previous version beside it
// as "<file>.bak". No text model here: bytes in, bytes out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "file_version.h"

namespace settings_io {

struct FileRead {
  enum class Status { Read, Missing, Failed };
  Status status = Status::Missing;
  std::string bytes;
  FileVersion version;  // as far as the file system tells, also when Failed
  std::wstring error;   // Failed: the system's reason, for the user
};

// Reads the whole file, sharing it with every other reader and writer. Only a
// file that is not there counts as missing; a lock, refused access, a folder
// of that name, a missing folder or more than maxBytes (error tooLarge) is a
// failed read.
FileRead readFile(const std::wstring& path, std::size_t maxBytes, const std::wstring& tooLarge);

// Replaces path with bytes in one step: a complete copy beside the real
// target (a link is followed), then ReplaceFileW, which keeps the target's
// ACL, attributes and streams; a file not there yet is created. On success the
// previous version is "<target>.bak". On failure the target and its .bak are
// as they were, no file of ours is left, and reason says why.
bool replaceFile(const std::wstring& path, std::string_view bytes, std::wstring* reason);

// A hash of a file's bytes (FileVersion::contentHash).
std::uint64_t contentHash(std::string_view bytes);

// The temporary files a save writes beside target: "<target>.~<pid>-<tick>.tmp".
bool isOurTempName(std::wstring_view targetName, std::wstring_view candidate);

// The platform's text for an error code, on one line without the final stop.
std::wstring systemMessage(unsigned long code);

}  // namespace settings_io
