#include "un_plugincommon.h"

#include <shlobj.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "text_codec.h"
#include "ui_seam.h"
#include "unique_handles.h"

namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring withTrailingSeparator(std::wstring path) {
  if (path.empty() || !isSeparator(path.back())) path += L'\\';
  return path;
}

// The folder part of a path, without its trailing separator.
std::wstring folderOf(const std::wstring& path) {
  const size_t sep = path.find_last_of(L"\\/");
  return sep == std::wstring::npos ? std::wstring() : path.substr(0, sep);
}

bool exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The last "\"-component of the host's key path, "\" included, "/" removed.
std::wstring hostFolderTail(const std::wstring& keyPath) {
  const size_t sep = keyPath.rfind(L'\\');
  std::wstring tail = sep == std::wstring::npos ? keyPath : keyPath.substr(sep);
  std::erase(tail, L'/');
  return tail;
}

std::wstring environmentVariable(const wchar_t* name) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD len =
        ::GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (len == 0) return {};
    if (len < buffer.size()) return std::wstring(buffer.data(), len);
    buffer.resize(len + 1);
  }
}

void anchorForModuleLookup() {}

}  // namespace

void resolveIniLocation(const std::wstring& modulePath, const std::wstring& appData,
                        const std::string& hostRootFolder, const std::string& pluginName,
                        const std::function<std::string()>& hostKeyPath,
                        std::string& pluginFolder, std::string& iniFileName) {
  try {
    const std::wstring moduleFolder = folderOf(modulePath);
    pluginFolder = moduleFolder.empty() ? hostRootFolder + "PlugIns" : fav::toNarrow(moduleFolder);
    if (isFolderWritable(moduleFolder.empty() ? fav::toWide(pluginFolder) : moduleFolder)) {
      iniFileName = pluginFolder + "\\" + pluginName + ".ini";
      return;
    }

    if (appData.empty() || !hostKeyPath) return;
    const std::wstring tail = hostFolderTail(fav::toWide(hostKeyPath()));
    const std::wstring fileName = fav::toWide(pluginName) + L".ini";
    const std::wstring oldName = withTrailingSeparator(appData) + fileName;
    const std::wstring newName = withTrailingSeparator(appData + tail) + fileName;
    iniFileName = fav::toNarrow(newName);
    moveOldIniFile(fav::toNarrow(oldName), iniFileName);
  } catch (...) {
    // Outputs keep what they had; an empty settings name makes the caller retry.
  }
}

void getIniFileLocation(const std::string& hostRootFolder, const std::string& pluginName,
                        std::string& pluginFolder, std::string& iniFileName,
                        const std::function<std::string()>& hostKeyPath) {
  try {
    // Without our own module the process path would be the host's: use the
    // host's folder instead.
    const HMODULE module = thisModule();
    resolveIniLocation(module ? modulePath(module) : std::wstring(),
                       environmentVariable(L"APPDATA"), hostRootFolder,
                       pluginName, hostKeyPath, pluginFolder, iniFileName);
  } catch (...) {
  }
}

bool isFolderWritable(const std::wstring& folder) {
  if (folder.empty()) return false;
  const std::wstring testFile = withTrailingSeparator(folder) + L"chk.tmp";
  const bool writable =
      fav::unique_file(::CreateFileW(testFile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     CREATE_NEW,
                                     FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                     nullptr))
          ? true
          : false;
  // Also removes a stale test file that made the creation fail.
  ::DeleteFileW(testFile.c_str());
  return writable;
}

void moveOldIniFile(const std::string& oldIniFileName, const std::string& newIniFileName) {
  try {
    const std::wstring oldName = fav::toWide(oldIniFileName);
    const std::wstring newName = fav::toWide(newIniFileName);
    if (oldName.empty() || newName.empty()) return;
    if (!isFile(oldName) || exists(newName) || !isFolder(folderOf(newName))) return;
    if (::MoveFileW(oldName.c_str(), newName.c_str())) return;
    // Another volume: copy, and remove the source only once the copy is there.
    if (::CopyFileW(oldName.c_str(), newName.c_str(), TRUE)) ::DeleteFileW(oldName.c_str());
  } catch (...) {
  }
}

