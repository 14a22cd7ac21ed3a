// Sharing a list: the text of an export file (chosen favorites in the
// settings file's own list sections, never a password) and the import of such
// a file, or of a whole Favorites.ini, into the lists being edited. No
// Windows headers and no file access: the dialog reads and writes the files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "code_page.h"
#include "un_favoriteCollections.h"

namespace exchange {

// The name the save dialog proposes.
inline constexpr wchar_t kDefaultFileName[] = L"Favorites-export.ini";

// The export file's bytes: a first comment line saying what the file is and
// writtenAt (the caller's local time, "2026-12-10 21:04"), then the chosen
// favorites numbered from 1 in the settings file's sections, each file under
// replacementPath in its "%path%" form, the submenus they use with their
// icons (from submenus, numbered from 1), their AskLogon flags and no
// [Passwords] section. hostVersion decides the group-start entries, as a
// save of the settings file would.
std::string exportText(const TFavoriteItems& chosen, const TSubMenuItems& submenus,
                       const std::wstring& replacementPath, int hostVersion,
                       const std::wstring& writtenAt, const CodePage& codePage);

struct ImportOutcome {
  int imported = 0;      // favorites appended (separators not counted)
  int alreadyThere = 0;  // favorites skipped: their file was in the list
  // File names the code page cannot hold, left out as Add leaves them out:
  // the host could never open them.
  std::vector<std::wstring> unstorable;
  // Submenu names the IDE would split into nested menus ("/", ">>"), refused
  // as the submenu box refuses them; their favorites come without a submenu.
  std::vector<std::wstring> splitSubmenus;
  // Why the bytes are not a favorites list ("it names no favorite files");
  // empty when they were read. Nothing changes when it is set.
  std::wstring refusal;
};

// Reads bytes as the settings file is read (the same size cap and encodings;
// NUL characters or UTF-32 refuse them) and appends its favorites in the
// file's order to favorites: each file in its "%path%" form under
// replacementPath, without its password; a favorite whose file is already
// in the list, in either path form and any letter case, or whose file name
// does not survive the code page, is skipped. The
// submenus the file lists or its favorites use are added to submenus (with
// their icons) when missing, which then stay sorted with the blank first.
ImportOutcome importList(std::string_view bytes, const CodePage& codePage,
                         TFavoriteItems& favorites, TSubMenuItems& submenus,
                         const std::wstring& replacementPath);

// "Imported 12 favorites; 3 were already in the list." (and "1 favorite",
// "1 was" for one), then the submenu names left out, if any.
std::wstring summary(const ImportOutcome& outcome);
// "<path> is not a favorites list: <reason>", for a refused import.
std::wstring refusalMessage(const std::wstring& path, const std::wstring& reason);

}  // namespace exchange
