// Menu texts in both schemes and the tool buttons, from fixture settings files.
#include <vector>

#include "plugin_fixture.h"

namespace {

using testsupport::PluginTest;

struct MenuCase {
  const char* name;
  int hostVersion;
  const char* ini;  // nullptr: no settings file
  int index;
  const char* expected;
};

const MenuCase kMenuCases[] = {
    {"older, no file: menu", 1199, nullptr, 1, "File / Reopen >> Favorite Files"},
    {"older, no file: add", 1199, nullptr, 2, "File / Favorite Files / [Favorites] Add Current"},
    {"older, no file: configure", 1199, nullptr, 3, "File / Favorite Files / [Favorites] Configure..."},
    {"older, no file: about", 1199, nullptr, 4, "File / Favorite Files / [Favorites] About"},
    {"older, no file: separator", 1199, nullptr, 5, "File / Favorite Files / -"},
    {"older, no file: no favorite", 1199, nullptr, 6, ""},
    {"below range", 1199, nullptr, 0, ""},
    {"above range", 1199, nullptr, 100, ""},
    {"ribbon, no file: group", 1200, nullptr, 1, "GROUP=Favorites"},
    {"ribbon, no file: add", 1200, nullptr, 2, "ITEM=[Favorites] Add Current"},
    {"ribbon, no file: configure", 1200, nullptr, 3, "ITEM=[Favorites] Configure..."},
    {"ribbon, no file: about", 1200, nullptr, 4, "ITEM=[Favorites] About"},
    {"ribbon, no file: menu", 1200, nullptr, 5, "MENUITEM=Favorite Files"},
    {"ribbon, no file: no favorite", 1200, nullptr, 6, ""},
    {"ribbon, above range", 1200, nullptr, 100, ""},
    {"main menu: placement", 1199,
     "[Settings]\nFavoritesOnMainmenu=1\nNextToMenu=Tools\nMenuItemName=Favs\n", 1, "Tools >> Favs"},
    {"main menu: no File prefix", 1199,
     "[Settings]\nFavoritesOnMainmenu=1\nNextToMenu=Tools\nMenuItemName=Favs\n", 3,
     "Favs / [Favorites] Configure..."},
    {"main menu: favorite", 1199,
     "[Settings]\nFavoritesOnMainmenu=1\nMenuItemName=Favs\n[Files]\nFile1=c:\\a.sql\n", 6,
     "Favs / c:\\a.sql"},
    {"main menu flag ignored by the ribbon", 1200,
     "[Settings]\nFavoritesOnMainmenu=1\nMenuItemName=Favs\n", 5, "MENUITEM=Favs"},
    {"older: favorite in a submenu", 1199,
     "[Files]\nFile1=c:\\s\\a.sql\n[SubMenus]\nSubMenu1=Scripts\n", 6,
     "File / Favorite Files / Scripts / c:\\s\\a.sql"},
    {"older: separator favorite", 1199, "[Files]\nFile1=-\n", 6, "File / Favorite Files / -"},
    {"ribbon: group start", 1200,
     "[Files]\nFile1=[PL/SQL Developer 12 separator]\nFile2=c:\\a.sql\n[SubMenus]\nSubMenu2=Scripts\n",
     6, "MENUITEM=Scripts"},
    {"ribbon: item in the group", 1200,
     "[Files]\nFile1=[PL/SQL Developer 12 separator]\nFile2=c:\\a.sql\n[SubMenus]\nSubMenu2=Scripts\n",
     7, "SUBITEM=c:\\a.sql"},
    {"ribbon: marker as last entry", 1200, "[Files]\nFile1=[PL/SQL Developer 12 separator]\n", 6,
     "MENUITEM="},
    {"alias instead of the file", 1199, "[Files]\nFile1=c:\\a.sql\n[Aliases]\nAlias1=Daily report\n",
     6, "File / Favorite Files / Daily report"},
    {"short path", 1199, "[Settings]\nShowFullPath=0\n[Files]\nFile1=c:\\work\\a.sql\n", 6,
     "File / Favorite Files / a.sql"},
    {"short path of a drive-relative name", 1199, "[Settings]\nShowFullPath=0\n[Files]\nFile1=d:a.sql\n",
     6, "File / Favorite Files / a.sql"},
    {"ShowFullPath=yes reads as the default", 1199,
     "[Settings]\nShowFullPath=yes\n[Files]\nFile1=c:\\work\\a.sql\n", 6,
     "File / Favorite Files / c:\\work\\a.sql"},
    {"connection info", 1199,
     "[Settings]\nShowConnectionInfo=1\n[Files]\nFile1=c:\\a.sql\n[Usernames]\nUsername1=scott\n"
     "[Databases]\nDatabase1=orcl\n[ConnectsAs]\nConnectAs1=SysDBA\n",
     6, "File / Favorite Files / c:\\a.sql [scott@orcl as SysDBA]"},
    {"connection info without connect-as", 1199,
     "[Settings]\nShowConnectionInfo=1\n[Files]\nFile1=c:\\a.sql\n[Usernames]\nUsername1=scott\n"
     "[Databases]\nDatabase1=orcl\n",
     6, "File / Favorite Files / c:\\a.sql [scott@orcl]"},
    {"connection info needs a user", 1199,
     "[Settings]\nShowConnectionInfo=1\n[Files]\nFile1=c:\\a.sql\n[Databases]\nDatabase1=orcl\n", 6,
     "File / Favorite Files / c:\\a.sql"},
    {"short path cuts the connection part too", 1199,
     "[Settings]\nShowConnectionInfo=1\nShowFullPath=0\n[Files]\nFile1=c:\\a.sql\n"
     "[Usernames]\nUsername1=scott\n[Databases]\nDatabase1=host:1521/orcl\n",
     6, "File / Favorite Files / 1521/orcl]"},
    {"an entry after a gap keeps its index", 1199,
     "[Files]\nFile1=c:\\1.sql\nFile2=c:\\2.sql\nFile4=c:\\4.sql\n", 9, "File / Favorite Files / c:\\4.sql"},
    {"the gap itself has no item", 1199,
     "[Files]\nFile1=c:\\1.sql\nFile2=c:\\2.sql\nFile4=c:\\4.sql\n", 8, ""},
    {"entry 94 is the last shown", 1199, "[Files]\nFile94=c:\\94.sql\n", 99,
     "File / Favorite Files / c:\\94.sql"},
    {"ribbon: short caption", 1200, "[Settings]\nShowFullPath=0\n[Files]\nFile1=c:\\w\\b.sql\n", 6,
     "SUBITEM=b.sql"},
};

class MenuTextTest : public PluginTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuTextTest, Text) {
  const MenuCase& c = GetParam();
  if (c.ini) writeIni(c.ini);
  loadPlugin(c.hostVersion);
  EXPECT_EQ(host.createMenuItem(c.index), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MenuTextTest, ::testing::ValuesIn(kMenuCases),
                         [](const auto& info) {
                           std::string n;
                           for (const char* p = info.param.name; *p; ++p)
                             n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return n + "_" + std::to_string(info.index);
                         });

class ToolButtonTest : public PluginTest {
 protected:
  std::vector<std::string> buttons() {
    host.clearRecords();
    host.onActivate();
    std::vector<std::string> out;
    for (const auto& b : host.toolButtons)
      out.push_back(std::to_string(b.index) + "|" + b.caption + "|" + b.bitmap + "|" +
                    std::to_string(b.flags));
    return out;
  }
};

TEST_F(ToolButtonTest, OlderSchemeSequence) {
  writeIni(
      "[Settings]\nImagePath=d:\\icons\n"
      "[Files]\nFile1=c:\\a.sql\nFile2=c:\\b.sql\nFile3=c:\\c.sql\n"
      "[SubMenus]\nSubMenu3=Scripts\n"
      "[Buttons]\nButton1=fav_a.bmp\nButton3=fav_c.bmp\n");
  loadPlugin(1199);
  const std::string plugin = folder() + "\\";
  EXPECT_EQ(buttons(), (std::vector<std::string>{
                           "2|[Favorites] Add Current|" + plugin + "btn_favorites_add.bmp|0",
                           "3|[Favorites] Configure...|" + plugin + "btn_favorites_configure.bmp|0",
                           "4|[Favorites] About|" + plugin + "btn_about.bmp|0",
                           "6|c:\\a.sql|d:\\icons\\fav_a.bmp|0",
                           "8|Scripts / c:\\c.sql|d:\\icons\\fav_c.bmp|0",
                       }));
}

TEST_F(ToolButtonTest, OlderSchemeImageFolderDefaultsToThePluginFolder) {
  writeIni("[Settings]\nImagePath=\n[Files]\nFile1=c:\\a.sql\n[Buttons]\nButton1=fav_a.bmp\n");
  loadPlugin(1199);
  const auto b = buttons();
  ASSERT_EQ(b.size(), 4u);
  EXPECT_EQ(b[3], "6|c:\\a.sql|" + folder() + "\\fav_a.bmp|0");
}

TEST_F(ToolButtonTest, RibbonSchemeSequence) {
  writeIni(
      "[Settings]\nImagePath=d:\\icons\nMenuItemName=Favs\n"
      "[Files]\nFile1=c:\\plain.sql\n"
      "File2=[PL/SQL Developer 12 separator]\nFile3=c:\\s1.sql\n"
      "File4=[PL/SQL Developer 12 separator]\nFile5=c:\\s2.sql\n"
      "File6=[PL/SQL Developer 12 separator]\nFile7=c:\\s3.sql\n"
      "[SubMenus]\nSubMenu3=Scripts\nSubMenu5=Reports\nSubMenu7=Unknown\n"
      "[Buttons]\nButton1=fav_plain.bmp\nButton3=fav_s1.bmp\n"
      "[SubMenuItems]\nSubMenuItem0=\nSubMenuItem1=Scripts\nSubMenuItem2=Reports\n"
      "[SubMenuButtons]\nSubMenuButton1=fav_scripts.bmp\nSubMenuButton2=\n");
  loadPlugin(1200);
  const std::string plugin = folder() + "\\";
  EXPECT_EQ(buttons(), (std::vector<std::string>{
                           "2|[Favorites] Add Current|" + plugin + "btn_favorites_add.bmp|0",
                           "3|[Favorites] Configure...|" + plugin + "btn_favorites_configure.bmp|0",
                           "4|[Favorites] About|" + plugin + "btn_about.bmp|0",
                           "5|Favs|" + plugin + "btn_favorites.bmp|0",
                           "6|c:\\plain.sql|d:\\icons\\fav_plain.bmp|0",
                           "7|Scripts|d:\\icons\\fav_scripts.bmp|0",
                           "8|c:\\s1.sql|d:\\icons\\fav_s1.bmp|0",
                           "9|Reports|d:\\icons\\btn_favorites.bmp|0",
                       }));
}

TEST_F(ToolButtonTest, ABlankButtonGivesAMenuItemButNoButton) {
  writeIni("[Files]\nFile1=c:\\a.sql\n[Buttons]\nButton1=\n");
  loadPlugin(1199);
  EXPECT_EQ(buttons().size(), 3u);
  EXPECT_EQ(host.createMenuItem(6), "File / Favorite Files / c:\\a.sql");
}

TEST_F(ToolButtonTest, HandEditsShowAtTheNextCall) {
  loadPlugin(1199);
  EXPECT_EQ(host.createMenuItem(6), "");
  writeIni("[Files]\nFile1=c:\\new.sql\n");
  EXPECT_EQ(host.createMenuItem(6), "File / Favorite Files / c:\\new.sql");
}

}  // namespace
