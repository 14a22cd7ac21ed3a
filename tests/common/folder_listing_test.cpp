// A folder's entries read in batches: every one once, across batches too,
// with its attributes, and an early stop when asked.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "../support/temp_dir.h"
#include "folder_listing.h"

namespace {

std::map<std::wstring, DWORD> listed(const std::wstring& folder, bool* opened = nullptr) {
  std::map<std::wstring, DWORD> entries;
  const bool ok = fav::listFolder(folder, [&](const fav::FolderEntry& e) {
    EXPECT_TRUE(entries.emplace(std::wstring(e.name), e.attributes).second)
        << "twice: " << std::wstring(e.name);
    return true;
  });
  if (opened) *opened = ok;
  return entries;
}

TEST(FolderListing, EveryEntryOnceAcrossBatchesWithItsAttributes) {
  testsupport::TempDir dir;
  // Long names fill a batch after a few hundred entries: this folder takes several.
  const std::wstring padding(60, L'x');
  constexpr int kFiles = 1500;
  for (int i = 0; i < kFiles; ++i)
    testsupport::writeFile(dir / (L"script_" + std::to_wstring(i) + padding + L".sql"), "x");
  std::filesystem::create_directories(dir / L"sub");
  bool opened = false;
  const auto entries = listed(dir.str(), &opened);
  EXPECT_TRUE(opened);
  EXPECT_EQ(entries.size(), static_cast<size_t>(kFiles + 1)) << "no \".\" or \"..\"";
  EXPECT_EQ(entries.count(L"script_0" + padding + L".sql"), 1u);
  EXPECT_EQ(entries.count(L"script_1499" + padding + L".sql"), 1u);
  ASSERT_EQ(entries.count(L"sub"), 1u);
  EXPECT_TRUE(entries.at(L"sub") & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(entries.at(L"script_7" + padding + L".sql") & FILE_ATTRIBUTE_DIRECTORY);
  // A trailing separator names the same folder.
  EXPECT_EQ(listed(dir.str() + L"\\").size(), entries.size());
}

TEST(FolderListing, StopsWhenToldAndSaysWhenTheFolderCannotBeListed) {
  testsupport::TempDir dir;
  for (const wchar_t* name : {L"a.sql", L"b.sql", L"c.sql"}) testsupport::writeFile(dir / name, "x");
  int seen = 0;
  EXPECT_TRUE(fav::listFolder(dir.str(), [&](const fav::FolderEntry&) { return ++seen < 2; }));
  EXPECT_EQ(seen, 2);

  bool opened = true;
  EXPECT_TRUE(listed((dir / L"missing").wstring(), &opened).empty());
  EXPECT_FALSE(opened);
  EXPECT_TRUE(listed(L"", &opened).empty());
  EXPECT_FALSE(opened);
  // A file is no folder: nothing listed.
  EXPECT_TRUE(listed((dir / L"a.sql").wstring()).empty());
}

}  // namespace
