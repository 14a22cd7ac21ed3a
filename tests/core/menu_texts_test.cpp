// The menu-text rules over the text model alone: the captions the host gets
// for a small file, in both menu schemes.
#include <gtest/gtest.h>

#include "ini_text.h"
#include "menu_texts.h"

namespace {

const ByteCodePage kCodePage;

TEST(MenuTexts, CaptionsFromTheFile) {
  const IniText ini = IniText::fromBytes(
      "[Settings]\r\nShowConnectionInfo=1\r\nShowFullPath=0\r\n"
      "[Files]\r\nFile1=C:\\src\\a.sql\r\nFile2=[PL/SQL Developer 12 separator]\r\nFile3=b.sql\r\n"
      "[SubMenus]\r\nSubMenu1=\r\nSubMenu3=Tools\r\n[Usernames]\r\nUsername1=scott\r\n"
      "[Databases]\r\nDatabase1=ORCL\r\n[ConnectsAs]\r\nConnectAs1=SYSDBA\r\n",
      kCodePage);
  const struct {
    int index;
    int hostVersion;
    const wchar_t* expected;
  } rows[] = {
      {1, 1100, L"File / Reopen >> Favorite Files"},
      {2, 1100, L"File / Favorite Files / [Favorites] Add Current"},
      {6, 1100, L"File / Favorite Files / a.sql [scott@ORCL as SYSDBA]"},
      {8, 1100, L"File / Favorite Files / Tools / b.sql"},
      {9, 1100, L""},
      {6, 1200, L"SUBITEM=a.sql [scott@ORCL as SYSDBA]"},
      {7, 1200, L"MENUITEM=Tools"},
      {100, 1200, L""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.index << " @" << r.hostVersion);
    EXPECT_EQ(menus::menuItemText(ini, r.index, r.hostVersion), r.expected);
  }
}

}  // namespace
