#include "code_page_text.h"

#include <cstdio>

#include "settings_file.h"
#include "text_codec.h"
#include "ui_seam.h"

namespace codepage {
namespace {

constexpr wchar_t kOutside[] = L"characters that the system code page cannot store";

// "ő" (U+0151): the code point says which one when the font shows a box.
std::wstring named(const std::wstring& character) {
  unsigned code = character[0];
  if (character.size() == 2)
    code = 0x10000 + ((character[0] - 0xD800u) << 10) + (character[1] - 0xDC00u);
  wchar_t number[16];
  std::swprintf(number, 16, L"U+%04X", code);
  return L"\"" + character + L"\" (" + number + L")";
}

}  // namespace

std::wstring unstorableFilesMessage(const std::vector<std::wstring>& names) {
  std::wstring text = std::wstring(L"These files were not added because their names hold ") +
                      kOutside + L", so the IDE could not open them:\n";
  for (const std::wstring& name : names) text += L"\n" + name;
  return text;
}

std::wstring outsideCodePageMessage(const std::wstring& what, const std::wstring& text) {
  const std::vector<std::wstring> outside = fav::charactersOutsideCodePage(text);
  if (outside.empty()) return {};
  std::wstring list;
  for (const std::wstring& character : outside) list += (list.empty() ? L"" : L", ") + named(character);
  return L"The " + what + L" holds " + kOutside + L", so the IDE would get \"?\" instead: " +
         list + L".\n\nPlease type the " + what + L" without them.";
}

std::wstring passwordTooLongMessage(size_t bytes, const std::wstring& outcome) {
  if (bytes <= ini::kMaxPasswordBytes) return {};
  return L"The password is " + std::to_wstring(bytes) +
         L" bytes long, and Favorites stores passwords of up to " +
         std::to_wstring(ini::kMaxPasswordBytes) + L" bytes.\n\n" + outcome;
}

bool acceptTyped(HWND owner, const std::wstring& message) {
  if (message.empty()) return true;
  showMessageBox(owner, message.c_str(), L"Favorites", MB_OK | MB_ICONWARNING);
  return false;
}

}  // namespace codepage
