// File-name texts the plug-in builds: a name in a folder, and the "%path%"
// form of a favorite's file name. No Windows headers.
#pragma once

#include <string>
#include <string_view>

namespace fav {

// name inside folder: one "\" between them unless folder already ends with
// "\" or "/" (a drive root such as "C:\"); an empty folder gives name.
std::wstring joinPath(std::wstring_view folder, std::wstring_view name);

// Stands for the replacement path in a stored file name.
inline constexpr wchar_t kPathMarker[] = L"%path%";
// The replacement path that means no folder is replaced when a file is added.
inline constexpr wchar_t kNoReplacementPath[] = L"c:\\";

// The file as a click opens it: every "%path%", letter case exact, becomes
// the replacement path, whatever that is ("c:\" and "" included).
std::wstring expandPathMarker(std::wstring_view fileName, std::wstring_view replacement);

// The file as it is stored when added: every occurrence of the replacement
// path, ignoring ASCII letter case, becomes "%path%". Exactly "c:\" and an
// empty path replace nothing.
// Taken by value: a name with nothing to replace, most of them, is handed
// back as it came, without a copy when moved in.
std::wstring toPathMarkerForm(std::wstring fileName, std::wstring_view replacement);

// The form in which two entries name the same file: "%path%" expanded as a
// click would expand it, letters folded, so the full path and its "%path%"
// form, in any letter case, are one favorite.
std::wstring sameFileKey(std::wstring_view fileName, std::wstring_view replacement);

}  // namespace fav
