// A scratch folder per test, removed afterwards.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace testsupport {

// Removes a folder and what it holds, trying each entry once. The standard
// library's remove_all can spin for ever under Wine on a link whose target is
// gone, and a test's cleanup must never hang the run.
inline void removeTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = folder + L"\\" + name;
      ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        removeTree(full);
      else if (!::DeleteFileW(full.c_str()))
        ::RemoveDirectoryW(full.c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryW(folder.c_str());
}

class TempDir {
 public:
  TempDir() {
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    path_ = std::filesystem::path(base) /
            (L"favtest_" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
             std::to_wstring(++counter));
    removeTree(path_.wstring());
    std::filesystem::create_directories(path_);
  }
  ~TempDir() { removeTree(path_.wstring()); }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::wstring str() const { return path_.wstring(); }
  std::filesystem::path operator/(const std::wstring& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline void writeFile(const std::filesystem::path& p, const std::string& bytes) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f << bytes;
}

inline std::string readFile(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// The names in a folder, sorted.
inline std::vector<std::wstring> fileNames(const std::filesystem::path& folder) {
  std::vector<std::wstring> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename().wstring());
  std::sort(names.begin(), names.end());
  return names;
}

// The system clock in FILETIME ticks, as file times are kept.
inline std::uint64_t systemTicksNow() {
  FILETIME t{};
  ::GetSystemTimeAsFileTime(&t);
  return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// Puts a file's last-write time to ticks, as a tool that keeps dates does.
inline bool setWriteTime(const std::filesystem::path& p, std::uint64_t ticks) {
  const HANDLE h = ::CreateFileW(p.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const FILETIME t{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  const bool set = ::SetFileTime(h, nullptr, nullptr, &t);
  ::CloseHandle(h);
  return set;
}

// Holds a file open without write sharing, as another program would, so
// writes to it fail (Wine as root ignores the read-only attribute). With
// share 0 reads fail as well.
class FileLock {
 public:
  explicit FileLock(const std::filesystem::path& p, DWORD share = FILE_SHARE_READ)
      : h_(::CreateFileW(p.c_str(), GENERIC_READ, share, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~FileLock() { release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool held() const { return h_ != INVALID_HANDLE_VALUE; }
  void release() {
    if (h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_;
};

}  // namespace testsupport
