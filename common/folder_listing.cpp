#include "folder_listing.h"

#include <cstddef>
#include <vector>

#include "unique_handles.h"

namespace fav {

bool listFolder(const std::wstring& folder, const std::function<bool(const FolderEntry&)>& onEntry) {
  if (folder.empty()) return false;
  // Opened for listing only: others may read, write, rename and delete meanwhile.
  unique_file directory(::CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!directory) return false;
  // 64 KB: the most a network share hands over per request. The entries
  // inside are 8-byte aligned, and so is the buffer.
  std::vector<LONGLONG> buffer(64 * 1024 / sizeof(LONGLONG));
  const DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(LONGLONG));
  while (::GetFileInformationByHandleEx(directory.get(), FileFullDirectoryInfo, buffer.data(),
                                        bytes)) {
    const auto* at = reinterpret_cast<const std::byte*>(buffer.data());
    for (;;) {
      const auto* entry = reinterpret_cast<const FILE_FULL_DIR_INFO*>(at);
      const std::wstring_view name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
      if (name != L"." && name != L".." && !onEntry(FolderEntry{name, entry->FileAttributes}))
        return true;
      if (entry->NextEntryOffset == 0) break;
      at += entry->NextEntryOffset;
    }
  }
  return true;
}

}  // namespace fav
