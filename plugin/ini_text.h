// The settings file's text as one in-memory model: its encoding, its
// sections and lines, the lookups and the writes. Reads answer as the
// platform's private-profile reader would answer for the text, except that a
// value always comes back whole; writes change the model the way
// WritePrivateProfileStringW changes a file, and every line they do not
// change goes back byte for byte. No Windows headers and no file access:
// IniFile reads and replaces the file around it. Reads take sections apart
// and index them on first use, so one model serves one thread at a time.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "code_page.h"
#include "settings_number.h"

class IniText {
 public:
  // A settings file is a few kilobytes; a larger file than this is not one
  // of ours, and reading it on every call would stall the host.
  static constexpr size_t kMaxFileBytes = 16u << 20;
  // "the file is larger than 16 MB", for the message that names the file.
  static std::wstring tooLargeReason();

  IniText();
  ~IniText();
  IniText(IniText&&) noexcept;
  IniText& operator=(IniText&&) noexcept;

  // The file's bytes: UTF-8 or UTF-16 (either order) with their byte-order
  // mark, anything else in the code page, which must outlive the model.
  // UTF-32 and files holding NUL characters are read as far as they go but
  // refused for writing (see writeRefusal).
  static IniText fromBytes(std::string_view bytes, const CodePage& codePage);

  // Why these bytes must never be written back over the file they came from
  // ("the file holds NUL characters"); empty when they may.
  const std::wstring& writeRefusal() const;

  // Section and key names match without regard to ASCII letter case and
  // surrounding blanks; the first section of a name and its first key of a
  // name count. A key without "=" or a missing key gives the default.
  std::wstring readText(std::wstring_view section, std::wstring_view key,
                        std::wstring_view def) const;
  // The settings rule (see parseSettingsNumber); text that does not parse,
  // an empty value or a missing key give the default.
  int readNumber(std::wstring_view section, std::wstring_view key, int def) const;
  // Non-zero is true; an unparsable value gives the default.
  bool readFlag(std::wstring_view section, std::wstring_view key, bool def) const;
  // True when readText would return the key's value rather than the default.
  bool hasKey(std::wstring_view section, std::wstring_view key) const;
  // Names of the keys of a section that carry a value, in file order, first
  // occurrence of each name only (the names readText can answer).
  std::vector<std::wstring> keyNames(std::wstring_view section) const;
  // Names of the sections, in file order, first occurrence of each name only.
  std::vector<std::wstring> sectionNames() const;

  // Values are kept to one line: CR, LF and NUL never reach the file.
  void writeText(std::wstring_view section, std::wstring_view key, std::wstring_view value);
  // Removes every section of that name, header and lines.
  void eraseSection(std::wstring_view section);

  // The file's bytes as the model now stands: each line nobody changed as it
  // was read, line end included; changed and new lines in the file's
  // encoding (code page, UTF-8 or UTF-16) with CRLF.
  std::string toBytes() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
