// The settings file as one in-memory snapshot: the file's text model
// (IniText) as it was when loaded, read once, and save(), which replaces the
// file in one step (temporary file beside it, then a replace), so a failed
// save leaves the old file byte for byte. Values read back whole, of any
// length. No Windows headers here. One snapshot serves one thread at a time.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "file_version.h"
#include "ini_text.h"
#include "settings_io.h"

class IniFile {
 public:
  IniFile();
  ~IniFile();
  IniFile(IniFile&&) noexcept;
  IniFile& operator=(IniFile&&) noexcept;

  // One read of the file. A missing file gives an empty snapshot. A file that
  // exists but cannot be read (held locked by another program, a folder of
  // that name, access refused, larger than IniText::kMaxFileBytes), or one
  // whose folder is missing, answers every read with its default and is never
  // taken for a missing file; one we read but could not write back as it is
  // (UTF-32, NUL characters) answers what it holds. Both refuse save() so
  // their content is never replaced by ours.
  static IniFile load(const std::wstring& path);
  // The same from a read already made.
  static IniFile fromRead(const settings_io::FileRead& read);
  static IniFile fromBytes(std::string_view bytes);

  // Section and key names match without regard to ASCII letter case and
  // surrounding blanks; the first section of a name and its first key of a
  // name count. A key without "=" or a missing key gives the default.
  std::wstring readText(const std::wstring& section, const std::wstring& key,
                        const std::wstring& def) const;
  // The settings rule (see parseSettingsNumber); text that does not parse,
  // an empty value or a missing key give the default.
  int readNumber(const std::wstring& section, const std::wstring& key, int def) const;
  // Non-zero is true; an unparsable value gives the default.
  bool readFlag(const std::wstring& section, const std::wstring& key, bool def) const;
  // True when readText would return the key's value rather than the default.
  bool hasKey(const std::wstring& section, const std::wstring& key) const;
  // Names of the keys of a section that carry a value, in file order, first
  // occurrence of each name only (the names readText can answer).
  std::vector<std::wstring> keyNames(const std::wstring& section) const;

  // Values are kept to one line: CR, LF and NUL never reach the file.
  void writeText(const std::wstring& section, const std::wstring& key, const std::wstring& value);
  void writeNumber(const std::wstring& section, const std::wstring& key, int value);
  void writeFlag(const std::wstring& section, const std::wstring& key, bool value);
  // Removes every section of that name, header and lines.
  void eraseSection(const std::wstring& section);

  // The file could not be read, or not written back, although it may exist;
  // see load().
  bool openFailed() const;
  // Why, for a message that names the file: "the file holds NUL characters",
  // "the file is larger than 16 MB", the system's reason (a lock, refused
  // access). Empty otherwise.
  const std::wstring& openError() const;
  // The version of the file this snapshot was loaded from (default for a
  // snapshot made from bytes).
  const FileVersion& version() const;

  // The file's bytes as the snapshot now stands: the encoding it was read in
  // (system code page, or UTF-8 / UTF-16 with their byte-order mark), CRLF
  // line ends.
  std::string toBytes() const;
  // Atomic replace of path that keeps what the file is, the previous version
  // left as "<file>.bak" (see settings_io.h); false with a reason (naming the
  // file) on failure.
  bool save(const std::wstring& path, std::wstring* error) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
