// Which version of a file a snapshot was read from: the file's identity,
// size and last-write time as the file system reports them, and a hash of
// the bytes read. Two versions that differ in any field are different files
// as far as the plug-in is concerned. No Windows headers here.
#pragma once

#include <cstdint>
#include <string>

struct FileVersion {
  bool exists = false;            // false: no file at that path when it was read
  std::uint32_t volumeSerial = 0;
  std::uint64_t fileIndex = 0;    // with the volume serial, the file's identity
  std::uint64_t size = 0;
  std::uint64_t lastWrite = 0;    // FILETIME ticks
  // FILETIME ticks of the last change of the file's data or times: a write
  // whose last-write time was put back afterwards still moves it. 0 where the
  // file system keeps none.
  std::uint64_t changeTime = 0;
  std::uint64_t contentHash = 0;  // of the bytes read; 0 when only queried

  bool operator==(const FileVersion&) const = default;

  // Everything but the hash agrees: what a query can tell about a read.
  bool sameStamp(const FileVersion& other) const {
    return exists == other.exists && volumeSerial == other.volumeSerial &&
           fileIndex == other.fileIndex && size == other.size && lastWrite == other.lastWrite;
  }
  // What a query without opening the file can compare (quickFileVersion).
  bool sameSizeAndTime(const FileVersion& other) const {
    return exists == other.exists && size == other.size && lastWrite == other.lastWrite;
  }
  // The same file, unchanged since: the identity within its volume, size and
  // both times (fileVersionByHandle).
  bool sameFileUnchanged(const FileVersion& other) const {
    return sameSizeAndTime(other) && fileIndex == other.fileIndex &&
           changeTime == other.changeTime;
  }
};

// The version of the file at path as the file system reports it now, from
// its attributes alone: the content is not read (contentHash stays 0), and a
// file another program holds locked still answers. A file that is there but
// cannot be asked gives exists with every other field 0.
FileVersion queryFileVersion(const std::wstring& path);

// Size and last-write time alone, asked by name: no handle is opened and
// nothing is read, so it is cheap enough for every call of the host.
FileVersion quickFileVersion(const std::wstring& path);

// The file's index, size, last-write and change times through an
// attributes-only handle (no read, no conflict with any lock); the volume is
// not asked, the path fixes it. Catches what quickFileVersion cannot: another
// file renamed into place, or a write whose time was put back.
FileVersion fileVersionByHandle(const std::wstring& path);
