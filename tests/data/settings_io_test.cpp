// The settings file on disk: reads that know the file's version and never
// take an unreadable file for a missing one; saves that keep what the file
// is, leave the previous version as .bak and clean up only their own leftovers.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "data_test_util.h"
#include "ini_file.h"
#include "settings_io.h"
#include "temp_dir.h"

namespace {

using datatest::show;
using testsupport::fileNames;
using testsupport::readFile;
using testsupport::writeFile;

const std::string kOld = "[Settings]\r\nLeft=1\r\n; a comment of the user's\r\n";

// A save as Add Current or Configure Ok makes one: load, change, save.
bool changeAndSave(const std::wstring& path, std::wstring* error) {
  IniFile ini = IniFile::load(path);
  ini.writeNumber(L"Settings", L"Left", 2);
  return ini.save(path, error);
}

TEST(SettingsRead, AFileThatCannotBeReadIsAFailedReadNeverAMissingFile) {
  struct Row {
    const char* name;
    const wchar_t* where;  // under the test's folder
    std::function<void(const std::filesystem::path&)> make;  // puts it there
    bool failed;
    bool exists;
    std::wstring reason;  // the system's words, when failed
  };
  std::unique_ptr<testsupport::FileLock> lock;
  const Row rows[] = {
      {"held by another program with no sharing", L"Favorites.ini",
       [&](const auto& p) {
         writeFile(p, kOld);
         lock = std::make_unique<testsupport::FileLock>(p, 0);
         ASSERT_TRUE(lock->held());
       },
       true, true, settings_io::systemMessage(ERROR_SHARING_VIOLATION)},
      {"a folder of that name", L"Favorites.ini", [](const auto& p) { std::filesystem::create_directories(p); },
       true, true, L"a folder has that name"},
      {"no file", L"Favorites.ini", [](const auto&) {}, false, false, L""},
      // The platform's reader gives up on it as on a file it cannot open.
      {"no folder either", L"gone\\Favorites.ini", [](const auto&) {}, true, false,
       settings_io::systemMessage(ERROR_PATH_NOT_FOUND)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    testsupport::TempDir dir;
    const auto path = dir / row.where;
    row.make(path);
    const IniFile ini = IniFile::load(path.wstring());
    EXPECT_EQ(ini.openFailed(), row.failed);
    EXPECT_EQ(ini.openError(), row.reason);
    EXPECT_EQ(ini.version().exists, row.exists);
    EXPECT_EQ(ini.readNumber(L"Settings", L"Left", 200), 200);
    if (row.failed) {
      // Its content is never replaced by ours, and the user learns why.
      IniFile changed = IniFile::load(path.wstring());
      changed.writeNumber(L"Settings", L"Left", 5);
      std::wstring error;
      EXPECT_FALSE(changed.save(path.wstring(), &error));
      EXPECT_NE(error.find(path.wstring()), std::wstring::npos) << show(error);
      EXPECT_NE(error.find(row.reason), std::wstring::npos) << show(error);
    }
    lock.reset();
    if (std::filesystem::is_regular_file(path)) {
      EXPECT_EQ(readFile(path), kOld);
    }
  }
}

TEST(SettingsRead, TheVersionTellsFilesApart) {
  testsupport::TempDir dir;
  const auto path = dir / L"Favorites.ini";
  writeFile(path, kOld);
  const FileVersion first = IniFile::load(path.wstring()).version();
  EXPECT_TRUE(first.exists);
  EXPECT_NE(first.fileIndex, 0u);
  EXPECT_EQ(first.size, kOld.size());
  EXPECT_NE(first.contentHash, 0u);
  EXPECT_EQ(IniFile::load(path.wstring()).version(), first);

  // A query agrees on all but the hash, which it leaves to a read.
  const FileVersion queried = queryFileVersion(path.wstring());
  EXPECT_TRUE(queried.sameStamp(first));
  EXPECT_EQ(queried.contentHash, 0u);
  // So do the two the menus ask between reads, or every call would read.
  EXPECT_TRUE(quickFileVersion(path.wstring()).sameSizeAndTime(first));
  EXPECT_TRUE(fileVersionByHandle(path.wstring()).sameFileUnchanged(first));
  {
    // A file held without sharing still answers a query.
    testsupport::FileLock lock(path, 0);
    ASSERT_TRUE(lock.held());
    EXPECT_TRUE(queryFileVersion(path.wstring()).sameStamp(first));
    EXPECT_TRUE(fileVersionByHandle(path.wstring()).sameFileUnchanged(first));
  }

  // Same size, same write time, one byte changed: only the hash sees it.
  std::string edited = kOld;
  edited[kOld.find('1')] = '7';
  writeFile(path, edited);
  ASSERT_TRUE(testsupport::setWriteTime(path, first.lastWrite));
  const FileVersion second = IniFile::load(path.wstring()).version();
  EXPECT_TRUE(second.sameStamp(first));
  EXPECT_NE(second.contentHash, first.contentHash);
  // Without a read, the change time tells.
  EXPECT_TRUE(quickFileVersion(path.wstring()).sameSizeAndTime(first));
  EXPECT_FALSE(fileVersionByHandle(path.wstring()).sameFileUnchanged(first));
  EXPECT_TRUE(fileVersionByHandle(path.wstring()).sameFileUnchanged(second));

  // Another file put in its place is another identity.
  const auto other = dir / L"other.ini";
  writeFile(other, edited);
  ASSERT_TRUE(::MoveFileExW(other.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_NE(queryFileVersion(path.wstring()).fileIndex, first.fileIndex);
  EXPECT_NE(fileVersionByHandle(path.wstring()).fileIndex, first.fileIndex);

  const FileVersion missing = queryFileVersion((dir / L"missing.ini").wstring());
  EXPECT_FALSE(missing.exists);
  EXPECT_EQ(missing, FileVersion{});
  EXPECT_EQ(quickFileVersion((dir / L"missing.ini").wstring()), FileVersion{});
  EXPECT_EQ(fileVersionByHandle((dir / L"missing.ini").wstring()), FileVersion{});
}

TEST(SettingsSave, ThePreviousVersionStaysBesideItAsBak) {
  testsupport::TempDir dir;
  const auto path = dir / L"Favorites.ini";
  const auto bak = dir / L"Favorites.ini.bak";
  std::wstring error;

  // A first save creates the file, and there is no previous version.
  IniFile fresh;
  fresh.writeNumber(L"Settings", L"Left", 1);
  ASSERT_TRUE(fresh.save(path.wstring(), &error)) << show(error);
  EXPECT_EQ(fileNames(dir.path()), std::vector<std::wstring>{L"Favorites.ini"});

  writeFile(path, kOld);
  ASSERT_TRUE(changeAndSave(path.wstring(), &error)) << show(error);
  const std::string saved = readFile(path);
  EXPECT_EQ(saved, "[Settings]\r\nLeft=2\r\n; a comment of the user's\r\n");
  EXPECT_EQ(readFile(bak), kOld);

  // Each save replaces it with the version it replaced.
  IniFile again = IniFile::load(path.wstring());
  again.writeNumber(L"Settings", L"Left", 3);
  ASSERT_TRUE(again.save(path.wstring(), &error)) << show(error);
  EXPECT_EQ(readFile(bak), saved);
  EXPECT_EQ(fileNames(dir.path()),
            (std::vector<std::wstring>{L"Favorites.ini", L"Favorites.ini.bak"}));
}

TEST(SettingsSave, ARefusedSaveLeavesTheFileAndItsBakAsTheyWere) {
  // How another program can hold the file: each share mode it might grant.
  const struct {
    const char* name;
    DWORD share;
  } locks[] = {
      {"readers only", FILE_SHARE_READ},
      {"readers and writers, no delete", FILE_SHARE_READ | FILE_SHARE_WRITE},
  };
  for (const auto& l : locks) {
    SCOPED_TRACE(l.name);
    testsupport::TempDir dir;
    const auto path = dir / L"Favorites.ini";
    writeFile(path, kOld);
    writeFile(dir / L"Favorites.ini.bak", "the user's backup");
    IniFile ini = IniFile::load(path.wstring());
    ini.writeNumber(L"Settings", L"Left", 9);
    std::wstring error;
    {
      testsupport::FileLock lock(path, l.share);
      ASSERT_TRUE(lock.held());
      EXPECT_FALSE(ini.save(path.wstring(), &error));
    }
    // The user is told the file is in use, not something that misleads.
    EXPECT_EQ(error, L"Could not save " + path.wstring() + L": " +
                         settings_io::systemMessage(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(readFile(path), kOld);
    EXPECT_EQ(readFile(dir / L"Favorites.ini.bak"), "the user's backup");
    EXPECT_EQ(fileNames(dir.path()),
              (std::vector<std::wstring>{L"Favorites.ini", L"Favorites.ini.bak"}));
  }
}

TEST(SettingsSave, TempNamesAreRecognisedExactly) {
  const struct {
    const wchar_t* name;
    bool ours;
  } rows[] = {
      {L"Favorites.ini.~123-456.tmp", true},
      {L"FAVORITES.INI.~1-2.tmp", true},
      {L"Favorites.ini.~-2.tmp", false},
      {L"Favorites.ini.~1-.tmp", false},
      {L"Favorites.ini.~1-2.tmp.keep", false},
      {L"Favorites.ini.~a-2.tmp", false},
      {L"Favorites.ini.tmp", false},
      {L"Favorites.ini", false},
      {L"Other.ini.~1-2.tmp", false},
      {L"Favorites.ini2.~1-2.tmp", false},
  };
  for (const auto& row : rows)
    EXPECT_EQ(settings_io::isOurTempName(L"Favorites.ini", row.name), row.ours) << show(row.name);
}

TEST(SettingsSave, OnlyOurOwnStaleTempFilesAreRemoved) {
  testsupport::TempDir dir;
  const auto path = dir / L"Favorites.ini";
  const std::uint64_t twoMinutesAgo = testsupport::systemTicksNow() - 120ull * 10'000'000;
  const std::vector<std::wstring> kept = {
      L"Favorites.ini.~124-457.tmp",   // written a moment ago: a save under way
      L"Favorites.ini.~125-458.tmp",   // old, but another save holds it open
      L"Favorites.ini.~mine.tmp",      // not our pattern
      L"Other.ini.~1-2.tmp",           // another file's
      L"Favorites.ini.~1-2.tmp.keep",
  };
  writeFile(dir / L"Favorites.ini.~123-456.tmp", "left by a crash");
  ASSERT_TRUE(testsupport::setWriteTime(dir / L"Favorites.ini.~123-456.tmp", twoMinutesAgo));
  for (const auto& name : kept) {
    writeFile(dir / name, "x");
    if (name != kept[0]) {
      ASSERT_TRUE(testsupport::setWriteTime(dir / name, twoMinutesAgo));
    }
  }

  // With no settings file, a leftover may be all that is left of it: kept.
  std::wstring error;
  IniFile fresh;
  fresh.writeNumber(L"Settings", L"Left", 1);
  ASSERT_TRUE(fresh.save(path.wstring(), &error)) << show(error);
  EXPECT_TRUE(std::filesystem::exists(dir / L"Favorites.ini.~123-456.tmp"));

  {
    testsupport::FileLock busy(dir / kept[1], 0);
    ASSERT_TRUE(busy.held());
    ASSERT_TRUE(changeAndSave(path.wstring(), &error)) << show(error);
  }
  std::vector<std::wstring> expected = kept;
  expected.push_back(L"Favorites.ini");
  expected.push_back(L"Favorites.ini.bak");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(fileNames(dir.path()), expected);
}

// Long paths reach the file system only in their "\\?\" form.
std::wstring extended(const std::wstring& path) { return L"\\\\?\\" + path; }

void writeLong(const std::wstring& path, const std::string& bytes) {
  const HANDLE h = ::CreateFileW(extended(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD put = 0;
  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  ::CloseHandle(h);
}

TEST(SettingsSave, PathsNearMaxPathSaveWhereverTheyRead) {
  testsupport::TempDir dir;
  // 250 and 259 characters read without a prefix (the temp name beside them
  // does not fit MAX_PATH); 300 only with one.
  for (size_t length : {250u, 259u, 300u}) {
    SCOPED_TRACE(length);
    const std::wstring folder = dir.str() + L"\\" + std::wstring(120, L'd');
    ::CreateDirectoryW(extended(folder).c_str(), nullptr);
    const std::wstring stem = folder + L"\\Favorites";
    ASSERT_LT(stem.size() + 4, length);
    const std::wstring path = stem + std::wstring(length - stem.size() - 4, L'x') + L".ini";
    ASSERT_EQ(path.size(), length);
    writeLong(path, kOld);

    const IniFile read = IniFile::load(path);
    ASSERT_FALSE(read.openFailed()) << show(read.openError());
    EXPECT_EQ(read.readNumber(L"Settings", L"Left", 0), 1);
    std::wstring error;
    ASSERT_TRUE(changeAndSave(path, &error)) << show(error);
    EXPECT_EQ(IniFile::load(path).readNumber(L"Settings", L"Left", 0), 2);
    EXPECT_EQ(readFile(std::filesystem::path(extended(path + L".bak"))), kOld);
    // Nothing else of ours is left: the folder empties with these two.
    ::DeleteFileW(extended(path).c_str());
    ::DeleteFileW(extended(path + L".bak").c_str());
    EXPECT_TRUE(::RemoveDirectoryW(extended(folder).c_str()));
  }
}

std::wstring daclText(const std::wstring& path) {
  PSECURITY_DESCRIPTOR sd = nullptr;
  if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr, &sd) != ERROR_SUCCESS)
    return L"<none>";
  wchar_t* text = nullptr;
  ::ConvertSecurityDescriptorToStringSecurityDescriptorW(sd, SDDL_REVISION_1,
                                                         DACL_SECURITY_INFORMATION, &text, nullptr);
  std::wstring out = text ? text : L"<none>";
  ::LocalFree(text);
  ::LocalFree(sd);
  return out;
}

TEST(SettingsSave, TheFileKeepsItsAttributesAndItsOwnAcl) {
  testsupport::TempDir dir;
  const auto path = dir / L"Favorites.ini";
  writeFile(path, kOld);
  ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
  // A DACL of the user's own, cut loose from the folder's.
  PSECURITY_DESCRIPTOR wanted = nullptr;
  ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(
      L"D:P(A;;FA;;;WD)", SDDL_REVISION_1, &wanted, nullptr));
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  ::GetSecurityDescriptorDacl(wanted, &present, &dacl, &defaulted);
  const DWORD set = ::SetNamedSecurityInfoW(
      const_cast<wchar_t*>(path.c_str()), SE_FILE_OBJECT,
      DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl,
      nullptr);
  ::LocalFree(wanted);
  const std::wstring before = daclText(path.wstring());
  const bool aclKept = set == ERROR_SUCCESS && before.rfind(L"D:P", 0) == 0;

  std::wstring error;
  ASSERT_TRUE(changeAndSave(path.wstring(), &error)) << show(error);
  EXPECT_EQ(IniFile::load(path.wstring()).readNumber(L"Settings", L"Left", 0), 2);
  EXPECT_TRUE(::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  if (!aclKept) GTEST_SKIP() << "this system keeps no DACL of a file's own (set gave " << set << ")";
  EXPECT_EQ(daclText(path.wstring()), before);
}

TEST(SettingsSave, AnAlternateStreamSurvives) {
  testsupport::TempDir dir;
  const auto path = dir / L"Favorites.ini";
  writeFile(path, kOld);
  const std::wstring stream = path.wstring() + L":notes";
  {
    const HANDLE h = ::CreateFileW(stream.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
      GTEST_SKIP() << "this file system has no alternate streams (error " << ::GetLastError()
                   << ")";
    DWORD put = 0;
    ::WriteFile(h, "kept", 4, &put, nullptr);
    ::CloseHandle(h);
  }
  if (fileNames(dir.path()).size() != 1)
    GTEST_SKIP() << "no alternate streams here: the stream's name made a file of its own";
  std::wstring error;
  ASSERT_TRUE(changeAndSave(path.wstring(), &error)) << show(error);
  EXPECT_EQ(readFile(std::filesystem::path(stream)), "kept");
}

bool isLink(const std::filesystem::path& p) {
  const DWORD attributes = ::GetFileAttributesW(p.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

TEST(SettingsSave, ALinkStaysALinkAndItsTargetIsReplaced) {
  testsupport::TempDir dir;
  const auto real = dir / L"real" / L"Favorites.ini";
  writeFile(real, kOld);
  const auto link = dir / L"Favorites.ini";
  if (!::CreateSymbolicLinkW(link.c_str(), real.c_str(),
                             SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
    GTEST_SKIP() << "CreateSymbolicLinkW refused here (error " << ::GetLastError() << ")";
  if (!isLink(link)) GTEST_SKIP() << "CreateSymbolicLinkW reported success but made no link here";

  std::wstring error;
  ASSERT_TRUE(changeAndSave(link.wstring(), &error)) << show(error);
  EXPECT_TRUE(isLink(link));
  EXPECT_EQ(IniFile::load(real.wstring()).readNumber(L"Settings", L"Left", 0), 2);
  EXPECT_EQ(readFile(dir / L"real" / L"Favorites.ini.bak"), kOld);
  EXPECT_EQ(fileNames(dir.path()), (std::vector<std::wstring>{L"Favorites.ini", L"real"}));
}

}  // namespace
