#include "string_cipher.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <string_view>

namespace {

constexpr size_t kMinKeyLength = 16;
constexpr size_t kHalfRange = 16;  // values of one 4-bit digit
const std::wstring_view kAlphabet(kCipherAlphabet);

std::mt19937& generator() {
  static std::mt19937 gen(static_cast<unsigned>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  return gen;
}

// Uniform in 0..n-1; 0 when there is no such range.
int randomBelow(int n) {
  if (n <= 0) return 0;
  return std::uniform_int_distribution<int>(0, n - 1)(generator());
}

bool isValidKey(const std::wstring& key) {
  if (key.size() < kMinKeyLength) return false;
  for (size_t i = 0; i < key.size(); ++i) {
    if (key.find(key[i], i + 1) != std::wstring::npos) return false;
    if (kAlphabet.find(key[i]) == std::wstring_view::npos) return false;
  }
  return true;
}

// The last character moves to the front.
void rotateRight(std::wstring& table) {
  if (table.empty()) return;
  const wchar_t last = table.back();
  table.pop_back();
  table.insert(table.begin(), last);
}

std::wstring fillerFor(const std::wstring& key) {
  std::wstring filler;
  for (wchar_t c : kAlphabet)
    if (key.find(c) == std::wstring::npos) filler += c;
  return filler;
}

}  // namespace

std::wstring pickRandomChars(const std::wstring& source, int count) {
  std::wstring rest = source;
  std::wstring picked;
  for (int i = 0; i < count && !rest.empty(); ++i) {
    const size_t at = static_cast<size_t>(randomBelow(static_cast<int>(rest.size())));
    picked += rest[at];
    rest.erase(at, 1);
  }
  return picked;
}

std::wstring encipherText(const std::wstring& plain, const std::wstring& key, int minFill,
                          int maxFill) {
  if (minFill > maxFill) std::swap(minFill, maxFill);
  if (minFill < 0) minFill = 0;
  if (maxFill > 100) maxFill = 100;
  // Still inverted (a minimum above 100, a maximum below 0): one fixed length
  // inside 0..100, so every run has a length that can be drawn.
  if (minFill > maxFill) minFill = maxFill = std::clamp(maxFill, 0, 100);

  if (!isValidKey(key)) return {};
  const size_t limit = kHalfRange * key.size();
  for (wchar_t c : plain)
    if (static_cast<size_t>(c) >= limit) return {};

  const std::wstring filler = fillerFor(key);
  std::wstring table = key;
  std::wstring digits;
  digits.reserve(plain.size() * 2);
  for (wchar_t c : plain) {
    const size_t k = static_cast<size_t>(c);
    digits += table[k % kHalfRange];
    rotateRight(table);
    digits += table[k / kHalfRange];
    rotateRight(table);
  }

  const int spread = maxFill - minFill;
  std::wstring result = pickRandomChars(filler, randomBelow(spread) + minFill + 1);
  for (wchar_t digit : digits) {
    result += digit;
    result += pickRandomChars(filler, randomBelow(spread) + minFill);
  }
  return result;
}

std::wstring decipherText(const std::wstring& cipher, const std::wstring& key) {
  const std::wstring failure(1, kDecipherFailure);
  if (!isValidKey(key)) return failure;

  std::wstring kept;
  for (wchar_t c : cipher)
    if (key.find(c) != std::wstring::npos) kept += c;
  if (kept.size() % 2 != 0) return failure;

  std::wstring table = key;
  std::wstring plain;
  plain.reserve(kept.size() / 2);
  for (size_t i = 0; i < kept.size(); i += 2) {
    const size_t low = table.find(kept[i]);
    rotateRight(table);
    const size_t high = table.find(kept[i + 1]);
    rotateRight(table);
    plain += static_cast<wchar_t>(low + kHalfRange * high);
  }
  return plain;
}

std::wstring bytesAsCodes(const std::string& bytes) {
  std::wstring codes;
  codes.reserve(bytes.size());
  for (char b : bytes) codes += static_cast<wchar_t>(static_cast<unsigned char>(b));
  return codes;
}

std::string codesAsBytes(const std::wstring& codes) {
  std::string bytes;
  bytes.reserve(codes.size());
  for (wchar_t c : codes) bytes += c <= 0xFF ? static_cast<char>(static_cast<unsigned char>(c)) : '?';
  return bytes;
}

void seedCipherRandom(unsigned seed) { generator().seed(seed); }
