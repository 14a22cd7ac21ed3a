// The settings file as one in-memory snapshot. Reads answer exactly as the
// platform's private-profile reader (GetPrivateProfileStringW) would answer for
// the file as it was when loaded; writes change the snapshot the way
// WritePrivateProfileStringW changes a file, and save() replaces the file in
// one step (temporary file beside it, then a replace), so a failed save leaves
// the old file byte for byte. No Windows headers here.
#pragma once

#include <memory>
#include <string>

class IniFile {
 public:
  IniFile();
  ~IniFile();
  IniFile(IniFile&&) noexcept;
  IniFile& operator=(IniFile&&) noexcept;

  // One read of the file. A missing, unreadable or hostile file gives an
  // empty snapshot (every read answers its default).
  static IniFile load(const std::wstring& path);
  static IniFile fromBytes(const std::string& bytes);

  std::wstring readText(const std::wstring& section, const std::wstring& key,
                        const std::wstring& def) const;
  int readNumber(const std::wstring& section, const std::wstring& key, int def) const;
  bool readFlag(const std::wstring& section, const std::wstring& key, bool def) const;
  bool hasKey(const std::wstring& section, const std::wstring& key) const;

  // Values are kept to one line: CR, LF and NUL never reach the file.
  void writeText(const std::wstring& section, const std::wstring& key, const std::wstring& value);
  void writeNumber(const std::wstring& section, const std::wstring& key, int value);
  void writeFlag(const std::wstring& section, const std::wstring& key, bool value);
  void eraseSection(const std::wstring& section);

  // The file's bytes as the snapshot now stands.
  std::string toBytes() const;
  // Atomic replace of path; false with a reason (naming the file) on failure.
  bool save(const std::wstring& path, std::wstring* error) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
