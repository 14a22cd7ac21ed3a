#include "un_packageinstall.h"

#include <memory>

#include "un_tolvanesetup.h"

namespace {

// Beside each target while the install runs: the new file before its swap,
// and the old one until every swap has succeeded.
constexpr wchar_t kNewSuffix[] = L".tolvane-new";
constexpr wchar_t kOldSuffix[] = L".tolvane-old";

struct LocalFreeDeleter {
  void operator()(void* p) const noexcept { ::LocalFree(p); }
};

// The system's own text, on one line; empty when it has none.
std::wstring rawSystemText(DWORD code) {
  wchar_t* raw = nullptr;
  ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&raw), 0, nullptr);
  const std::unique_ptr<wchar_t, LocalFreeDeleter> buffer(raw);
  std::wstring text = buffer ? buffer.get() : L"";
  for (wchar_t& c : text)
    if (c == L'\r' || c == L'\n') c = L' ';
  return trimVersionText(text);
}

bool exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring withoutTrailingDelimiter(std::wstring path) {
  // "C:\" keeps its delimiter: without it, it would mean the current folder of C:.
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

// A name beside target that nothing uses yet; empty when all are taken.
std::wstring freeNameBeside(const std::wstring& target, const wchar_t* suffix) {
  for (int n = 0; n < 100; ++n) {
    std::wstring name = target + suffix + (n ? std::to_wstring(n) : std::wstring());
    if (!exists(name)) return name;
  }
  return {};
}

// ReplaceFileW answers a locked target with its own codes ("unable to remove
// the replaced file"); the user is better served by why it is locked.
DWORD explainReplaceError(const std::wstring& target, DWORD error) {
  if (error != ERROR_UNABLE_TO_REMOVE_REPLACED && error != ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
      error != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
    return error;
  const HANDLE probe =
      ::CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return ::GetLastError();
  ::CloseHandle(probe);
  return error;
}

}  // namespace

std::wstring systemErrorText(DWORD code) {
  std::wstring text = rawSystemText(code);
  return text.empty() ? L"System error " + std::to_wstring(code) : text;
}

std::wstring describeSystemError(DWORD code) {
  const std::wstring text = rawSystemText(code);
  std::wstring description = L"System error " + std::to_wstring(code);
  if (!text.empty()) description += L": " + text;
  return description;
}

TPackageInstall::TPackageInstall(std::wstring sourceFolder, std::wstring destinationFolder,
                                 FileAttributesProbe attributesOf)
    : fSourceFolder(std::move(sourceFolder)),
      fDestinationFolder(std::move(destinationFolder)),
      fAttributesOf(std::move(attributesOf)) {}

TPackageInstall::~TPackageInstall() {
  try {
    abandon();
  } catch (...) {
  }
}

DWORD TPackageInstall::attributes(const std::wstring& path) const {
  return fAttributesOf ? fAttributesOf(path) : ::GetFileAttributesW(path.c_str());
}

bool TPackageInstall::isLink(const std::wstring& path) const {
  const DWORD found = attributes(path);
  return found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

std::wstring TPackageInstall::firstLinkOnTheWay(const std::wstring& relativeTarget) const {
  std::wstring path = withoutTrailingDelimiter(fDestinationFolder);
  if (isLink(path)) return path;
  if (path.back() != L'\\') path += L'\\';
  size_t start = 0;
  while (start < relativeTarget.size()) {
    size_t end = relativeTarget.find_first_of(L"\\/", start);
    if (end == std::wstring::npos) end = relativeTarget.size();
    if (end > start) {
      path.append(relativeTarget, start, end - start);
      if (isLink(path)) return path;
      path += L'\\';
    }
    start = end + 1;
  }
  return {};
}

bool TPackageInstall::makeSubfolder(const std::wstring& subfolder) {
  if (!isInstallFolderPath(fDestinationFolder) || !isPackageRelativePath(subfolder) ||
      !firstLinkOnTheWay(subfolder).empty())
    return false;
  const std::wstring folder = withoutTrailingDelimiter(fDestinationFolder + subfolder);
  if (!::CreateDirectoryW(folder.c_str(), nullptr)) return false;
  fCreatedFolders.push_back(folder);
  return true;
}

bool TPackageInstall::stage(const std::wstring& subfolder, const std::wstring& file,
                            InstallFailure& failure) {
  failure = InstallFailure{file, ERROR_SUCCESS, {}};
  auto refuse = [&](DWORD error, std::wstring reason) {
    failure.error = error;
    failure.reason = std::move(reason);
    return false;
  };
  if (!isInstallFolderPath(fDestinationFolder))
    return refuse(ERROR_BAD_PATHNAME, L"the install folder is not a full path");
  for (const std::wstring* entry : {&subfolder, &file}) {
    if (entry == &subfolder && subfolder.empty()) continue;  // the install folder itself
    switch (packagePathProblem(*entry)) {
      case PackagePathProblem::None:
        break;
      case PackagePathProblem::Device:
        return refuse(ERROR_BAD_PATHNAME, L"the setup file names a device, not a file");
      default:
        return refuse(ERROR_BAD_PATHNAME,
                      L"the setup file names a place outside the package's folder");
    }
  }

  const std::wstring relative = subfolder.empty() ? file : withTrailingDelimiter(subfolder) + file;
  if (const std::wstring link = firstLinkOnTheWay(relative); !link.empty())
    return refuse(ERROR_REPARSE_POINT_ENCOUNTERED,
                  link + L" is a junction or symbolic link, and setup writes nothing through one");

  const std::wstring target = fDestinationFolder + relative;
  const std::wstring temp = freeNameBeside(target, kNewSuffix);
  if (temp.empty()) return refuse(ERROR_FILE_EXISTS, systemErrorText(ERROR_FILE_EXISTS));
  // Never over an existing file: a name that turns up meanwhile is not ours.
  if (!::CopyFileW((fSourceFolder + file).c_str(), temp.c_str(), TRUE)) {
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS) ::DeleteFileW(temp.c_str());
    return refuse(error, systemErrorText(error));
  }
  fStaged.push_back(Staged{file, target, temp});
  return true;
}

bool TPackageInstall::restore(const Swapped& swapped) {
  if (swapped.backup.empty())
    return ::DeleteFileW(swapped.target.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
  return ::MoveFileExW(swapped.backup.c_str(), swapped.target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

TPackageInstall::CommitResult TPackageInstall::commit() {
  CommitResult result;
  std::vector<Swapped> swapped;
  for (size_t i = 0; i < fStaged.size(); ++i) {
    const Staged& staged = fStaged[i];
    Swapped done{staged.file, staged.target, {}};
    DWORD error = ERROR_SUCCESS;
    if (exists(staged.target)) {
      // ReplaceFileW keeps what the old file is (its security, attributes
      // and streams), and leaves it under the backup name for a way back.
      done.backup = freeNameBeside(staged.target, kOldSuffix);
      if (done.backup.empty()) {
        error = ERROR_FILE_EXISTS;
      } else if (!::ReplaceFileW(staged.target.c_str(), staged.temp.c_str(), done.backup.c_str(),
                                 REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        error = ::GetLastError();
        // Some failures leave the old file under the backup name only.
        if (!exists(staged.target) && exists(done.backup))
          ::MoveFileExW(done.backup.c_str(), staged.target.c_str(), MOVEFILE_WRITE_THROUGH);
        error = explainReplaceError(staged.target, error);
      }
    } else if (!::MoveFileExW(staged.temp.c_str(), staged.target.c_str(), MOVEFILE_WRITE_THROUGH)) {
      error = ::GetLastError();
    }

    if (error != ERROR_SUCCESS) {
      result.succeeded = false;
      result.failure = InstallFailure{staged.file, error, systemErrorText(error)};
      // Newest first, so a target listed twice ends as it began.
      for (auto it = swapped.rbegin(); it != swapped.rend(); ++it)
        (restore(*it) ? result.restored : result.notRestored).push_back(it->file);
      fStaged.erase(fStaged.begin(), fStaged.begin() + static_cast<ptrdiff_t>(i));
      abandon();
      return result;
    }
    swapped.push_back(done);
  }

  // Everything is in place; the old files have served their purpose. One the
  // system will not let go of (a library still loaded) goes at the next start.
  for (const Swapped& done : swapped)
    if (!done.backup.empty() && !::DeleteFileW(done.backup.c_str()))
      ::MoveFileExW(done.backup.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  fStaged.clear();
  fCreatedFolders.clear();
  return result;
}

void TPackageInstall::abandon() {
  for (const Staged& staged : fStaged) ::DeleteFileW(staged.temp.c_str());
  fStaged.clear();
  // Deepest first; a folder that is not empty stays.
  for (auto it = fCreatedFolders.rbegin(); it != fCreatedFolders.rend(); ++it)
    ::RemoveDirectoryW(it->c_str());
  fCreatedFolders.clear();
}
