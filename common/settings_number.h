// How a number is read from a settings or setup file. No Windows headers.
#pragma once

#include <optional>
#include <string_view>

// Optional "+" or "-", then decimal digits that fit a signed 32-bit integer,
// or "0x", "0X" or "$" and hexadecimal digits that fit 32 bits unsigned,
// taken as their 32-bit pattern (a "-" negates modulo 2^32). Anything else,
// blanks and "" included, is no number.
std::optional<int> parseSettingsNumber(std::wstring_view text);
