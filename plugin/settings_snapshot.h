// The settings as the menus last read them, kept between export calls: a
// menu refresh asks for about two hundred texts and buttons, and the file
// rarely changes in between. Each call takes the snapshot once, at its
// start, and uses that one for everything it answers, so no answer mixes two
// versions of the file. The snapshot is trusted only while the file is
// provably the one it was read from:
// - every call compares size and last-write time, asked by name (no open);
// - the first call of each refresh (a menu index not above the previous one,
//   or the tool buttons) also compares the file's index and change time
//   through an attributes-only handle, which sees another file renamed into
//   place and a write whose time was put back;
// - a file written less than two seconds before we read it is read again at
//   the next call, since a second write in the same tick of the file
//   system's clock can leave every stamp as it was;
// - a file that could not be read is never kept: the call gets what could be
//   read, and the next call tries again.
// Configure and Add Current read the file afresh for their changes; a save
// of ours becomes the snapshot (noteSavedSettings).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "file_version.h"
#include "ini_file.h"
#include "settings_io.h"

namespace plugin {

class SettingsSnapshot {
 public:
  // The file system and the clock, passed in so the rules can be tried.
  struct Io {
    std::function<FileVersion(const std::wstring&)> quickVersion;   // no open, no read
    std::function<FileVersion(const std::wstring&)> handleVersion;  // attributes only
    std::function<settings_io::FileRead(const std::wstring&)> read;
    std::function<std::uint64_t()> now;  // FILETIME ticks
  };
  // A write this close to the read may share its timestamp with a later one.
  static constexpr std::uint64_t kRacyTicks = 2 * 10'000'000ull;

  SettingsSnapshot();  // the real file system
  explicit SettingsSnapshot(Io io);

  // The settings for one export call. newRefresh: the call starts a refresh,
  // so the file's identity is checked as well.
  std::shared_ptr<const IniFile> forCall(const std::wstring& path, bool newRefresh);
  // We wrote bytes to path ourselves.
  void saved(const std::wstring& path, std::string_view bytes);
  void release();

  // How many times the file was read and parsed, for the tests and benchmarks.
  std::uint64_t reads() const { return reads_; }
  std::uint64_t parses() const { return parses_; }

 private:
  bool trusted(const std::wstring& path, bool newRefresh) const;

  Io io_;
  std::wstring path_;
  std::shared_ptr<const IniFile> ini_;
  FileVersion version_;         // of the bytes ini_ holds
  std::uint64_t readAt_ = 0;    // the clock just before they were read
  std::uint64_t reads_ = 0;
  std::uint64_t parses_ = 0;
};

// The plug-in's one snapshot, of the settings file.
std::shared_ptr<const IniFile> settingsForCall(bool newRefresh);
void noteSavedSettings(const std::wstring& path, std::string_view bytes);
void releaseSettingsSnapshot();

}  // namespace plugin
