// Which version of a file a snapshot was read from: the file's identity,
// size and last-write time as the file system reports them, and a hash of
// the bytes read. Two versions that differ in any field are different files
// as far as the plug-in is concerned. No Windows headers here.
#pragma once

#include <cstdint>

struct FileVersion {
  bool exists = false;            // false: no file at that path when it was read
  std::uint32_t volumeSerial = 0;
  std::uint64_t fileIndex = 0;    // with the volume serial, the file's identity
  std::uint64_t size = 0;
  std::uint64_t lastWrite = 0;    // FILETIME ticks
  std::uint64_t contentHash = 0;  // of the bytes read; 0 when only queried

  bool operator==(const FileVersion&) const = default;
};
