// Texts the host could not take. The host and its file work in the system
// code page: a character outside it would reach them as "?", so such text is
// refused where it is typed, with the same words as file names that were
// left out for that reason. Passwords also have a length limit.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace codepage {

// The message listing file names that were left out (Add, Load, drops).
std::wstring unstorableFilesMessage(const std::vector<std::wstring>& names);

// The message naming the characters of text that the code page cannot hold,
// for the field called what ("user name"); empty when the text fits.
std::wstring outsideCodePageMessage(const std::wstring& what, const std::wstring& text);

// The message for a password of bytes bytes in the code page, ending with
// outcome (what happens now); empty when it is within the limit. A longer
// password is never stored cut.
std::wstring passwordTooLongMessage(size_t bytes, const std::wstring& outcome);

// Shows a refusal (caption "Favorites") over owner; true when message is
// empty and the text may be used.
bool acceptTyped(HWND owner, const std::wstring& message);

}  // namespace codepage