std::wstring readFileVersion(const std::wstring& fileName) {
  try {
    if (fileName.empty()) return {};
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(fileName.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<BYTE> data(size);
    if (!::GetFileVersionInfoW(fileName.c_str(), 0, size, data.data())) return {};
    void* value = nullptr;
    UINT len = 0;
    if (!::VerQueryValueW(data.data(), L"\\StringFileInfo\\040904E4\\FileVersion", &value, &len) ||
        value == nullptr)
      return {};
    const auto* text = static_cast<const wchar_t*>(value);
    return std::wstring(text, ::wcsnlen(text, len));
  } catch (...) {
    return {};
  }
}

std::wstring getPluginVersion() {
  try {
    const HMODULE module = thisModule();
    return module ? readFileVersion(modulePath(module)) : std::wstring();
  } catch (...) {
    return {};
  }
}

std::wstring getPluginName(const std::wstring& fileName) {
  try {
    const size_t sep = fileName.find_last_of(L"\\/:");
    const size_t nameStart = sep == std::wstring::npos ? 0 : sep + 1;
    const size_t dot = fileName.rfind(L'.');
    const std::wstring stem =
        (dot == std::wstring::npos || dot < nameStart) ? fileName : fileName.substr(0, dot);
    const std::wstring name = (stem + L".dll").substr(nameStart);

    static constexpr std::wstring_view kDll = L".dll";
    std::wstring result;
    size_t from = 0;
    for (size_t at; (at = name.find(kDll, from)) != std::wstring::npos; from = at + kDll.size())
      result.append(name, from, at - from);
    result.append(name, from, std::wstring::npos);
    return result;
  } catch (...) {
    return {};
  }
}

KeyboardState readKeyboardState() {
  KeyboardState state{};
  if (!::GetKeyboardState(state.data())) state.fill(0);
  return state;
}

bool isShiftDown(KeyboardState state) { return (state[VK_SHIFT] & 0x80) != 0; }
bool isCtrlDown(KeyboardState state) { return (state[VK_CONTROL] & 0x80) != 0; }
bool isAltDown(KeyboardState state) { return (state[VK_MENU] & 0x80) != 0; }

char* allocNarrowText(const std::wstring& text) {
  const std::string narrow = fav::toNarrow(text);
  char* buffer = new char[narrow.size() + 1];
  std::memcpy(buffer, narrow.data(), narrow.size());
  buffer[narrow.size()] = '\0';
  return buffer;
}

namespace {

// Opens the shell browser at the folder passed as its data.
int CALLBACK openBrowserAt(HWND browser, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED && data) ::SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

}  // namespace

std::wstring browseForFolder(const std::wstring& title, unsigned flags, HWND owner,
                             const std::wstring& startFolder) {
  try {
    constexpr int kPathChars = MAX_PATH + 1;
    if (FavoritesUiSeam* seam = uiSeam(); seam && seam->browseForFolder) {
      wchar_t chosen[kPathChars] = {};
      if (!seam->browseForFolder(owner, title.c_str(), flags, chosen, kPathChars)) return {};
      chosen[kPathChars - 1] = L'\0';
      return chosen;
    }

    // The shell browser needs COM on this thread; the host has usually set it up.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    wchar_t displayName[kPathChars] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = flags;
    if (!startFolder.empty()) {
      info.lpfn = &openBrowserAt;
      info.lParam = reinterpret_cast<LPARAM>(startFolder.c_str());
    }
    std::wstring result;
    if (fav::unique_cotaskmem<ITEMIDLIST> item{::SHBrowseForFolderW(&info)}) {
      wchar_t path[kPathChars] = {};
      if (::SHGetPathFromIDListW(item.get(), path)) result = path;
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return result;
  } catch (...) {
    return {};
  }
}

bool between(int value, int low, int high) { return low <= value && value <= high; }

HMODULE thisModule() {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&anchorForModuleLookup), &module))
    return nullptr;
  return module;
}

std::wstring modulePath(HMODULE module) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD len =
        ::GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (len == 0) return {};
    if (len < buffer.size()) return std::wstring(buffer.data(), len);
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}
