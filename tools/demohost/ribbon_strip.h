// A ribbon-like strip for the ribbon menu scheme: a "Plug-Ins" tab with one
// box per GROUP=, a large button per ITEM= and a drop-down button per
// MENUITEM= whose SUBITEM= entries open below it. A click reaches the parent
// as WM_COMMAND with commandBase + the plug-in's menu index.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "menu_layout.h"

namespace demohost {

class RibbonStrip {
 public:
  static constexpr int kHeight = 116;

  bool create(HWND parent, HFONT font, int commandBase);
  HWND hwnd() const { return hwnd_; }
  // images: the tool buttons' image list; imageOf: menu index -> image.
  void show(std::vector<RibbonGroup> groups, HIMAGELIST images, std::map<int, int> imageOf);
  const std::vector<RibbonGroup>& groups() const { return groups_; }
  // Opens the drop-down whose caption is that (as a click on it would).
  bool openDropDown(const std::wstring& caption);
  // Where the drop-down of that caption is, in the strip's client pixels.
  bool dropDownCentre(const std::wstring& caption, POINT& centre) const;

 private:
  struct Box {
    RECT rect;
    int group;
    int button;  // -1: the group's frame
  };
  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void layout();
  void paint(HDC dc);
  void press(int box);
  int hitTest(POINT p) const;

  HWND hwnd_ = nullptr;
  HWND parent_ = nullptr;
  HFONT font_ = nullptr;
  int commandBase_ = 0;
  HIMAGELIST images_ = nullptr;
  std::map<int, int> imageOf_;
  std::vector<RibbonGroup> groups_;
  std::vector<Box> boxes_;
  int hot_ = -1;
};

}  // namespace demohost
