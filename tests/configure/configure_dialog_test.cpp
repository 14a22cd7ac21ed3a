// The Configure command and the dialog's shell: loading, options, saving.
#include "configure_fixture.h"

namespace {

using configuretest::ConfigureTest;
using configuretest::Dialog;

class ConfigureDialogTest : public ConfigureTest {};

const char kFixture[] =
    "[Settings]\r\nShowFullPath=0\r\nImagePrefix=fav_\r\n"
    "[Files]\r\nFile1=c:\\a.sql\r\nFile2=c:\\b.sql\r\nFile3=c:\\c.sql\r\n"
    "[SubMenus]\r\nSubMenu2=Dev\r\n"
    "[SubMenuItems]\r\nSubMenuItem0=\r\nSubMenuItem1=Dev\r\n";

TEST_F(ConfigureDialogTest, Smoke) {
  writeIni(kFixture);
  loadPlugin();
  configure([&](Dialog& d) {
    EXPECT_EQ(d.rows(), 3);
    d.screenshot(L"smoke");
    d.cancel();
  });
  EXPECT_EQ(host.refreshRequests, 0);
}

}  // namespace
