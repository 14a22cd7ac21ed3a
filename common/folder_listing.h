// The entries of one folder, read from the directory in large batches: one
// call to the system fills a buffer with hundreds of names, where a find
// handle hands them over one call at a time.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace fav {

struct FolderEntry {
  std::wstring_view name;  // valid only during the call
  DWORD attributes;
};

// Calls onEntry for each entry of folder, "." and ".." left out, in the
// directory's order, until it returns false. False when the folder could
// not be opened for listing; an error part way ends the listing quietly
// with the entries read so far, as a find handle's does.
bool listFolder(const std::wstring& folder, const std::function<bool(const FolderEntry&)>& onEntry);

}  // namespace fav
