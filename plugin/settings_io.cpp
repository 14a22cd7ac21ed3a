#include "settings_io.h"

#include <windows.h>
#include <aclapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "unique_handles.h"

namespace settings_io {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A temp file younger than this may still be on its way into place in
// another process's save; older ones are left over from a crash.
constexpr std::uint64_t kStaleTempTicks = 60ull * 10'000'000;

std::uint64_t ticksOf(const FILETIME& t) {
  return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

FileVersion versionOf(const BY_HANDLE_FILE_INFORMATION& info) {
  FileVersion v;
  v.exists = true;
  v.volumeSerial = info.dwVolumeSerialNumber;
  v.fileIndex = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  v.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  v.lastWrite = ticksOf(info.ftLastWriteTime);
  return v;
}

// The change time through a handle we hold; 0 where the file system keeps
// none.
std::uint64_t changeTimeOf(HANDLE h) {
  FILE_BASIC_INFO basic{};
  if (!::GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic)) return 0;
  return static_cast<std::uint64_t>(basic.ChangeTime.QuadPart);
}

bool isMissing(DWORD err) { return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND; }

// The "\\?\" form of a path, which is not held to MAX_PATH: a settings file
// near that length must save wherever it reads, and our temp names are longer.
std::wstring extendedPath(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0) return path;
  const DWORD need = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (need == 0) return path;
  std::wstring full(need, L'\0');
  const DWORD len = ::GetFullPathNameW(path.c_str(), need, full.data(), nullptr);
  if (len == 0 || len >= need) return path;
  full.resize(len);
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

// Reads keep a short path as the caller gave it; a long one needs the prefix.
std::wstring openName(const std::wstring& path) {
  return path.size() < MAX_PATH ? path : extendedPath(path);
}

std::wstring fileNameOf(const std::wstring& path) {
  const size_t sep = path.find_last_of(L"\\/");
  return sep == std::wstring::npos ? path : path.substr(sep + 1);
}

bool exists(const std::wstring& name) {
  return ::GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The file a save must replace: a link is followed to its target.
struct Target {
  std::wstring name;  // "\\?\" form
  bool exists = false;
  DWORD attributes = 0;
  // The target's own DACL when the user cut it loose from the folder's; the
  // new text is written under it from the start.
  std::vector<BYTE> protectedSecurity;
};

std::vector<BYTE> protectedSecurityOf(const std::wstring& name) {
  DWORD need = 0;
  ::GetFileSecurityW(name.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &need);
  if (need == 0) return {};
  std::vector<BYTE> sd(need);
  if (!::GetFileSecurityW(name.c_str(), DACL_SECURITY_INFORMATION, sd.data(), need, &need))
    return {};
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  if (!::GetSecurityDescriptorControl(sd.data(), &control, &revision)) return {};
  if (!(control & SE_DACL_PROTECTED)) return {};
  return sd;
}

bool resolveTarget(const std::wstring& path, Target& target, std::wstring& why) {
  const std::wstring given = extendedPath(path);
  // Attributes only: a file another program holds locked still opens this way.
  fav::unique_file h(::CreateFileW(given.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!h) {
    const DWORD err = ::GetLastError();
    if (!isMissing(err)) {
      why = systemMessage(err);
      return false;
    }
    target.name = given;
    return true;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(h.get(), &info)) {
    why = systemMessage(::GetLastError());
    return false;
  }
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    why = L"a folder has that name";
    return false;
  }
  target.exists = true;
  target.attributes = info.dwFileAttributes;
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD len = ::GetFinalPathNameByHandleW(h.get(), buffer.data(),
                                                  static_cast<DWORD>(buffer.size()),
                                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (len == 0) {
      target.name = given;  // the name as given still reaches the file
      break;
    }
    if (len < buffer.size()) {
      target.name.assign(buffer.data(), len);
      break;
    }
    buffer.resize(len + 1);
  }
  target.protectedSecurity = protectedSecurityOf(target.name);
  return true;
}

std::wstring tempName(const std::wstring& target, DWORD attempt) {
  return target + L".~" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(::GetTickCount() + attempt) + L".tmp";
}

// Our temp files that a crash left behind. One another save still writes is
// young, or held open without sharing, and stays.
void removeStaleTemps(const std::wstring& target) {
  const size_t sep = target.find_last_of(L'\\');
  const std::wstring folder = target.substr(0, sep + 1);
  const std::wstring base = fileNameOf(target);
  WIN32_FIND_DATAW found{};
  fav::unique_find search(::FindFirstFileW((target + L".~*.tmp").c_str(), &found));
  if (!search) return;
  FILETIME nowTime{};
  ::GetSystemTimeAsFileTime(&nowTime);
  const std::uint64_t now = ticksOf(nowTime);
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (!isOurTempName(base, found.cFileName)) continue;
    const std::uint64_t written = ticksOf(found.ftLastWriteTime);
    if (written > now || now - written < kStaleTempTicks) continue;
    ::DeleteFileW((folder + found.cFileName).c_str());
  } while (::FindNextFileW(search.get(), &found));
}

// Writes bytes to a new file of our own beside the target.
bool writeTemp(const Target& target, std::string_view bytes, std::wstring& temp,
               std::wstring& why) {
  SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
  if (!target.protectedSecurity.empty())
    security.lpSecurityDescriptor = const_cast<BYTE*>(target.protectedSecurity.data());
  DWORD attributes = target.attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                          FILE_ATTRIBUTE_ARCHIVE |
                                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
  if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  fav::unique_file out;
  for (DWORD attempt = 0; attempt < 100 && !out; ++attempt) {
    temp = tempName(target.name, attempt);
    out.reset(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, &security, CREATE_NEW, attributes,
                            nullptr));
    if (!out && ::GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (!out) {
    why = systemMessage(::GetLastError());
    return false;
  }
  auto discard = [&](DWORD err) {
    out.reset();
    ::DeleteFileW(temp.c_str());
    why = systemMessage(err);
    return false;
  };
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    if (!::WriteFile(out.get(), bytes.data() + done, want, &put, nullptr) || put == 0)
      return discard(::GetLastError());
    done += put;
  }
  if (!::FlushFileBuffers(out.get())) return discard(::GetLastError());
  if (!::CloseHandle(out.release())) return discard(::GetLastError());
  return true;
}

// A name beside the target that nothing has yet, for the old version until
// the save is sure; the real .bak changes only when the save succeeded.
std::wstring freeTempName(const std::wstring& target) {
  for (DWORD attempt = 200;; ++attempt) {
    std::wstring name = tempName(target, attempt);
    if (!exists(name) || attempt > 400) return name;
  }
}

bool replaceExisting(const Target& target, const std::wstring& temp, std::wstring& why) {
  // What the replace needs of the file, asked first: a program that holds it
  // without delete sharing then gets the user the system's plain reason (a
  // failed replace may report something less clear, such as a missing file).
  if (!fav::unique_file(::CreateFileW(target.name.c_str(), DELETE, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr))) {
    why = systemMessage(::GetLastError());
    ::DeleteFileW(temp.c_str());
    return false;
  }
  const std::wstring previous = freeTempName(target.name);
  if (::ReplaceFileW(target.name.c_str(), temp.c_str(), previous.c_str(), 0, nullptr, nullptr)) {
    if (!::MoveFileExW(previous.c_str(), (target.name + L".bak").c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      ::DeleteFileW(previous.c_str());  // the save stands; the old .bak stays
    return true;
  }
  const DWORD err = ::GetLastError();
  why = systemMessage(err);
  // Wherever the replace stopped, the old file goes back to its name: when it
  // already left for the backup name and the new one did not take its place,
  // it is moved back. Only then is anything of ours removed.
  if (!exists(target.name) && exists(previous) &&
      !::MoveFileExW(previous.c_str(), target.name.c_str(), MOVEFILE_WRITE_THROUGH)) {
    why += L"; the previous version is in " + previous;
    ::DeleteFileW(temp.c_str());
    return false;
  }
  if (exists(target.name)) ::DeleteFileW(previous.c_str());
  ::DeleteFileW(temp.c_str());
  return false;
}

}  // namespace

std::uint64_t contentHash(std::string_view bytes) {
  // FNV-1a's steps eight bytes at a time, each mixed down by a shift: a 16 MB
  // file hashes in a few milliseconds, and every step is one-to-one in both
  // the hash so far and the word, so one changed word always changes the
  // result.
  constexpr std::uint64_t kPrime = 1099511628211ull;
  std::uint64_t hash = 14695981039346656037ull ^ bytes.size();
  size_t at = 0;
  for (; at + 8 <= bytes.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + at, 8);
    hash = (hash ^ word) * kPrime;
    hash ^= hash >> 29;
  }
  for (; at < bytes.size(); ++at) hash = (hash ^ static_cast<unsigned char>(bytes[at])) * kPrime;
  return hash;
}

std::wstring systemMessage(unsigned long code) {
  wchar_t* buffer = nullptr;
  const DWORD len = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = len && buffer ? std::wstring(buffer, len) : std::wstring();
  if (buffer) ::LocalFree(buffer);
  for (wchar_t& c : text)
    if (c == L'\r' || c == L'\n') c = L' ';
  while (!text.empty() && (text.back() == L' ' || text.back() == L'.')) text.pop_back();
  if (text.empty()) text = L"error " + std::to_wstring(code);
  return text;
}

bool isOurTempName(std::wstring_view targetName, std::wstring_view candidate) {
  if (candidate.size() <= targetName.size() ||
      ::CompareStringOrdinal(candidate.data(), static_cast<int>(targetName.size()),
                             targetName.data(), static_cast<int>(targetName.size()),
                             TRUE) != CSTR_EQUAL)
    return false;
  std::wstring_view rest = candidate.substr(targetName.size());
  auto digits = [&rest] {
    size_t n = 0;
    while (n < rest.size() && rest[n] >= L'0' && rest[n] <= L'9') ++n;
    rest.remove_prefix(n);
    return n > 0;
  };
  auto literal = [&rest](std::wstring_view text) {
    if (rest.substr(0, text.size()) != text) return false;
    rest.remove_prefix(text.size());
    return true;
  };
  return literal(L".~") && digits() && literal(L"-") && digits() && literal(L".tmp") &&
         rest.empty();
}

FileRead readFile(const std::wstring& path, std::size_t maxBytes, const std::wstring& tooLarge) {
  FileRead result;
  auto failed = [&](const std::wstring& why) {
    result.status = FileRead::Status::Failed;
    result.error = why;
    result.bytes.clear();
    if (!result.version.exists) result.version = queryFileVersion(path);
    return std::move(result);
  };
  fav::unique_file h(::CreateFileW(openName(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!h) {
    const DWORD err = ::GetLastError();
    // A missing folder is not a missing file: the platform's reader gives up
    // on it as on a file it cannot open, and so do we.
    if (err == ERROR_FILE_NOT_FOUND) return result;
    const DWORD attributes = ::GetFileAttributesW(openName(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      return failed(L"a folder has that name");
    return failed(systemMessage(err));
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(h.get(), &info)) return failed(systemMessage(::GetLastError()));
  result.version = versionOf(info);
  result.version.changeTime = changeTimeOf(h.get());
  if (result.version.size > maxBytes) return failed(tooLarge);
  try {
    result.bytes.resize(static_cast<size_t>(result.version.size));
  } catch (const std::exception&) {
    return failed(L"out of memory");
  }
  size_t done = 0;
  while (done < result.bytes.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(result.bytes.size() - done, 1u << 24));
    if (!::ReadFile(h.get(), result.bytes.data() + done, want, &got, nullptr))
      return failed(systemMessage(::GetLastError()));
    if (got == 0) break;  // the file shrank meanwhile
    done += got;
  }
  result.bytes.resize(done);
  result.version.contentHash = contentHash(result.bytes);
  result.status = FileRead::Status::Read;
  return result;
}

bool replaceFile(const std::wstring& path, std::string_view bytes, std::wstring* reason) {
  std::wstring why;
  auto fail = [&] {
    if (reason) *reason = why;
    return false;
  };
  Target target;
  if (!resolveTarget(path, target, why)) return fail();
  // Only beside a file that is there: with none, a leftover may be all there
  // is of the old version.
  if (target.exists) removeStaleTemps(target.name);
  std::wstring temp;
  if (!writeTemp(target, bytes, temp, why)) return fail();
  if (target.exists) return replaceExisting(target, temp, why) || fail();
  // No file yet: the new one takes the name only while nothing else has it.
  if (!::MoveFileExW(temp.c_str(), target.name.c_str(), MOVEFILE_WRITE_THROUGH)) {
    why = systemMessage(::GetLastError());
    ::DeleteFileW(temp.c_str());
    return fail();
  }
  return true;
}

// An attributes-only handle: nothing is read and no sharing is refused, so
// a writer elsewhere is never in our way. When it cannot be had, version
// says whether anything is there at all.
fav::unique_file openAttributesOnly(const std::wstring& path, FileVersion& version) {
  fav::unique_file h(::CreateFileW(openName(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!h) version.exists = !isMissing(::GetLastError());
  return h;
}

}  // namespace settings_io

FileVersion queryFileVersion(const std::wstring& path) {
  FileVersion version;
  const fav::unique_file h = settings_io::openAttributesOnly(path, version);
  if (!h) return version;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(h.get(), &info)) {
    version.exists = true;
    return version;
  }
  return settings_io::versionOf(info);
}

FileVersion quickFileVersion(const std::wstring& path) {
  FileVersion version;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(settings_io::openName(path).c_str(), GetFileExInfoStandard, &data)) {
    version.exists = !settings_io::isMissing(::GetLastError());
    return version;
  }
  version.exists = true;
  version.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  version.lastWrite = settings_io::ticksOf(data.ftLastWriteTime);
  return version;
}

FileVersion fileVersionByHandle(const std::wstring& path) {
  FileVersion version;
  const fav::unique_file h = settings_io::openAttributesOnly(path, version);
  if (!h) return version;
  version.exists = true;
  // Not GetFileInformationByHandle: it asks the volume too, which costs more
  // than everything else here on some systems.
  FILE_BASIC_INFO basic{};
  FILE_STANDARD_INFO standard{};
  IO_STATUS_BLOCK status{};
  FILE_INTERNAL_INFORMATION internal{};
  if (!::GetFileInformationByHandleEx(h.get(), FileBasicInfo, &basic, sizeof basic) ||
      !::GetFileInformationByHandleEx(h.get(), FileStandardInfo, &standard, sizeof standard) ||
      ::NtQueryInformationFile(h.get(), &status, &internal, sizeof internal,
                               FileInternalInformation) < 0)
    return version;
  version.size = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
  version.lastWrite = static_cast<std::uint64_t>(basic.LastWriteTime.QuadPart);
  version.changeTime = static_cast<std::uint64_t>(basic.ChangeTime.QuadPart);
  version.fileIndex = static_cast<std::uint64_t>(internal.IndexNumber.QuadPart);
  return version;
}
