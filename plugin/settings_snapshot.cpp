#include "settings_snapshot.h"

#include <windows.h>


#include "ini_text.h"
#include "plugin_state.h"

namespace plugin {
namespace {

std::uint64_t systemTicks() {
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

SettingsSnapshot::Io fileSystem() {
  return {quickFileVersion, fileVersionByHandle,
          [](const std::wstring& path) {
            return settings_io::readFile(path, IniText::kMaxFileBytes, IniText::tooLargeReason());
          },
          systemTicks};
}

bool sameBytes(const FileVersion& a, const FileVersion& b) {
  return a.exists == b.exists && a.size == b.size && a.contentHash == b.contentHash;
}

}  // namespace

SettingsSnapshot::SettingsSnapshot() : io_(fileSystem()) {}
SettingsSnapshot::SettingsSnapshot(Io io) : io_(std::move(io)) {}

bool SettingsSnapshot::trusted(const std::wstring& path, bool newRefresh) const {
  if (!ini_ || path != path_) return false;
  // Written within the racy window of our read (or dated in our future): a
  // later write in the same tick could look exactly like it. The change time
  // is not held to this: a tool that dates a file back moves it to now, and
  // two such writes within one of its ticks are not a thing users do.
  if (version_.exists && version_.lastWrite + kRacyTicks > readAt_) return false;
  if (!io_.quickVersion(path).sameSizeAndTime(version_)) return false;
  return !newRefresh || io_.handleVersion(path).sameFileUnchanged(version_);
}

std::shared_ptr<const IniFile> SettingsSnapshot::forCall(const std::wstring& path,
                                                         bool newRefresh) {
  const std::uint64_t now = io_.now();
  if (trusted(path, newRefresh)) return ini_;

  settings_io::FileRead read = io_.read(path);
  ++reads_;
  if (read.status == settings_io::FileRead::Status::Failed) {
    // Never kept: the next call reads again, and nothing takes this for the list.
    release();
    return std::make_shared<const IniFile>(IniFile::fromRead(read));
  }
  // The same bytes as before (read again in the racy window, or after a save
  // of ours) keep their parse.
  if (!ini_ || path != path_ || !sameBytes(read.version, version_)) {
    ini_.reset();  // before the parse, which may then reuse its memory
    ini_ = std::make_shared<const IniFile>(IniFile::fromRead(read));
    ++parses_;
  }
  path_ = path;
  version_ = read.version;
  readAt_ = now;
  return ini_;
}

void SettingsSnapshot::saved(const std::wstring& path, std::string_view bytes) {
  if (!path_.empty() && path != path_) return;  // not the file we keep
  // Dated as a read just now: the racy rule then reads the file once more
  // before trusting its stamps, and keeps this parse when the bytes agree.
  settings_io::FileRead read;
  read.status = settings_io::FileRead::Status::Read;
  read.bytes.assign(bytes);
  read.version.exists = true;
  read.version.size = bytes.size();
  read.version.contentHash = settings_io::contentHash(bytes);
  const std::uint64_t now = io_.now();
  ini_ = std::make_shared<const IniFile>(IniFile::fromRead(read));
  ++parses_;
  path_ = path;
  version_ = read.version;
  version_.lastWrite = now;
  readAt_ = now;
}

void SettingsSnapshot::release() {
  ini_.reset();
  path_.clear();
  version_ = FileVersion{};
  readAt_ = 0;
}

namespace {

SettingsSnapshot& theSnapshot() {
  static SettingsSnapshot snapshot;
  return snapshot;
}

}  // namespace

std::shared_ptr<const IniFile> settingsForCall(bool newRefresh) {
  return theSnapshot().forCall(settingsPath(), newRefresh);
}

void noteSavedSettings(const std::wstring& path, std::string_view bytes) {
  try {
    theSnapshot().saved(path, bytes);
  } catch (const std::exception&) {
    theSnapshot().release();  // the next call reads the file
  }
}

void releaseSettingsSnapshot() { theSnapshot().release(); }

}  // namespace plugin
