// The one grid both list dialogs show: an owner-drawn report list view that
// holds no rows of its own (LVS_OWNERDATA). The owner keeps the list; the
// view asks it for a row's texts and has it draw the rows, so a refill is
// one item count however long the list is. Beside it live the pieces both
// grids share: cell geometry, the slow second click that arms a rename, the
// in-place rename editor's keys, the icons loaded once per dialog and the
// hint panel.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "unique_handles.h"

namespace dialogs {

struct GridColumn {
  const wchar_t* title;  // empty when the grid shows no headers
  int width;             // pixels at the dialog's DPI
};

// What the grid needs from its owner, which it knows only through this.
struct GridSource {
  // The text of a cell, as tools that read rows see it.
  std::function<std::wstring(int row, int column)> cellText;
};

class GridView {
 public:
  // Creates the list view as child `id` of parent at place; headers shown
  // unless noHeaders. Null on failure.
  HWND create(HWND parent, int id, const wchar_t* caption, const std::vector<GridColumn>& columns,
              bool noHeaders, HFONT font, GridSource source,
              const RECT& place = RECT{0, 0, 100, 100});
  HWND hwnd() const { return list_; }
  HWND header() const { return header_; }
  void detach() { list_ = header_ = nullptr; }

  // The rows again: one count, then the row to select (or -1), kept in view.
  void setRows(int count, int selectedRow);
  int rowCount() const;
  // A column's width, asked of the header itself: a message to a list that
  // is subclassed costs far more, and rows are drawn a column at a time.
  int columnWidth(int column) const;
  // Redraws rows whose texts changed; the view keeps no copy to update.
  void redrawRow(int row) const;

  // The row under a point of the list's client area (-1 for none) and, when
  // column is given, the column under it (from the column widths, so a point
  // left or right of the rows still names one).
  int cellAt(POINT client, int* column) const;
  // A cell's rectangle in the list's client area.
  RECT cellRect(int row, int column) const;
  // Moves an in-place editor over a cell of the dialog, on top; height 0
  // means the row's height.
  void placeOver(HWND editor, HWND dialog, int row, int column, int height) const;

  // Answers the questions an owner-data list asks (a cell's text, and the
  // row whose first cell starts with what was typed) from the owner's
  // texts; true when the notification was one of them.
  bool answer(NMHDR* header, LRESULT& result) const;

 private:
  HWND list_ = nullptr;
  HWND header_ = nullptr;  // the list's own, for as long as the list lives
  GridSource source_;
  mutable std::wstring textBuffer_;  // lives until the next request
};

// The colours of a row: system pairs only, so dark and high-contrast schemes
// stay legible. Fills the row's background and sets the text colour.
void paintRowBackground(const DRAWITEMSTRUCT& draw, bool listFocused);

// A second click on the same row of a name cell, not a double click,
// arms a rename; anything else in between disarms it.
class SlowClick {
 public:
  // A click on a name cell: true when it is the second on that row.
  bool click(int row) {
    if (armed_ && row == row_) return true;
    armed_ = true;
    row_ = row;
    return false;
  }
  // The row is remembered (for the popup menu's Rename) but not armed.
  void hold(int row) {
    armed_ = false;
    row_ = row;
  }
  void disarm() { armed_ = false; }
  void forget() {
    armed_ = false;
    row_ = -1;
  }
  bool armed() const { return armed_; }
  int row() const { return row_; }

 private:
  bool armed_ = false;
  int row_ = -1;
};

// The keys of an in-place rename editor: Enter and Tab commit, Esc cancels,
// leaving the box commits without taking the focus back. The callbacks run
// only while isOpen() is true.
struct RenameKeys {
  std::function<bool()> isOpen;
  std::function<void(bool refocus)> commit;
  std::function<void()> cancel;
};
// Subclasses the edit box; the keys live as long as it does.
void attachRenameKeys(HWND edit, RenameKeys keys);

// The hint panel under a grid: its window text, one line at the bottom,
// cut with an ellipsis. margin and bottom are pixels at the dialog's DPI;
// font may be null (the panel's own).
struct HintPanelLook {
  int margin = 4;
  int bottom = 3;
  bool sunken = false;
  HFONT font = nullptr;
};
void drawHintPanel(const DRAWITEMSTRUCT& draw, const HintPanelLook& look);

// The icons a dialog offers, loaded once: entry 0 the blank icon (an empty
// picture when its file is missing), then every readable icon file in
// listIconFiles order.
struct IconImages {
  fav::unique_imagelist list;
  std::vector<std::wstring> names;  // entry i names picture i; entry 0 is empty
  int size = 0;
  // The first picture of that name, or -1.
  int indexOf(const std::wstring& name) const;

  std::map<std::wstring, int> byName;  // first entry of each name
};
// folder: where the icons are; pluginFolder: where "[fav]_empty.bmp" is.
// Any thread may load them; a raised stop ends the read early.
IconImages loadIconImages(const std::wstring& pluginFolder, const std::wstring& folder,
                          const std::wstring& prefix, int px,
                          const std::atomic<bool>* stop = nullptr);

}  // namespace dialogs
