// The snapshot the menus answer from, over a file system and a clock of the
// test's own: which changes make the next call read the file, the racy
// window, failed reads, our own saves and the end of a snapshot.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "settings_snapshot.h"

namespace {

constexpr std::uint64_t kSecond = 10'000'000;
constexpr std::uint64_t kStart = 133'000'000'000'000'000ull;  // some day in 2022
const std::wstring kPath = L"c:\\ide\\PlugIns\\Favorites.ini";

// One settings file and the clock, as the snapshot sees them.
struct Disk {
  bool exists = true, locked = false;
  std::string bytes;
  FileVersion stamp;  // identity and times; size and hash follow the bytes
  std::uint64_t clock = kStart;
  int handleQueries = 0;

  // A write at the clock's time, as an editor makes one.
  void write(const std::string& text) {
    bytes = text;
    exists = true;
    stamp.lastWrite = stamp.changeTime = clock;
  }
  FileVersion quick() const {
    FileVersion v;
    v.exists = exists;
    if (exists) {
      v.size = bytes.size();
      v.lastWrite = stamp.lastWrite;
    }
    return v;
  }
  FileVersion byHandle() {
    ++handleQueries;
    FileVersion v = quick();
    if (exists) {
      v.fileIndex = stamp.fileIndex;
      v.changeTime = stamp.changeTime;
    }
    return v;
  }
  settings_io::FileRead read() const {
    settings_io::FileRead r;
    if (!exists) return r;
    r.version = quick();
    r.version.fileIndex = stamp.fileIndex;
    r.version.changeTime = stamp.changeTime;
    if (locked) {
      r.status = settings_io::FileRead::Status::Failed;
      r.error = L"The process cannot access the file";
      return r;
    }
    r.status = settings_io::FileRead::Status::Read;
    r.bytes = bytes;
    r.version.contentHash = settings_io::contentHash(bytes);
    return r;
  }
};

class SnapshotTest : public ::testing::Test {
 protected:
  SnapshotTest()
      : snapshot({[this](const std::wstring&) { return disk.quick(); },
                  [this](const std::wstring&) { return disk.byHandle(); },
                  [this](const std::wstring&) { return disk.read(); },
                  [this] { return disk.clock; }}) {
    disk.stamp.fileIndex = 41;
    disk.write(list("a.sql"));
    disk.clock += 60 * kSecond;  // a user's file: written long before
  }

  static std::string list(const std::string& first) { return "[Files]\r\nFile1=c:\\" + first + "\r\n"; }
  std::wstring first(bool newRefresh = false) {
    return snapshot.forCall(kPath, newRefresh)->readText(L"Files", L"File1", L"");
  }

