#include "ini_file.h"

#include <algorithm>
#include <cstdint>

#include "settings_snapshot.h"
#include "text_codec.h"

struct IniFile::Impl {
  IniText text;
  bool openFailed = false;
  bool unread = false;  // the file's bytes could not be read at all
  std::wstring openError;
  FileVersion version;
};

IniFile::IniFile() : impl_(std::make_unique<Impl>()) {}
IniFile::~IniFile() = default;
IniFile::IniFile(IniFile&&) noexcept = default;
IniFile& IniFile::operator=(IniFile&&) noexcept = default;

IniFile IniFile::fromBytes(std::string_view bytes) {
  IniFile file;
  try {
    file.impl_->text = IniText::fromBytes(bytes, fav::systemCodePage());
    // What we cannot write back is still read: the menus show what they can.
    file.impl_->openError = file.impl_->text.writeRefusal();
    file.impl_->openFailed = !file.impl_->openError.empty();
  } catch (const std::exception&) {
    file.impl_->text = IniText();
    file.impl_->openFailed = true;
    file.impl_->unread = true;
    file.impl_->openError = L"out of memory";
  }
  return file;
}

IniFile IniFile::load(const std::wstring& path) {
  return fromRead(settings_io::readFile(path, IniText::kMaxFileBytes, IniText::tooLargeReason()));
}

IniFile IniFile::fromRead(const settings_io::FileRead& read) {
  IniFile file;
  if (read.status == settings_io::FileRead::Status::Read) file = fromBytes(read.bytes);
  if (read.status == settings_io::FileRead::Status::Failed) {
    file.impl_->openFailed = true;
    file.impl_->unread = true;
    file.impl_->openError = read.error;
  }
  file.impl_->version = read.version;
  return file;
}

std::wstring IniFile::readText(const std::wstring& section, const std::wstring& key,
                               const std::wstring& def) const {
  if (impl_->unread) {
    // The platform copies the default as it stands when the file cannot be
    // opened: trailing spaces dropped, quotes kept.
    std::wstring_view fallback(def);
    fallback = fallback.substr(0, fallback.find(L'\0'));
    size_t end = fallback.size();
    while (end > 1 && fallback[end - 1] == L' ') --end;
    return std::wstring(fallback.substr(0, end));
  }
  return impl_->text.readText(section, key, def);
}

int IniFile::readNumber(const std::wstring& section, const std::wstring& key, int def) const {
  return impl_->text.readNumber(section, key, def);
}

bool IniFile::readFlag(const std::wstring& section, const std::wstring& key, bool def) const {
  return impl_->text.readFlag(section, key, def);
}

bool IniFile::hasKey(const std::wstring& section, const std::wstring& key) const {
  return impl_->text.hasKey(section, key);
}

std::vector<std::wstring> IniFile::keyNames(const std::wstring& section) const {
  return impl_->text.keyNames(section);
}

void IniFile::writeText(const std::wstring& section, const std::wstring& key,
                        const std::wstring& value) {
  impl_->text.writeText(section, key, value);
}

void IniFile::writeNumber(const std::wstring& section, const std::wstring& key, int value) {
  impl_->text.writeText(section, key, std::to_wstring(value));
}

void IniFile::writeFlag(const std::wstring& section, const std::wstring& key, bool value) {
  impl_->text.writeText(section, key, value ? L"1" : L"0");
}

void IniFile::eraseSection(const std::wstring& section) { impl_->text.eraseSection(section); }

bool IniFile::openFailed() const { return impl_->openFailed; }

const std::wstring& IniFile::openError() const { return impl_->openError; }

const FileVersion& IniFile::version() const { return impl_->version; }

std::string IniFile::toBytes() const { return impl_->text.toBytes(); }

bool IniFile::save(const std::wstring& path, std::wstring* error) const {
  auto fail = [&](const std::wstring& reason) {
    if (error) *error = L"Could not save " + path + L": " + reason;
    return false;
  };
  if (impl_->openFailed) return fail(L"the file could not be read (" + impl_->openError + L")");

  std::string bytes;
  try {
    bytes = toBytes();
  } catch (const std::exception&) {
    return fail(L"out of memory");
  }
  std::wstring reason;
  if (!settings_io::replaceFile(path, bytes, &reason)) return fail(reason);
  plugin::noteSavedSettings(path, bytes);
  return true;
}
