// Relinking missing favorites without a window: which file each missing
// favorite takes from what a search met, the summary and progress texts,
// and the list model's file marks, hint, enabled rule and undo for it.
#include <gtest/gtest.h>

#include <cctype>

#include <string>
#include <vector>

#include "favorites_list.h"
#include "relink.h"

namespace {

using favlist::Presence;

struct MatchCase {
  const char* name;
  std::vector<std::wstring> missing;  // old paths, list indexes 0, 1, ...
  std::vector<std::wstring> met;      // files the search meets, in order
  std::vector<std::wstring> expected; // the file each favorite takes, "" = stays missing
};

const MatchCase kMatchCases[] = {
    {"one match is taken", {L"c:\\old\\a.sql"}, {L"d:\\new\\x.sql", L"d:\\new\\deep\\a.sql"},
     {L"d:\\new\\deep\\a.sql"}},
    {"no match stays missing", {L"c:\\old\\a.sql"}, {L"d:\\new\\b.sql"}, {L""}},
    {"the name matches ignoring case", {L"c:\\old\\Report.SQL"}, {L"d:\\new\\REPORT.sql"},
     {L"d:\\new\\REPORT.sql"}},
    {"a name that only contains it is no match", {L"c:\\old\\a.sql"},
     {L"d:\\new\\aa.sql", L"d:\\new\\a.sql.bak"}, {L""}},
    {"several: the longest shared folder tail wins",
     {L"c:\\old\\proj\\pkg\\body.pkb"},
     {L"d:\\x\\body.pkb", L"d:\\x\\proj\\pkg\\body.pkb", L"d:\\x\\pkg\\body.pkb"},
     {L"d:\\x\\proj\\pkg\\body.pkb"}},
    {"the tail compares folder names ignoring case", {L"c:\\old\\Proj\\Pkg\\b.sql"},
     {L"d:\\pkg\\b.sql", L"d:\\PROJ\\PKG\\b.sql"}, {L"d:\\PROJ\\PKG\\b.sql"}},
    {"a tie takes the first met", {L"c:\\old\\pkg\\b.sql"},
     {L"d:\\one\\pkg\\b.sql", L"d:\\two\\pkg\\b.sql"}, {L"d:\\one\\pkg\\b.sql"}},
    {"no shared folder: the first met", {L"c:\\old\\b.sql"},
     {L"d:\\one\\b.sql", L"d:\\two\\b.sql"}, {L"d:\\one\\b.sql"}},
    {"a shared folder must end the path, not sit anywhere in it",
     {L"c:\\old\\pkg\\v1\\b.sql"}, {L"d:\\pkg\\v2\\b.sql", L"d:\\z\\v1\\b.sql"},
     {L"d:\\z\\v1\\b.sql"}},
    {"two favorites of one name each take their own",
     {L"c:\\old\\dev\\run.sql", L"c:\\old\\test\\run.sql"},
     {L"d:\\n\\test\\run.sql", L"d:\\n\\dev\\run.sql"},
     {L"d:\\n\\dev\\run.sql", L"d:\\n\\test\\run.sql"}},
    {"forward slashes are separators too", {L"c:/old/pkg/b.sql"},
     {L"d:\\a\\b.sql", L"d:\\x\\pkg\\b.sql"}, {L"d:\\x\\pkg\\b.sql"}},
};

class MatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchTest, EachMissingFavoriteTakesItsFile) {
  const MatchCase& c = GetParam();
  std::vector<relink::Missing> missing;
  for (size_t i = 0; i < c.missing.size(); ++i)
    missing.push_back({static_cast<int>(i) * 2, c.missing[i]});  // indexes need not be dense
  relink::Matcher matcher(missing);
  for (const std::wstring& path : c.met) {
    const size_t sep = path.find_last_of(L"\\");
    matcher.offer(path.substr(0, sep), path.substr(sep + 1));
  }
  const relink::Outcome outcome = matcher.outcome();
  EXPECT_EQ(outcome.missing, static_cast<int>(c.missing.size()));
  std::vector<std::wstring> taken(c.missing.size());
  for (const auto& [index, path] : outcome.relinked) taken[static_cast<size_t>(index / 2)] = path;
  EXPECT_EQ(taken, c.expected);
  size_t notFound = 0;
  for (const std::wstring& e : c.expected) notFound += e.empty();
  EXPECT_EQ(outcome.notFound.size(), notFound);
}

INSTANTIATE_TEST_SUITE_P(Relink, MatchTest, ::testing::ValuesIn(kMatchCases),
                         [](const auto& info) {
                           std::string n;
                           for (const char* p = info.param.name; *p; ++p)
                             n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return n;
                         });

TEST(RelinkMatcher, OffersOnlyKeepWantedNames) {
  relink::Matcher matcher({{0, L"c:\\old\\a.sql"}});
  EXPECT_TRUE(matcher.offer(L"d:\\x", L"A.sql"));
  EXPECT_FALSE(matcher.offer(L"d:\\x", L"b.sql"));
  EXPECT_TRUE(relink::Matcher({}).empty());
}

