// TFolderDialog answered through the host simulator's picker seam.
#include <gtest/gtest.h>

#include "FolderChoose.h"
#include "host_simulator.h"

TEST(FolderDialog, StartsWithABackslashOnEndAndNothingElse) {
  TFolderDialog dialog(nullptr);
  EXPECT_TRUE(dialog.BackSlashOnEnd());
  EXPECT_TRUE(dialog.Title().empty());
  EXPECT_TRUE(dialog.FolderName().empty());
}

TEST(FolderDialog, AppendsTheBackslashOnlyWhenAskedAndMissing) {
  const struct {
    const wchar_t* chosen;
    bool backSlashOnEnd;
    const wchar_t* folderName;
  } cases[] = {
      {L"C:\\data", true, L"C:\\data\\"},
      {L"C:\\data", false, L"C:\\data"},
      {L"C:\\", true, L"C:\\"},  // a drive root already ends with one
      {L"C:\\", false, L"C:\\"},
  };
  for (const auto& c : cases) {
    hostsim::HostSimulator host;
    host.ui.folders = {c.chosen};
    TFolderDialog dialog(nullptr);
    dialog.Title(L"Pick one");
    dialog.BackSlashOnEnd(c.backSlashOnEnd);
    EXPECT_TRUE(dialog.Execute()) << c.chosen;
    EXPECT_EQ(dialog.FolderName(), c.folderName) << c.chosen;
    EXPECT_EQ(host.ui.folderTitles, std::vector<std::wstring>{L"Pick one"});
  }
}

TEST(FolderDialog, ACancelAfterASuccessLeavesNoFolder) {
  hostsim::HostSimulator host;
  host.ui.folders = {L"C:\\data", L""};
  TFolderDialog dialog(nullptr);
  ASSERT_TRUE(dialog.Execute());
  EXPECT_FALSE(dialog.Execute());
  EXPECT_TRUE(dialog.FolderName().empty());
}
