#include "setting_value.h"

#include "ascii_case.h"
#include "settings_number.h"

std::optional<bool> SettingValue::toBool() const {
  if (const bool* b = std::get_if<bool>(&value_)) return *b;
  if (const std::int32_t* i = std::get_if<std::int32_t>(&value_)) return *i != 0;
  const std::wstring& t = std::get<std::wstring>(value_);
  for (const wchar_t* yes : {L"1", L"true", L"yes"})
    if (fav::equalsIgnoringAsciiCase(t, yes)) return true;
  for (const wchar_t* no : {L"0", L"false", L"no", L""})
    if (fav::equalsIgnoringAsciiCase(t, no)) return false;
  return std::nullopt;
}

std::optional<std::int32_t> SettingValue::toInt() const {
  if (const bool* b = std::get_if<bool>(&value_)) return *b ? 1 : 0;
  if (const std::int32_t* i = std::get_if<std::int32_t>(&value_)) return *i;
  return parseSettingsNumber(std::get<std::wstring>(value_));
}

std::wstring SettingValue::toText() const {
  if (const bool* b = std::get_if<bool>(&value_)) return *b ? L"1" : L"0";
  if (const std::int32_t* i = std::get_if<std::int32_t>(&value_)) return std::to_wstring(*i);
  return std::get<std::wstring>(value_);
}
