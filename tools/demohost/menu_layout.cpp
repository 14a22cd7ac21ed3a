#include "menu_layout.h"

#include <algorithm>
#include <cwctype>

namespace demohost {
namespace {

bool sameCaption(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

MenuNode* findChild(std::vector<MenuNode>& nodes, const std::wstring& caption) {
  for (MenuNode& n : nodes)
    if (!n.separator && sameCaption(n.caption, caption)) return &n;
  return nullptr;
}

bool startsWith(const std::wstring& text, const std::wstring& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

void fail(std::wstring* why, std::wstring text) {
  if (why) *why = std::move(text);
}

}  // namespace

MenuNode MenuNode::item(std::wstring label, int command) {
  MenuNode n;
  n.caption = withoutAmpersands(label);
  n.label = std::move(label);
  n.command = command;
  return n;
}

MenuNode MenuNode::popup(std::wstring label, std::vector<MenuNode> children) {
  MenuNode n;
  n.caption = withoutAmpersands(label);
  n.label = std::move(label);
  n.folder = true;
  n.children = std::move(children);
  return n;
}

MenuNode MenuNode::line() {
  MenuNode n;
  n.separator = true;
  return n;
}

std::wstring withoutAmpersands(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&') {
      if (i + 1 < text.size() && text[i + 1] == L'&') out += text[++i];
      continue;
    }
    if (text[i] == L'\t') break;  // the shortcut column
    out += text[i];
  }
  return out;
}

std::vector<std::wstring> splitMenuPath(const std::wstring& text) {
  static const std::wstring kSep = L" / ";
  std::vector<std::wstring> parts;
  size_t from = 0;
  for (;;) {
    const size_t at = text.find(kSep, from);
    if (at == std::wstring::npos) {
      parts.push_back(text.substr(from));
      return parts;
    }
    parts.push_back(text.substr(from, at - from));
    from = at + kSep.size();
  }
}

bool placeMenuText(std::vector<MenuNode>& bar, const std::wstring& text, int pluginIndex,
                   int command, std::wstring* why) {
  if (text.empty()) {
    fail(why, L"empty text");
    return false;
  }
  std::vector<std::wstring> parts = splitMenuPath(text);
  std::wstring last = parts.back();
  parts.pop_back();

  std::vector<MenuNode>* level = &bar;
  for (const std::wstring& part : parts) {
    if (part.empty()) {
      fail(why, L"an empty part in the path");
      return false;
    }
    MenuNode* next = findChild(*level, part);
    if (!next) {
      level->push_back(MenuNode::popup(part));
      next = &level->back();
    } else if (!next->folder) {
      // An item that now gets children turns into a folder; its own click is lost.
      next->folder = true;
      next->command = 0;
    }
    level = &next->children;
  }

  static const std::wstring kAfter = L" >> ";
  if (const size_t at = last.find(kAfter); at != std::wstring::npos) {
    const std::wstring anchor = last.substr(0, at);
    const std::wstring name = last.substr(at + kAfter.size());
    if (name.empty()) {
      fail(why, L"nothing after \" >> \"");
      return false;
    }
    if (MenuNode* existing = findChild(*level, name)) {
      existing->folder = true;
      existing->pluginIndex = pluginIndex;
      return true;
    }
    MenuNode folder = MenuNode::popup(name);
    folder.pluginIndex = pluginIndex;
    auto pos = std::find_if(level->begin(), level->end(), [&](const MenuNode& n) {
      return !n.separator && sameCaption(n.caption, anchor);
    });
    level->insert(pos == level->end() ? pos : pos + 1, std::move(folder));
    return true;
  }

  if (last == L"-") {
    MenuNode sep = MenuNode::line();
    sep.pluginIndex = pluginIndex;
    level->push_back(std::move(sep));
    return true;
  }
  if (last.empty()) {
    fail(why, L"no caption after the last \" / \"");
    return false;
  }
  MenuNode leaf;
  leaf.caption = last;
  leaf.label = last;
  // A literal '&' in a file name must not become a mnemonic.
  for (size_t i = 0; (i = leaf.label.find(L'&', i)) != std::wstring::npos; i += 2)
    leaf.label.insert(i, 1, L'&');
  leaf.command = command;
  leaf.pluginIndex = pluginIndex;
  level->push_back(std::move(leaf));
  return true;
}

const MenuNode* findMenuPath(const std::vector<MenuNode>& bar,
                             const std::vector<std::wstring>& path) {
  const std::vector<MenuNode>* level = &bar;
  const MenuNode* found = nullptr;
  for (const std::wstring& part : path) {
    found = nullptr;
    for (const MenuNode& n : *level)
      if (!n.separator && sameCaption(n.caption, part)) {
        found = &n;
        break;
      }
    if (!found) return nullptr;
    level = &found->children;
  }
  return found;
}

bool placeRibbonText(std::vector<RibbonGroup>& groups, const std::wstring& text, int pluginIndex,
                     const std::wstring& pluginName, std::wstring* why) {
  auto group = [&]() -> RibbonGroup& {
    if (groups.empty()) groups.push_back(RibbonGroup{pluginName, {}});
    return groups.back();
  };
  if (startsWith(text, L"GROUP=")) {
    groups.push_back(RibbonGroup{text.substr(6), {}});
    return true;
  }
  if (startsWith(text, L"ITEM=")) {
    group().buttons.push_back(RibbonButton{text.substr(5), pluginIndex, false, {}});
    return true;
  }
  if (startsWith(text, L"MENUITEM=")) {
    group().buttons.push_back(RibbonButton{text.substr(9), pluginIndex, true, {}});
    return true;
  }
  if (startsWith(text, L"SUBITEM=")) {
    RibbonGroup& g = group();
    if (g.buttons.empty() || !g.buttons.back().dropDown) {
      fail(why, L"SUBITEM= without a MENUITEM= before it");
      return false;
    }
    const std::wstring caption = text.substr(8);
    g.buttons.back().items.push_back(RibbonEntry{caption, pluginIndex, caption == L"-"});
    return true;
  }
  fail(why, text.empty() ? L"empty text" : L"not a GROUP=, ITEM=, MENUITEM= or SUBITEM= line");
  return false;
}

}  // namespace demohost
