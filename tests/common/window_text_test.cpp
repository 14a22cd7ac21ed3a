// The whole text of a window, however long, and nothing for no window.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "unique_handles.h"
#include "window_text.h"

namespace {

TEST(WindowText, GivesTheWholeTextOrNothing) {
  fav::unique_hwnd edit(::CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_AUTOHSCROLL, 0, 0, 100,
                                          20, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(edit);
  ::SendMessageW(edit.get(), EM_SETLIMITTEXT, 0, 0);
  const std::wstring texts[] = {L"", L"a", L"C:\\\u00FCbung\\pkg.sql",
                                std::wstring(70000, L'x') + L"end"};
  for (const std::wstring& text : texts) {
    ASSERT_TRUE(::SetWindowTextW(edit.get(), text.c_str()));
    EXPECT_EQ(fav::windowText(edit.get()), text) << text.size();
  }
  EXPECT_EQ(fav::windowText(nullptr), L"");
  HWND gone = edit.get();
  edit.reset();
  EXPECT_EQ(fav::windowText(gone), L"");
}

}  // namespace
