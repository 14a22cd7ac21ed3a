#include "open_favorite.h"

#include <windows.h>

#include "PlugInIntf.h"
#include "code_page_text.h"
#include "dialog_base.h"
#include "file_check.h"
#include "file_path.h"
#include "logon_guard.h"
#include "menu_builder.h"
#include "missing_favorite.h"
#include "plugin_state.h"
#include "settings_file.h"
#include "settings_read.h"
#include "string_cipher.h"
#include "text_codec.h"
#include "ui_seam.h"

namespace favorites {
namespace {

std::wstring entry(const IniFile& ini, const wchar_t* section, const wchar_t* prefix, int n,
                   const wchar_t* def = L"") {
  return ini.readText(section, listKey(prefix, n), def);
}

bool sameFileName(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

int probedWindowCount(int hostCount) {
  if (hostCount < 0) return 0;
  return hostCount >= kMaxProbedWindows ? kMaxProbedWindows : hostCount + 1;
}

void OpenFavorite(int menuIndex) { OpenFavorite(menuIndex, readKeyboardState()); }

namespace {

// Brings the host's window of file forward when it has one. Window numbers
// 0..N inclusive are probed; a number without a window simply does not
// match. A count below 0 means no window, and a garbage count must not keep
// the click from returning: the probe stops after kMaxProbedWindows windows
// whatever the host says.
bool activateOpenWindow(const std::wstring& file) {
  const std::string narrowFile = fav::toNarrow(file);
  const int last = probedWindowCount(host::WindowCount()) - 1;
  for (int w = 0; w <= last; ++w) {
    host::SelectWindow(w);
    if (host::CurrentWindowFileName() == narrowFile) {
      host::ActivateWindow(w);
      return true;
    }
  }
  return false;
}

// Opens file in a new window of type and logs it on with entry n's
// connection, unless the held keys suppress it or a guarded logon is
// declined.
void openAndLogOn(const IniFile& ini, int n, const std::wstring& file, int type,
                  const KeyboardState& keys) {
  host::OpenFileInWindow(type, fav::toNarrow(file));
  const std::wstring user = entry(ini, ini::kUsernames, L"Username", n);
  const std::wstring database = entry(ini, ini::kDatabases, L"Database", n);
  const std::wstring connectAs = entry(ini, ini::kConnectsAs, L"ConnectAs", n, L"normal");
  host::ConnectionInfo details;
  details.username = fav::toNarrow(user);
  const std::wstring stored = entry(ini, ini::kPasswords, L"Password", n);
  if (!stored.empty()) details.password = codesAsBytes(decipherText(stored, kPasswordKey));
  details.database = fav::toNarrow(database);
  details.connectAs = fav::toNarrow(connectAs);
  if (details.username.empty()) return;

  const bool shift = isShiftDown(keys);
  const bool ctrl = isCtrlDown(keys);
  const bool alt = isAltDown(keys);
  const bool suppressed = shift == ini.readFlag(ini::kSettings, L"ShiftState", false) &&
                          ctrl == ini.readFlag(ini::kSettings, L"CtrlState", false) &&
                          alt == ini.readFlag(ini::kSettings, L"Altstate", false) &&
                          (shift || ctrl || alt);
  if (suppressed) return;

  // A guarded database asks first; No leaves the file open without a
  // connection, and is the default so a hasty Enter does not log on.
  if (menus::asksBeforeLogon(ini, n)) {
    const std::wstring question = logon::question(user, database, connectAs);
    if (showMessageBox(fav::hostOwnerWindow(), question.c_str(), L"Favorites",
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
      return;
  }

  const int connection = host::ConnectionForLogon(details);
  host::SetCurrentWindowConnection(connection);
  host::WindowConnectionState(1);
}

// The file of entry n (stored as storedFile) is gone: find it again, drop
// the favorite, or leave everything as it is.
void onMissingFile(const IniFile& ini, int n, const std::wstring& storedFile,
                   const std::wstring& file, int type, const KeyboardState& keys) {
  const HWND owner = fav::hostOwnerWindow();
  switch (missing::askAboutMissingFile(owner, file)) {
    case missing::Choice::Locate: {
      const std::wstring found = missing::locateFile(owner, file);
      if (found.empty()) return;
      if (!fav::fitsCodePage(found)) {
        // The host could never open it by that name.
        const std::wstring text = codepage::unstorableFilesMessage({found});
        showMessageBox(owner, text.c_str(), L"Favorites", MB_OK | MB_ICONWARNING);
        return;
      }
      missing::relinkFavorite(owner, n, storedFile, found);
      // The file opens as a click on the favorite now would, even when the
      // new path could not be saved.
      if (!activateOpenWindow(found)) openAndLogOn(ini, n, found, type, keys);
      return;
    }
    case missing::Choice::Remove:
      missing::removeFavorite(owner, n, storedFile);
      return;
    case missing::Choice::Cancel:
      return;
  }
}

}  // namespace

void OpenFavorite(int menuIndex, const KeyboardState& keys) {
  const IniFile ini = IniFile::load(plugin::settingsPath());
  const int n = menuIndex - 5;
  const std::wstring storedFile = entry(ini, ini::kFiles, L"File", n);
  if (storedFile.empty() || storedFile == ini::kGroupStartMarker) return;
  const std::wstring file = fav::expandPathMarker(storedFile, getReplacementPath(ini));
  const int type = ini.readNumber(ini::kTypes, listKey(L"Type", n), 0);

  if (activateOpenWindow(file)) return;
  // Only a file the system says is gone stops the click; one it cannot tell
  // about in time (a slow network path) opens as it always did.
  if (filecheck::checkPresence(file) == filecheck::Presence::Missing) {
    onMissingFile(ini, n, storedFile, file, type, keys);
    return;
  }
  openAndLogOn(ini, n, file, type, keys);
}

void AddCurrent() {
  const int type = host::CurrentWindowType();
  std::wstring file = fav::toWide(host::CurrentWindowFileName());

  if (file.empty()) return;  // a window without a file has nothing to add

  // A file that cannot be read is not the list: adding to what we could
  // read would replace it.
  std::optional<IniFile> read = plugin::loadForChange(plugin::settingsPath(), fav::hostOwnerWindow());
  if (!read) return;
  IniFile& ini = *read;
  const std::wstring replacement = getReplacementPath(ini);
  int n = 1;
  for (;; ++n) {
    // The stored name as it opens, not the menu's text: an alias, the
    // connection shown or the "%path%" form must not hide a duplicate.
    const std::wstring stored = entry(ini, ini::kFiles, L"File", n);
    if (!stored.empty() && sameFileName(fav::expandPathMarker(stored, replacement), file)) {
      const std::wstring text = file + L" is already a favorite.";
      showMessageBox(fav::hostOwnerWindow(), text.c_str(), L"Favorites", MB_OK | MB_ICONINFORMATION);
      return;
    }
    if (menus::favoriteMenuCaption(ini, n).empty()) break;
  }

  file = fav::toPathMarkerForm(file, replacement);

  ini.writeText(ini::kFiles, listKey(L"File", n), file);
  ini.writeNumber(ini::kTypes, listKey(L"Type", n), type);
  ini.writeText(ini::kSubMenus, listKey(L"SubMenu", n), L"");
  if (host::WindowConnectionState(2) == 1) {
    const host::ConnectionInfo c = host::ConnectionDetails(host::CurrentWindowConnection());
    ini.writeText(ini::kUsernames, listKey(L"Username", n), fav::toWide(c.username));
    const bool savePassword = ini.readFlag(ini::kSettings, L"SavePassword", false);
    const std::wstring tooLong =
        savePassword ? codepage::passwordTooLongMessage(
                           c.password.size(), L"The current file was not added to the favorites.")
                     : std::wstring();
    if (!codepage::acceptTyped(fav::hostOwnerWindow(), tooLong)) return;
    ini.writeText(ini::kPasswords, listKey(L"Password", n),
                  savePassword ? encipherText(bytesAsCodes(c.password), kPasswordKey,
                                              kPasswordMinFill, kPasswordMaxFill)
                               : std::wstring());
    ini.writeText(ini::kDatabases, listKey(L"Database", n), fav::toWide(c.database));
    ini.writeText(ini::kConnectsAs, listKey(L"ConnectAs", n), fav::toWide(c.connectAs));
  }
  ini.writeText(ini::kAliases, listKey(L"Alias", n), L"");

  std::wstring error;
  if (!ini.save(plugin::settingsPath(), &error)) {
    // A save refused in silence would look like an add that worked.
    const std::wstring text = error + L"\n\nThe current file was not added to the favorites.";
    showMessageBox(fav::hostOwnerWindow(), text.c_str(), L"Favorites", MB_OK | MB_ICONWARNING);
    return;
  }
  host::RefreshPluginMenus(plugin::state().pluginId);
  // The snapshot is what was just saved: one read of the file per call.
  menus::rebuildToolButtons(ini);
}

}  // namespace favorites
