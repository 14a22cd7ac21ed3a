// The all-or-nothing install without its window: files wait beside their
// targets until every one of them is there, a swap that fails puts back what
// was swapped, and nothing is written through a link.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>

#include "installer_support.h"
#include "un_packageinstall.h"

using installertest::folderContent;
using installertest::writeFiles;
using testsupport::FileLock;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

namespace {

class PackageInstall : public ::testing::Test {
 protected:
  void SetUp() override {
    package_ = dir_ / L"package";
    target_ = dir_ / L"PlugIns";
    std::filesystem::create_directories(package_);
    std::filesystem::create_directories(target_);
  }
  std::unique_ptr<TPackageInstall> install(FileAttributesProbe probe = {}) const {
    return std::make_unique<TPackageInstall>(package_.wstring() + L"\\", target_.wstring() + L"\\",
                                             std::move(probe));
  }
  bool stage(TPackageInstall& install, const std::wstring& subfolder, const std::wstring& file) {
    return install.stage(subfolder, file, failure_);
  }

  TempDir dir_;
  std::filesystem::path package_, target_;
  InstallFailure failure_;
};

TEST_F(PackageInstall, FilesWaitBesideTheirTargetsUntilTheCommit) {
  writeFiles(package_, {{L"favorites.dll", "new library"},
                        {L"btn_about.bmp", "new bitmap"},
                        {L"fav_star.bmp", "star"}});
  writeFiles(target_, {{L"favorites.dll", "old library"}, {L"Favorites.ini", "the user's list"}});
  const auto before = folderContent(target_);

  auto run = install();
  EXPECT_TRUE(run->makeSubfolder(L"img"));
  EXPECT_FALSE(run->makeSubfolder(L"img"));  // there already
  EXPECT_TRUE(stage(*run, L"", L"favorites.dll"));
  EXPECT_TRUE(stage(*run, L"", L"btn_about.bmp"));
  EXPECT_TRUE(stage(*run, L"img", L"fav_star.bmp"));

  // Staged: the old files untouched, the new ones under names of their own.
  EXPECT_EQ(readFile(target_ / L"favorites.dll"), "old library");
  EXPECT_FALSE(std::filesystem::exists(target_ / L"btn_about.bmp"));
  EXPECT_EQ(readFile(target_ / L"favorites.dll.tolvane-new"), "new library");
  EXPECT_EQ(readFile(target_ / L"img" / L"fav_star.bmp.tolvane-new"), "star");

  const TPackageInstall::CommitResult result = run->commit();
  EXPECT_TRUE(result.succeeded);
  auto expected = before;
  expected[L"favorites.dll"] = "new library";
  expected[L"btn_about.bmp"] = "new bitmap";
  expected[L"img"] = "<folder>";
  expected[L"img\\fav_star.bmp"] = "star";
  EXPECT_EQ(folderContent(target_), expected);  // no staged copy or old file left

  run.reset();  // committed: nothing is taken away
  EXPECT_EQ(folderContent(target_), expected);
}

TEST_F(PackageInstall, AFailedSwapPutsBackEverythingSwappedBeforeIt) {
  writeFiles(package_, {{L"btn_about.bmp", "new about"},
                        {L"btn_new.bmp", "brand new"},
                        {L"fav_star.bmp", "star"},
                        {L"favorites.dll", "new library"}});
  writeFiles(target_, {{L"btn_about.bmp", "old about"}, {L"favorites.dll", "old library"}});
  const auto before = folderContent(target_);

  TPackageInstall::CommitResult result;
  {
    FileLock running(target_ / L"favorites.dll");  // the IDE holds its library
    ASSERT_TRUE(running.held());
    auto run = install();
    ASSERT_TRUE(run->makeSubfolder(L"img"));
    ASSERT_TRUE(stage(*run, L"", L"btn_about.bmp"));
    ASSERT_TRUE(stage(*run, L"", L"btn_new.bmp"));
    ASSERT_TRUE(stage(*run, L"img", L"fav_star.bmp"));
    ASSERT_TRUE(stage(*run, L"", L"favorites.dll"));
    result = run->commit();
  }
  EXPECT_FALSE(result.succeeded);
  EXPECT_EQ(result.failure.file, L"favorites.dll");
  EXPECT_EQ(result.failure.error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(result.failure.reason, systemErrorText(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(result.restored,
            (std::vector<std::wstring>{L"fav_star.bmp", L"btn_new.bmp", L"btn_about.bmp"}));
  EXPECT_TRUE(result.notRestored.empty());
  EXPECT_EQ(folderContent(target_), before);  // the made folder is gone too
}

TEST_F(PackageInstall, AFileListedTwiceIsPutBackToWhatItWasFirst) {
  writeFiles(package_, {{L"a.txt", "new a"}, {L"favorites.dll", "new library"}});
  writeFiles(target_, {{L"a.txt", "old a"}, {L"favorites.dll", "old library"}});
  const auto before = folderContent(target_);
  FileLock running(target_ / L"favorites.dll");
  auto run = install();
  ASSERT_TRUE(stage(*run, L"", L"a.txt"));
  ASSERT_TRUE(stage(*run, L"", L"a.txt"));
  ASSERT_TRUE(stage(*run, L"", L"favorites.dll"));
  EXPECT_FALSE(run->commit().succeeded);
  EXPECT_EQ(folderContent(target_), before);
}

TEST_F(PackageInstall, AFailedCopyLeavesNothingBehind) {
  writeFile(package_ / L"one.txt", "one");
  writeFile(target_ / L"one.txt", "installed before");
  const auto before = folderContent(target_);
  {
    auto run = install();
    ASSERT_TRUE(run->makeSubfolder(L"sub"));
    EXPECT_TRUE(stage(*run, L"sub", L"one.txt"));
    EXPECT_TRUE(stage(*run, L"", L"one.txt"));
    EXPECT_FALSE(stage(*run, L"", L"missing.txt"));
    EXPECT_EQ(failure_.file, L"missing.txt");
    EXPECT_EQ(failure_.error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(failure_.reason, systemErrorText(ERROR_FILE_NOT_FOUND));
  }  // never committed: taken away
  EXPECT_EQ(folderContent(target_), before);
}

TEST_F(PackageInstall, RefusedEntriesSayWhyAndWriteNothing) {
  writeFile(package_ / L"ok.txt", "fine");
  const struct {
    const wchar_t* subfolder;
    const wchar_t* file;
    const wchar_t* reason;
  } cases[] = {
      {L"", L"NUL", L"the setup file names a device, not a file"},
      {L"", L"com1.bmp", L"the setup file names a device, not a file"},
      {L"AUX", L"ok.txt", L"the setup file names a device, not a file"},
      {L"", L"..\\ok.txt", L"the setup file names a place outside the package's folder"},
      {L"..", L"ok.txt", L"the setup file names a place outside the package's folder"},
      {L"", L"C:\\ok.txt", L"the setup file names a place outside the package's folder"},
  };
  auto run = install();
  for (const auto& c : cases) {
    EXPECT_FALSE(run->makeSubfolder(c.subfolder)) << c.subfolder;
    EXPECT_FALSE(stage(*run, c.subfolder, c.file)) << c.file;
    EXPECT_EQ(failure_.file, c.file);
    EXPECT_EQ(failure_.error, static_cast<DWORD>(ERROR_BAD_PATHNAME)) << c.file;
    EXPECT_EQ(failure_.reason, c.reason) << c.file;
  }
  EXPECT_TRUE(std::filesystem::is_empty(target_));

  for (const wchar_t* folder : {L"", L"PlugIns\\", L"C:PlugIns\\", L"C:\\NUL\\"}) {
    TPackageInstall relative(package_.wstring() + L"\\", folder);
    EXPECT_FALSE(relative.makeSubfolder(L"sub")) << folder;
    EXPECT_FALSE(relative.stage(L"", L"ok.txt", failure_)) << folder;
    EXPECT_EQ(failure_.reason, L"the install folder is not a full path") << folder;
  }
}

// A link anywhere from the install folder down to the target file: the check
// through the attributes seam, since Wine reports no file link as one.
TEST_F(PackageInstall, NothingIsWrittenThroughALink) {
  writeFile(package_ / L"ok.txt", "fine");
  std::filesystem::create_directories(target_ / L"sub" / L"deep");
  writeFile(target_ / L"sub" / L"deep" / L"ok.txt", "old");
  const auto before = folderContent(target_);
  const std::wstring root = target_.wstring();
  const struct {
    std::wstring link;  // the path the seam reports as a reparse point
    const wchar_t* subfolder;
    const wchar_t* file;
  } cases[] = {
      {root, L"", L"ok.txt"},
      {root, L"sub", L"ok.txt"},
      {root + L"\\sub", L"sub", L"ok.txt"},
      {root + L"\\sub\\deep", L"sub", L"deep\\ok.txt"},
      {root + L"\\sub\\deep\\ok.txt", L"sub", L"deep\\ok.txt"},
  };
  for (const auto& c : cases) {
    auto run = install([&](const std::wstring& path) {
      const DWORD attributes = ::GetFileAttributesW(path.c_str());
      return path == c.link && attributes != INVALID_FILE_ATTRIBUTES
                 ? attributes | FILE_ATTRIBUTE_REPARSE_POINT
                 : attributes;
    });
    EXPECT_FALSE(stage(*run, c.subfolder, c.file)) << c.link;
    EXPECT_EQ(failure_.error, static_cast<DWORD>(ERROR_REPARSE_POINT_ENCOUNTERED)) << c.link;
    EXPECT_EQ(failure_.reason,
              c.link + L" is a junction or symbolic link, and setup writes nothing through one");
  }
  auto linkedRoot = install([&](const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return path == root ? attributes | FILE_ATTRIBUTE_REPARSE_POINT : attributes;
  });
  EXPECT_FALSE(linkedRoot->makeSubfolder(L"new"));
  linkedRoot.reset();
  EXPECT_EQ(folderContent(target_), before);
}

// The same through a real directory link inside the install folder, leading
// to a folder outside it.
TEST_F(PackageInstall, ARealDirectoryLinkIsNotFollowed) {
  writeFile(package_ / L"ok.txt", "fine");
  const auto elsewhere = dir_ / L"elsewhere";
  std::filesystem::create_directories(elsewhere);
  struct LinkRemover {
    std::filesystem::path link;
    ~LinkRemover() { installertest::removeDirectoryLink(link); }
  } remover{target_ / L"sub"};
  if (!installertest::makeDirectoryLink(remover.link, elsewhere))
    GTEST_SKIP() << "no directory link can be made here";
  {
    auto run = install();
    EXPECT_FALSE(run->makeSubfolder(L"sub"));
    EXPECT_FALSE(stage(*run, L"sub", L"ok.txt"));
    EXPECT_EQ(failure_.error, static_cast<DWORD>(ERROR_REPARSE_POINT_ENCOUNTERED));
  }
  EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
}

}  // namespace