TEST(RelinkTexts, SummaryCountsAndNamesWhatStaysMissing) {
  relink::Outcome outcome;
  outcome.missing = 9;
  for (int i = 0; i < 7; ++i) outcome.relinked.push_back({i, L"d:\\f" + std::to_wstring(i)});
  outcome.notFound = {L"gone.sql", L"lost.pkb"};
  EXPECT_EQ(relink::summaryText(outcome, false),
            L"Relinked 7 of 9 missing favorites.\n\nNot found:\ngone.sql\nlost.pkb");

  relink::Outcome all;
  all.missing = 2;
  all.relinked = {{0, L"a"}, {1, L"b"}};
  EXPECT_EQ(relink::summaryText(all, false), L"Relinked 2 of 2 missing favorites.");
  EXPECT_EQ(relink::summaryText(all, true),
            L"Relinked 2 of 2 missing favorites.\n\nThe search stopped after 50,000 files; "
            L"choose a folder closer to the files to search the rest.");

  relink::Outcome many;
  many.missing = 25;
  for (int i = 0; i < 25; ++i) many.notFound.push_back(L"n" + std::to_wstring(i));
  const std::wstring text = relink::summaryText(many, false);
  EXPECT_NE(text.find(L"\nn19\n... and 5 more"), std::wstring::npos) << text;
  EXPECT_EQ(text.find(L"n20"), std::wstring::npos);
}

TEST(RelinkTexts, ProgressGroupsThousands) {
  EXPECT_EQ(relink::progressText(0), L"Searching... 0 files (Esc to stop)");
  EXPECT_EQ(relink::progressText(1), L"Searching... 1 file (Esc to stop)");
  EXPECT_EQ(relink::progressText(1234), L"Searching... 1,234 files (Esc to stop)");
  EXPECT_EQ(relink::progressText(50000), L"Searching... 50,000 files (Esc to stop)");
}

// --- the list model's marks -------------------------------------------------------

favlist::FavoritesList listOf(const std::vector<std::wstring>& files) {
  TFavoriteItems favorites;
  for (const std::wstring& f : files) favorites.Add().FileName(f);
  TSubMenuItems submenus;
  submenus.Add();
  favlist::FavoritesList list;
  list.load(favorites, submenus);
  return list;
}

TEST(RelinkModel, MarksHintsAndTheEnabledRule) {
  favlist::FavoritesList list = listOf({L"%path%\\a.sql", L"-", L"c:\\b.sql", L"c:\\c.sql"});
  EXPECT_FALSE(list.isEnabled(favlist::Action::RelinkMissing)) << "nothing checked yet";
  EXPECT_EQ(list.presence(0), Presence::Unchecked);

  list.setPresence(L"%path%\\a.sql", Presence::Missing, L"e:\\w\\a.sql");
  list.setPresence(L"-", Presence::Missing, L"-");
  list.setPresence(L"c:\\b.sql", Presence::Present, L"c:\\b.sql");
  list.setPresence(L"c:\\c.sql", Presence::Unknown, L"c:\\c.sql");
  EXPECT_EQ(list.presence(0), Presence::Missing);
  EXPECT_EQ(list.presence(1), Presence::Unchecked) << "separators are never checked";
  EXPECT_EQ(list.presence(2), Presence::Present);
  EXPECT_EQ(list.presence(3), Presence::Unknown);
  EXPECT_EQ(list.rowHint(0), L"File not found: e:\\w\\a.sql");
  EXPECT_EQ(list.rowHint(3), L"") << "unknown is not missing";
  EXPECT_TRUE(list.isEnabled(favlist::Action::RelinkMissing));
  ASSERT_EQ(list.missingFavorites().size(), 1u);
  EXPECT_EQ(list.missingFavorites()[0].index, 0);
  EXPECT_EQ(list.missingFavorites()[0].path, L"e:\\w\\a.sql");
  EXPECT_FALSE(list.hasChanges()) << "a mark is no edit";

  list.setPresence(L"%path%\\a.sql", Presence::Present, L"e:\\w\\a.sql");
  EXPECT_FALSE(list.isEnabled(favlist::Action::RelinkMissing));
}

TEST(RelinkModel, RelinkIsOneStepToUndo) {
  favlist::FavoritesList list = listOf({L"c:\\a.sql", L"c:\\b.sql", L"c:\\c.sql"});
  for (const wchar_t* f : {L"c:\\a.sql", L"c:\\b.sql"}) list.setPresence(f, Presence::Missing, f);
  ASSERT_TRUE(list.relink({{0, L"%path%\\new\\a.sql"}, {1, L"d:\\b.sql"}},
                          {L"e:\\new\\a.sql", L"d:\\b.sql"}));
  EXPECT_EQ(list.at(0)->FileName(), L"%path%\\new\\a.sql");
  EXPECT_EQ(list.at(1)->FileName(), L"d:\\b.sql");
  EXPECT_EQ(list.presence(0), Presence::Present);
  EXPECT_FALSE(list.isEnabled(favlist::Action::RelinkMissing));
  EXPECT_TRUE(list.hasChanges());
  ASSERT_TRUE(list.undo());
  EXPECT_EQ(list.at(0)->FileName(), L"c:\\a.sql");
  EXPECT_EQ(list.at(1)->FileName(), L"c:\\b.sql");
  EXPECT_FALSE(list.canUndo()) << "one step";
  EXPECT_TRUE(list.isEnabled(favlist::Action::RelinkMissing)) << "the old names are missing again";
  EXPECT_FALSE(list.relink({}, {}));
}

}  // namespace
