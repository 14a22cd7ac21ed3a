// Texts handed to the host. The host copies a menu text when it builds the
// item, so a buffer must outlive the call that returned it but not the day:
// the store keeps the newest kKeptTexts distinct texts (the texts of five
// whole refreshes in which every caption changed), fewer only while they
// pass kKeptBytes and never fewer than kMinKeptTexts (this refresh and the
// one before it). An equal text gets its buffer back. Everything is released
// when the library unloads.
#pragma once

#include <cstddef>
#include <string>

namespace plugin {

inline constexpr std::size_t kKeptTexts = 512;
inline constexpr std::size_t kMinKeptTexts = 2 * 99;
inline constexpr std::size_t kKeptBytes = 4u << 20;

// A stable zero-terminated narrow copy of text.
const char* hostText(const std::string& text);
// The same for a UTF-16 text, converted to the system code page.
const char* hostText(const std::wstring& text);

void releaseHostTexts();

// What the store holds now and the most it has held since it was last
// released, in texts and in bytes (terminators included).
struct HostTextUse {
  std::size_t texts = 0, bytes = 0, peakTexts = 0, peakBytes = 0;
};
HostTextUse hostTextUse();

}  // namespace plugin
