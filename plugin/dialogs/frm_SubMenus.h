// TfrmSubMenus: the submenu list as a whole - icons, renames, removals and
// new entries. The Configure Favorites dialog hands it a copy of its list and
// the icon settings and takes the list back only after Ok.
#pragma once

#include <string>
#include <vector>

#include "dialog_base.h"
#include "grid_view.h"
#include "icon_loader.h"
#include "submenu_list.h"
#include "un_favoriteCollections.h"
#include "unique_handles.h"

class TfrmSubMenus : public fav::DialogBase {
 public:
  // owner: the Configure Favorites dialog; the dialog is centred on it.
  explicit TfrmSubMenus(HWND owner);

  // The list being edited (a copy whose first entry is the blank submenu).
  const TSubMenuItems& Submenus() const { return fSubMenus.items(); }
  void Submenus(const TSubMenuItems& list) { fSubMenus.assign(list); }
  const std::wstring& ImagePath() const { return fImagePath; }
  void ImagePath(std::wstring v) { fImagePath = std::move(v); }
  const std::wstring& ImagePrefix() const { return fImagePrefix; }
  void ImagePrefix(std::wstring v) { fImagePrefix = std::move(v); }
  bool AllowDuplicateImages() const { return fAllowDuplicateImages; }
  void AllowDuplicateImages(bool v) { fAllowDuplicateImages = v; }
  // Where "[fav]_empty.bmp" lies, and the icon folder when ImagePath is empty.
  void PluginFolder(std::wstring v) { fPluginFolder = std::move(v); }

  // Fills the grid. May run before the window exists; the icons are read
  // once the window has been drawn.
  void Initialize();
  // IDOK when the user saved.
  INT_PTR ShowModal();
  // What became of each submenu handed in (renamed, kept, removed).
  submenus::Fates Fates() const { return fSubMenus.fates(); }

  const wchar_t* name() const override { return L"TfrmSubMenus"; }

  // --- commands -----------------------------------------------------------
  // Tells the user and answers true when name would split into nested menus.
  bool refuseMenuBreakingName(const std::wstring& name);
  void actAddSubmenuExecute();
  void actRemoveExecute();
  void actRenameExecute();
  void actUndoExecute();
  void actOkExecute();
  void actCancelExecute();
  void FillGrid();
  void LoadImages();
  void UpdateActionStates();

 protected:
  bool onInit() override;
  bool onCommand(int id, int code, HWND control) override;
  bool onNotify(NMHDR* header, LRESULT& result) override;
  INT_PTR onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  void onDestroy() override;
  void onShown() override;
  bool isCommandEnabled(int command) const override;

 private:
  void createGrid();
  void applyGlyphs();
  void sizeCombos();
  void layout();
  void setColumnWidths();
  void centreOnOwner();
  void fillIconCombos();
  std::wstring imageFolder() const;
  void startIconLoad();
  void iconsRead();
  void readIconsNow();
  void sgFavoritesSelectCell(int col, int row);
  void openIconEditor(int row);
  void applyIcon();
  void closeIconEditor();
  void edtItemCommit(bool refocus = true);
  void edtItemCancel();
  void showPopupMenu(int row, POINT screen);
  void selectRow(int row);
  void focusGrid();
  RECT cellRect(int row, int col) const;
  int hitTest(POINT client, int* col) const;
  std::wstring text(int id) const;
  void drawGridRow(const DRAWITEMSTRUCT& draw);
  void drawIconEntry(const DRAWITEMSTRUCT& draw);
  void drawHintPanel(const DRAWITEMSTRUCT& draw);

  HWND fOwner;
  submenus::SubmenuListEdit fSubMenus;
  std::wstring fImagePath;
  std::wstring fImagePrefix;
  bool fAllowDuplicateImages = false;
  std::wstring fPluginFolder;
  bool fInitialized = false;

  // Editing state, as in the favorites grid (the name cell is column 1).
  int fSelectedIndex = -1;
  int fIconIndex = -1;
  dialogs::SlowClick click_;  // the second click that arms a rename
  int fRow = -1;
  int fCol = -1;
  int fIconRow = -1;    // the row the open icon editor works on
  int fRenameRow = -1;  // the row the open rename editor works on
  bool fFilling = false;
  bool fRemoveEnabled = false;
  bool fRenameEnabled = false;

  dialogs::GridView grid_;
  HWND sgFavorites = nullptr;
  dialogs::IconImages icons_;  // cbeIcon captions and pictures; entry 0 is blank
  dialogs::IconLoader iconLoader_;
  int fIconSize = 20;
  fav::unique_imagelist fOkGlyph, fCancelGlyph, fAddGlyph;
  fav::unique_imagelist fPluginIcon;
};
