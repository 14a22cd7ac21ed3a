// How the demo host lays out the plug-in's menu texts, as plain data:
// the older scheme's " / " paths with " >> " placement merged into the host's
// own menu tree, and the ribbon scheme's GROUP= / ITEM= / MENUITEM= / SUBITEM=
// lines as groups of buttons and drop-downs. No window is involved here.
#pragma once

#include <string>
#include <vector>

namespace demohost {

struct MenuNode {
  std::wstring caption;        // as matched: no '&'
  std::wstring label;          // as shown; empty: the caption
  int command = 0;             // WM_COMMAND id; 0 for a folder or a separator
  int pluginIndex = 0;         // the plug-in's menu index that made this node, 0 for the host's
  bool separator = false;
  bool folder = false;         // a popup, even while it has no children
  std::vector<MenuNode> children;

  static MenuNode item(std::wstring label, int command);
  static MenuNode popup(std::wstring label, std::vector<MenuNode> children = {});
  static MenuNode line();
  const std::wstring& shown() const { return label.empty() ? caption : label; }
};

// Places one older-scheme text into the menu bar. "A / B / C" puts item C in
// folder B of folder A (folders are made where missing); a last part
// "X >> N" makes folder N right after the entry X of its parent (at the end
// when X is not there); a last part "-" is a separator. Returns false, with
// why, for a text that names nothing.
bool placeMenuText(std::vector<MenuNode>& bar, const std::wstring& text, int pluginIndex,
                   int command, std::wstring* why = nullptr);

// The folder at that path of captions, or null.
const MenuNode* findMenuPath(const std::vector<MenuNode>& bar,
                             const std::vector<std::wstring>& path);

struct RibbonEntry {
  std::wstring caption;
  int pluginIndex = 0;
  bool separator = false;  // SUBITEM=- inside a drop-down
};

struct RibbonButton {
  std::wstring caption;
  int pluginIndex = 0;
  bool dropDown = false;              // MENUITEM=: opens its SUBITEMs
  std::vector<RibbonEntry> items;
};

struct RibbonGroup {
  std::wstring caption;
  std::vector<RibbonButton> buttons;
};

// Places one ribbon-scheme line: GROUP= starts a group, ITEM= adds a button,
// MENUITEM= a drop-down button, SUBITEM= an entry of the last drop-down.
// Lines before any GROUP= go to a group named after the plug-in.
bool placeRibbonText(std::vector<RibbonGroup>& groups, const std::wstring& text, int pluginIndex,
                     const std::wstring& pluginName, std::wstring* why = nullptr);

std::vector<std::wstring> splitMenuPath(const std::wstring& text);
std::wstring withoutAmpersands(const std::wstring& text);

}  // namespace demohost
