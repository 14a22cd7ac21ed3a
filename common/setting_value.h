// The value a settings control holds: a boolean, a signed 32-bit integer or a
// text, converted on demand to the type a control needs. No Windows headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

class SettingValue {
 public:
  SettingValue() : value_(std::wstring()) {}
  SettingValue(bool value) : value_(value) {}
  SettingValue(std::int32_t value) : value_(value) {}
  SettingValue(std::wstring value) : value_(std::move(value)) {}
  // Without this a literal would pick the bool constructor.
  SettingValue(const wchar_t* value) : value_(std::wstring(value ? value : L"")) {}

  bool isBool() const { return std::holds_alternative<bool>(value_); }
  bool isInt() const { return std::holds_alternative<std::int32_t>(value_); }
  bool isText() const { return std::holds_alternative<std::wstring>(value_); }

  // Empty when the value has no such reading:
  //  - as boolean: an integer is true when non-zero; a text "1", "true" or
  //    "yes" is true, "0", "false", "no" or "" false (ASCII case ignored),
  //    anything else has no boolean reading;
  //  - as integer: true is 1, false 0; a text is read as the settings file
  //    reads its numbers (parseSettingsNumber, settings_number.h).
  std::optional<bool> toBool() const;
  std::optional<std::int32_t> toInt() const;
  // Always possible: a boolean reads "1" or "0", as in the settings file.
  std::wstring toText() const;

  bool operator==(const SettingValue&) const = default;

 private:
  std::variant<bool, std::int32_t, std::wstring> value_;
};
