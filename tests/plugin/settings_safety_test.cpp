// Add Current over settings files that fight back: whatever is at the path,
// the user's list is either left byte for byte or gains the new entry with
// every line it had kept as it was.
#include <windows.h>

#include <cctype>
#include <functional>
#include <memory>

#include "plugin_fixture.h"

namespace {

using testsupport::PluginTest;

// The lines of a text, whatever ends them.
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// True when every line of before is in after, in the same order.
bool keepsEveryLine(const std::string& before, const std::string& after) {
  const auto old = linesOf(before);
  const auto now = linesOf(after);
  size_t at = 0;
  for (const std::string& line : now)
    if (at < old.size() && line == old[at]) ++at;
  return at == old.size();
}

const std::string kList =
    "; kept by hand\n[Settings]\nSavePassword=0\nUnknownOption = spaced\n\n"
    "[Files]\nFile1=c:\\a.sql\n[Foreign]\nanything=goes\n";

struct Fixture {
  const char* name;
  // Puts the hostile thing at the settings path; returns what holds it there.
  std::function<std::shared_ptr<void>(const std::filesystem::path& ini)> make;
  enum Outcome { Untouched, Added } outcome;
  const wchar_t* realFile = L"Favorites.ini";  // where the list really is
};

std::shared_ptr<void> lockWith(const std::filesystem::path& ini, DWORD share) {
  testsupport::writeFile(ini, kList);
  auto lock = std::make_shared<testsupport::FileLock>(ini, share);
  EXPECT_TRUE(lock->held());
  return lock;
}

const Fixture kFixtures[] = {
    {"a folder in the file's place",
     [](const auto& ini) {
       std::filesystem::create_directories(ini);
       return std::shared_ptr<void>();
     },
     Fixture::Untouched},
    {"held with no sharing", [](const auto& ini) { return lockWith(ini, 0); }, Fixture::Untouched},
    {"held for reading only", [](const auto& ini) { return lockWith(ini, FILE_SHARE_READ); },
     Fixture::Untouched},
    {"lines the plug-in does not own",
     [](const auto& ini) {
       testsupport::writeFile(ini, kList);
       return std::shared_ptr<void>();
     },
     Fixture::Added},
    {"a hidden file",
     [](const auto& ini) {
       testsupport::writeFile(ini, kList);
       ::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_HIDDEN);
       return std::shared_ptr<void>();
     },
     Fixture::Added},
    {"a link to the real file",
     [](const auto& ini) {
       const auto real = ini.parent_path() / L"real" / L"Favorites.ini";
       testsupport::writeFile(real, kList);
       ::CreateSymbolicLinkW(ini.c_str(), real.c_str(),
                             SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
       const DWORD attributes = ::GetFileAttributesW(ini.c_str());
       if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
         return std::shared_ptr<void>();
       return std::shared_ptr<void>(std::make_shared<int>(0));  // made: the case runs
     },
     Fixture::Added, L"real\\Favorites.ini"},
};

void PrintTo(const Fixture& fixture, std::ostream* os) { *os << fixture.name; }

class HostileSettingsFile : public PluginTest, public ::testing::WithParamInterface<Fixture> {};

TEST_P(HostileSettingsFile, AddCurrentKeepsTheUsersList) {
  const Fixture& fixture = GetParam();
  const bool viaLink = std::wstring(fixture.realFile) != L"Favorites.ini";
  std::shared_ptr<void> holder = fixture.make(iniPath());
  if (viaLink && !holder) GTEST_SKIP() << "CreateSymbolicLinkW made no link here (Wine's is a stub)";
  const std::filesystem::path file = dir / fixture.realFile;
  const bool isFile = std::filesystem::is_regular_file(file);
  // Every fixture with a file writes the list (a locked one cannot be read here).
  const std::string before = isFile ? kList : std::string();
  const DWORD attributes = ::GetFileAttributesW(file.c_str());
  const DWORD atPath = ::GetFileAttributesW(iniPath().c_str());

  loadPlugin();
  host.windows = {{"c:\\w\\new.sql", 1, 0}};
  host.currentWindow = 0;
  host.clearRecords();
  host.onMenuClick(2);
  holder.reset();

  // What is at the path stays what it was: a folder, a file, a link.
  EXPECT_EQ(::GetFileAttributesW(iniPath().c_str()) & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
            atPath & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
  EXPECT_EQ(::GetFileAttributesW(file.c_str()), attributes);
  if (fixture.outcome == Fixture::Untouched) {
    if (isFile) {
      EXPECT_EQ(testsupport::readFile(file), before);
    } else {
      EXPECT_TRUE(std::filesystem::is_empty(file));
    }
    EXPECT_EQ(host.refreshRequests, 0);
    EXPECT_EQ(testsupport::fileNames(dir.path()),
              (std::vector<std::wstring>{L"Favorites.ini", L"favorites.dll"}));
    return;
  }
  const std::string after = testsupport::readFile(file);
  EXPECT_TRUE(keepsEveryLine(before, after)) << after;
  EXPECT_NE(after.find("File2=c:\\w\\new.sql"), std::string::npos) << after;
  EXPECT_EQ(testsupport::readFile(file.wstring() + L".bak"), before);
  EXPECT_EQ(host.refreshRequests, 1);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, HostileSettingsFile, ::testing::ValuesIn(kFixtures),
                         [](const auto& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p)
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           return name;
                         });

}  // namespace
