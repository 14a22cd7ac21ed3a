#include "text_codec.h"

#include <windows.h>

#include <algorithm>

namespace fav {

std::string toNarrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int len = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
  if (len <= 0) return {};
  std::string out(static_cast<size_t>(len), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), len,
                        nullptr, nullptr);
  return out;
}

std::wstring toWide(std::string_view text) {
  if (text.empty()) return {};
  const int len = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0);
  if (len <= 0) return {};
  std::wstring out(static_cast<size_t>(len), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), len);
  return out;
}

bool fitsCodePage(std::wstring_view text) {
  // Plain ASCII reads the same in every ANSI code page: most names need no
  // round trip through the code page (a Load asks this for every file).
  if (std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; })) return true;
  BOOL usedDefault = FALSE;
  const int len = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                        static_cast<int>(text.size()), nullptr, 0, nullptr,
                                        &usedDefault);
  return len > 0 && !usedDefault && toWide(toNarrow(text)) == text;
}

const CodePage& systemCodePage() {
  struct System final : CodePage {
    std::wstring toWide(std::string_view bytes) const override {
      // One call: a code page never makes more characters than bytes.
      if (bytes.empty()) return {};
      std::wstring out(bytes.size(), L'\0');
      const int len = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                            out.data(), static_cast<int>(out.size()));
      if (len <= 0) return fav::toWide(bytes);
      out.resize(static_cast<size_t>(len));
      return out;
    }
    std::string toNarrow(std::wstring_view text) const override { return fav::toNarrow(text); }
  };
  static const System system;
  return system;
}

std::vector<std::wstring> charactersOutsideCodePage(std::wstring_view text) {
  std::vector<std::wstring> outside;
  for (size_t i = 0; i < text.size();) {
    const bool pair = i + 1 < text.size() && IS_HIGH_SURROGATE(text[i]) &&
                      IS_LOW_SURROGATE(text[i + 1]);
    const std::wstring_view one = text.substr(i, pair ? 2 : 1);
    i += one.size();
    if (fitsCodePage(one)) continue;
    if (std::find(outside.begin(), outside.end(), one) == outside.end()) outside.emplace_back(one);
  }
  return outside;
}

}  // namespace fav
