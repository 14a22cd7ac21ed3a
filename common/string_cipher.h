// The reversible cipher for stored passwords: each 4-bit half of a character
// goes through a rotating key table, with random filler interleaved. Pure
// logic, no Windows headers.
#pragma once

#include <string>

// Alphabet of every cipher text.
inline constexpr wchar_t kCipherAlphabet[] =
    L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+/";
// The key, bounds and failure marker the plug-in uses for its passwords.
inline constexpr wchar_t kPasswordKey[] = L"Pq4Vt8NcRx2SfJ6a";
inline constexpr int kPasswordMinFill = 4;
inline constexpr int kPasswordMaxFill = 12;
inline constexpr wchar_t kDecipherFailure = L'\x0001';

// The empty text when the key is invalid, or when a character's code has no
// high digit (16 times the key length or more): such a text cannot round-trip.
// Bounds are swapped when inverted, then the minimum raised to 0 and the
// maximum lowered to 100; bounds still inverted become both the maximum, held
// to 0..100. A run longer than the filler holds each filler character once.
std::wstring encipherText(const std::wstring& plain, const std::wstring& key, int minFill,
                          int maxFill);
// The one-character text kDecipherFailure when the key is invalid or the digits
// are odd in number.
std::wstring decipherText(const std::wstring& cipher, const std::wstring& key);
// count characters of source, none picked twice; at most the whole source.
std::wstring pickRandomChars(const std::wstring& source, int count);

// Passwords are enciphered in the form the host hands them: its code-page
// bytes, each taken as one character code 0..255. These two convert between
// that form and bytes; a code above 255 (never produced by a 16-character key)
// becomes '?'.
std::wstring bytesAsCodes(const std::string& bytes);
std::string codesAsBytes(const std::wstring& codes);

// Test seam: seeds the generator (the process seeds it once from a clock).
void seedCipherRandom(unsigned seed);
