// The settings frame with one control of each kind, and the value type it
// converts through.
#include <windows.h>

#include <gtest/gtest.h>

#include "fra_pluginframe.h"
#include "setting_value.h"

namespace {

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent.reset(::CreateWindowExW(0, fav::panelClassName(), L"", WS_POPUP, 0, 0, 500, 320,
                                   nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(parent);
    ASSERT_TRUE(frame.create(parent.get(), 100));
    check = frame.addControl(L"cbxEnabled", L"Button", BS_AUTOCHECKBOX, {8, 8, 120, 28});
    edit = frame.addControl(L"edtName", L"Edit", WS_BORDER, {8, 36, 200, 58});
    combo = frame.addControl(L"cbeChoice", L"ComboBox", CBS_DROPDOWNLIST, {8, 66, 200, 200});
    memo = frame.addControl(L"mmNotes", L"Edit", ES_MULTILINE, {8, 96, 200, 150});
    label = frame.addControl(L"lblCaption", L"Static", 0, {8, 160, 200, 180}, L"caption");
    // Same name as the edit box in other case: never reached.
    shadow = frame.addControl(L"EDTNAME", L"Edit", 0, {8, 190, 200, 210});
    ASSERT_TRUE(check && edit && combo && memo && label && shadow);
  }

  static std::wstring text(HWND hwnd) {
    wchar_t buf[256] = {};
    ::GetWindowTextW(hwnd, buf, 256);
    return buf;
  }

  fav::unique_hwnd parent;
  Tfrapluginframe frame;
  HWND check = nullptr, edit = nullptr, combo = nullptr, memo = nullptr, label = nullptr,
       shadow = nullptr;
};

TEST_F(FrameTest, FillsItsParentAndKeepsTheDesignSize) {
  RECT r{};
  ::GetClientRect(frame.hwnd(), &r);
  EXPECT_EQ(r.right, 500);
  EXPECT_EQ(r.bottom, 320);
  EXPECT_EQ(Tfrapluginframe::kDesignWidth, 451);
  EXPECT_EQ(Tfrapluginframe::kDesignHeight, 304);
  EXPECT_TRUE(::GetWindowLongPtrW(frame.hwnd(), GWL_STYLE) & WS_TABSTOP);
}

TEST_F(FrameTest, NamesMatchIgnoringCaseAndTheFirstMatchWins) {
  EXPECT_EQ(frame.findControl(L"EDTNAME"), edit);
  EXPECT_EQ(frame.findControl(L"EdtName"), edit);
  EXPECT_TRUE(frame.setSetting(L"EDTNAME", SettingValue(L"first")));
  EXPECT_EQ(text(edit), L"first");
  EXPECT_EQ(text(shadow), L"");
  // Only a-z fold: a dotless or accented letter is another name.
  EXPECT_EQ(frame.findControl(L"edtNam\u00C9"), nullptr);
}

// Each row writes (unless it has no value) and then reads back; the rows run
// in order on one frame, so a refused write shows the previous value.
struct KindRow {
  const wchar_t* name;
  bool write;
  SettingValue value;
  bool written;
  SettingValue setting;  // readSetting afterwards
  SettingValue shown;    // readValue afterwards
};

TEST_F(FrameTest, EachKindWritesAndReadsByTheTable) {
  frame.setItems(L"cbeChoice", {L"alpha", L"beta", L"gamma"});
  const KindRow rows[] = {
      {L"cbxEnabled", false, {}, false, false, false},
      {L"cbxEnabled", true, true, true, true, true},
      {L"CBXENABLED", true, L"no", true, false, false},
      {L"cbxEnabled", true, L"yes", true, true, true},
      {L"cbxEnabled", true, L"maybe", false, true, true},  // no boolean reading
      {L"cbxEnabled", true, std::int32_t{0}, true, false, false},
      {L"edtName", true, std::int32_t{42}, true, L"42", L"42"},
      {L"edtName", true, true, true, L"1", L"1"},
      {L"cbeChoice", false, {}, false, std::int32_t{-1}, L""},
      {L"cbeChoice", true, std::int32_t{1}, true, std::int32_t{1}, L"beta"},
      {L"cbeChoice", true, L"$2", true, std::int32_t{2}, L"gamma"},
      {L"cbeChoice", true, L"two", false, std::int32_t{2}, L"gamma"},  // no number
      {L"cbeChoice", true, false, true, std::int32_t{0}, L"alpha"},
      {L"mmNotes", true, L"one\r\ntwo", true, L"one\r\ntwo", L""},
      {L"lblCaption", true, L"x", false, L"", L""},
      {L"nosuch", true, L"x", false, L"", L""},
  };
  int row = 0;
  for (const KindRow& r : rows) {
    SCOPED_TRACE(testing::Message() << "row " << row++);
    if (r.write) {
      EXPECT_EQ(frame.setSetting(r.name, r.value), r.written);
    }
    EXPECT_EQ(frame.readSetting(r.name), r.setting);
    EXPECT_EQ(frame.readValue(r.name), r.shown);
  }
  EXPECT_EQ(text(label), L"caption");  // another kind is left alone
}

TEST_F(FrameTest, SetItemsFillsOnlyComboBoxes) {
  frame.setItems(L"cbeChoice", {L"a", L"b"});
  EXPECT_EQ(::SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
  frame.setItems(L"CBECHOICE", {L"c"});
  EXPECT_EQ(::SendMessageW(combo, CB_GETCOUNT, 0, 0), 1);
  frame.setItems(L"cbeChoice", {});
  EXPECT_EQ(::SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);

  ::SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
  frame.setItems(L"cbxEnabled", {L"x"});
  frame.setItems(L"edtName", {L"x"});
  EXPECT_EQ(frame.readSetting(L"cbxEnabled"), SettingValue(true));
  EXPECT_EQ(text(edit), L"");
}

struct ConversionRow {
  SettingValue value;
  std::optional<bool> asBool;
  std::optional<std::int32_t> asInt;
  const wchar_t* asText;
};

TEST(SettingValueTest, ConvertsByTheTable) {
  const ConversionRow rows[] = {
      {true, true, 1, L"1"},
      {false, false, 0, L"0"},
      {std::int32_t{-7}, true, -7, L"-7"},
      {std::int32_t{0}, false, 0, L"0"},
      {L"1", true, 1, L"1"},
      {L"TRUE", true, std::nullopt, L"TRUE"},
      {L"Yes", true, std::nullopt, L"Yes"},
      {L"0", false, 0, L"0"},
      {L"false", false, std::nullopt, L"false"},
      {L"no", false, std::nullopt, L"no"},
      {L"", false, std::nullopt, L""},
      {L"2", std::nullopt, 2, L"2"},
      {L"0x10", std::nullopt, 16, L"0x10"},
      {L" 1", std::nullopt, std::nullopt, L" 1"},
  };
  for (const ConversionRow& r : rows) {
    SCOPED_TRACE(r.asText);
    EXPECT_EQ(r.value.toBool(), r.asBool);
    EXPECT_EQ(r.value.toInt(), r.asInt);
    EXPECT_EQ(r.value.toText(), r.asText);
  }
}

}  // namespace
