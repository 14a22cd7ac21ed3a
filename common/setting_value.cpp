#include "setting_value.h"

namespace {

bool equalsAsciiNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    wchar_t x = a[i], y = b[i];
    if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
    if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
    if (x != y) return false;
  }
  return true;
}

int hexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> parseSettingNumber(std::wstring_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == L'+' || text[0] == L'-')) {
    negative = text[0] == L'-';
    text.remove_prefix(1);
  }
  bool hex = false;
  if (text.size() >= 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
    hex = true;
    text.remove_prefix(2);
  } else if (!text.empty() && text[0] == L'$') {
    hex = true;
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;

  std::uint64_t value = 0;
  const std::uint64_t base = hex ? 16 : 10;
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  for (wchar_t c : text) {
    const int digit = hex ? hexDigit(c) : (c >= L'0' && c <= L'9' ? c - L'0' : -1);
    if (digit < 0) return std::nullopt;
    value = value * base + static_cast<std::uint64_t>(digit);
    if (value > limit) return std::nullopt;
  }
  std::uint32_t pattern = static_cast<std::uint32_t>(value);
  if (negative) pattern = 0u - pattern;
  return static_cast<std::int32_t>(pattern);
}

std::optional<bool> SettingValue::toBool() const {
  if (const bool* b = std::get_if<bool>(&value_)) return *b;
  if (const std::int32_t* i = std::get_if<std::int32_t>(&value_)) return *i != 0;
  const std::wstring& t = std::get<std::wstring>(value_);
  for (const wchar_t* yes : {L"1", L"true", L"yes"})
    if (equalsAsciiNoCase(t, yes)) return true;
  for (const wchar_t* no : {L"0", L"false", L"no", L""})
    if (equalsAsciiNoCase(t, no)) return false;
  return std::nullopt;
}

std::optional<std::int32_t> SettingValue::toInt() const {
  if (const bool* b = std::get_if<bool>(&value_)) return *b ? 1 : 0;
  if (const std::int32_t* i = std::get_if<std::int32_t>(&value_)) return *i;
  return parseSettingNumber(std::get<std::wstring>(value_));
}

std::wstring SettingValue::toText() const {
  if (const bool* b = std::get_if<bool>(&value_)) return *b ? L"1" : L"0";
  if (const std::int32_t* i = std::get_if<std::int32_t>(&value_)) return std::to_wstring(*i);
  return std::get<std::wstring>(value_);
}