  Disk disk;
  plugin::SettingsSnapshot snapshot;
};

TEST_F(SnapshotTest, AnUnchangedFileIsReadOncePerVersion) {
  for (int refresh = 0; refresh < 50; ++refresh)
    for (int index = 1; index <= 99; ++index) EXPECT_EQ(first(index == 1), L"c:\\a.sql");
  EXPECT_EQ(snapshot.reads(), 1u);
  EXPECT_EQ(disk.handleQueries, 49);  // once per later refresh, never per call

  disk.clock += kSecond;
  disk.write(list("b.sql"));
  disk.clock += 60 * kSecond;
  EXPECT_EQ(first(), L"c:\\b.sql");
  EXPECT_EQ(first(), L"c:\\b.sql");
  EXPECT_EQ(snapshot.reads(), 2u);
}

TEST_F(SnapshotTest, WhatTheNextCallNotices) {
  struct Row {
    const char* change;
    std::function<void(Disk&)> make;
    bool newRefresh;
    const wchar_t* seen;  // File1 at the next call
  };
  const Row rows[] = {
      {"a write with another time", [](Disk& d) { d.write(list("b.sql")); }, false, L"c:\\b.sql"},
      {"a write of another size, its time put back",
       [](Disk& d) {
         const auto time = d.stamp.lastWrite;
         d.write(list("longer.sql"));
         d.stamp.lastWrite = time;
       },
       false, L"c:\\longer.sql"},
      {"same size and time, only the change time moved (within a refresh)",
       [](Disk& d) {
         const auto time = d.stamp.lastWrite;
         d.write(list("b.sql"));
         d.stamp.lastWrite = time;
       },
       false, L"c:\\a.sql"},
      {"same size and time, only the change time moved (a new refresh)",
       [](Disk& d) {
         const auto time = d.stamp.lastWrite;
         d.write(list("b.sql"));
         d.stamp.lastWrite = time;
       },
       true, L"c:\\b.sql"},
      {"another file renamed into place with the same size and times",
       [](Disk& d) {
         d.bytes = list("b.sql");
         d.stamp.fileIndex = 42;
       },
       true, L"c:\\b.sql"},
      {"the file removed", [](Disk& d) { d.exists = false; }, false, L""},
      {"nothing", [](Disk&) {}, true, L"c:\\a.sql"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.change);
    disk = Disk();
    disk.stamp.fileIndex = 41;
    disk.write(list("a.sql"));
    disk.clock += 60 * kSecond;
    snapshot.release();
    ASSERT_EQ(first(true), L"c:\\a.sql");
    disk.clock += 10 * kSecond;
    row.make(disk);
    disk.clock += 10 * kSecond;  // outside the racy window
    EXPECT_EQ(first(row.newRefresh), row.seen);
  }
}

TEST_F(SnapshotTest, AFileWrittenCloseToTheReadIsReadAgainUntilItsTimeIsSafe) {
  disk.write(list("a.sql"));
  disk.clock += kSecond / 2;
  EXPECT_EQ(first(), L"c:\\a.sql");
  // A second write in the same tick: every stamp as it was.
  const FileVersion before = disk.stamp;
  disk.bytes = list("b.sql");
  disk.stamp = before;
  EXPECT_EQ(first(), L"c:\\b.sql");
  const auto parses = snapshot.parses();
  EXPECT_EQ(first(), L"c:\\b.sql");
  EXPECT_EQ(snapshot.parses(), parses);  // the same bytes keep their parse

  disk.clock = before.lastWrite + plugin::SettingsSnapshot::kRacyTicks;
  first();
  const auto reads = snapshot.reads();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(first(), L"c:\\b.sql");
  EXPECT_EQ(snapshot.reads(), reads);

  // A time in our future (another machine's clock) is never trusted.
  disk.write(list("c.sql"));
  disk.stamp.lastWrite = disk.clock + 3600 * kSecond;
  first();
  EXPECT_EQ(first(), L"c:\\c.sql");
  EXPECT_EQ(snapshot.reads(), reads + 2);
}

TEST_F(SnapshotTest, AFileThatCannotBeReadIsNeverKept) {
  EXPECT_EQ(first(true), L"c:\\a.sql");
  // Held by another program but unchanged: the list read before still stands.
  disk.locked = true;
  EXPECT_EQ(first(true), L"c:\\a.sql");

  disk.write(list("b.sql"));
  disk.clock += 10 * kSecond;
  const auto failed = snapshot.forCall(kPath, false);
  EXPECT_TRUE(failed->openFailed());
  EXPECT_EQ(failed->readText(L"Files", L"File1", L""), L"");
  const auto reads = snapshot.reads();
  first();
  EXPECT_EQ(snapshot.reads(), reads + 1);  // tried again, not remembered

  disk.locked = false;
  EXPECT_EQ(first(), L"c:\\b.sql");
  EXPECT_FALSE(snapshot.forCall(kPath, false)->openFailed());
}

TEST_F(SnapshotTest, OurOwnSaveIsTheSnapshot) {
  EXPECT_EQ(first(), L"c:\\a.sql");
  const std::string saved = list("saved.sql");
  snapshot.saved(kPath, saved);
  disk.write(saved);
  const auto reads = snapshot.reads(), parses = snapshot.parses();
  EXPECT_EQ(snapshot.forCall(kPath, false)->readText(L"Files", L"File1", L""), L"c:\\saved.sql");
  // Just written: read once more to be sure, but the bytes agree.
  EXPECT_EQ(snapshot.reads(), reads + 1);
  EXPECT_EQ(snapshot.parses(), parses);

  // A save elsewhere is not this file.
  snapshot.saved(L"c:\\other\\Favorites.ini", list("other.sql"));
  EXPECT_EQ(first(), L"c:\\saved.sql");
}

TEST_F(SnapshotTest, ACallKeepsItsVersionAndReleaseLetsItGo) {
  const auto during = snapshot.forCall(kPath, true);
  disk.write(list("b.sql"));
  disk.clock += 10 * kSecond;
  EXPECT_EQ(first(), L"c:\\b.sql");
  EXPECT_EQ(during->readText(L"Files", L"File1", L""), L"c:\\a.sql");

  std::weak_ptr<const IniFile> kept = snapshot.forCall(kPath, false);
  EXPECT_FALSE(kept.expired());
  snapshot.release();
  EXPECT_TRUE(kept.expired());
  EXPECT_EQ(first(), L"c:\\b.sql");
}

}  // namespace
