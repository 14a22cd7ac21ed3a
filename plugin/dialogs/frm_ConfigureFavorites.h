// TfrmConfigureFavorites: the modal dialog that edits everything Favorites.ini
// holds - the favorites grid, the submenus, the options - and writes it back
// on Ok. A view over favlist::FavoritesList, which holds the lists, the
// selection, the filter and the undo history: clicks and keys become calls
// there and the grid is redrawn from it. One job per file, each calling only
// the ones below it:
//   frm_ConfigureFavorites.cpp           the shell: window, layout, options,
//                                        the settings file, messages to parts
//   frm_ConfigureFavorites_commands.cpp  the list commands the shell runs
//   frm_ConfigureFavorites_share.cpp     Export and Import, which share a list
//   favorites_grid.cpp                   the grid, its pickers and editors;
//                                        it reports drops and commands to
//                                        the shell through gridEvents_
//   frm_ConfigureFavorites_controls.cpp  control texts and action states
//   frm_ConfigureFavorites_relink.cpp    the marks of missing files and
//                                        Relink Missing...
//   grid_view.*                          the owner-data list view both grids use
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialog_base.h"
#include "favorites_list.h"
#include "grid_view.h"
#include "icon_loader.h"
#include "presence_check.h"
#include "settings_file.h"
#include "un_favoriteCollections.h"
#include "unique_handles.h"

namespace relink {
class Search;
}

class TfrmConfigureFavorites : public fav::DialogBase {
 public:
  // Create: the empty lists (submenus with their blank entry), no selection,
  // the extension list, the action states for an empty grid.
  TfrmConfigureFavorites();
  ~TfrmConfigureFavorites() override;

  const wchar_t* name() const override { return L"TfrmConfigureFavorites"; }

  // The settings file path; set before Initialize.
  const std::wstring& IniFileName() const { return fIniFilename; }
  void IniFileName(std::wstring path) { fIniFilename = std::move(path); }

  // ReadIniFile, FillGrid, LoadImages, actSortBySubmenuExecute. May run
  // before or after the window exists; the window shows what it holds.
  // False when the file could not be read and the user gave up: the dialog
  // must not be shown.
  bool Initialize();
  // Shows the dialog modally; IDOK when the settings file was written.
  INT_PTR ShowModal(HWND owner);

  // --- list commands (handlers of the actions) --------------------------------
  // frm_ConfigureFavorites_commands.cpp, but Rename, which opens the grid's
  // editor.
  void actUpExecute();
  void actDownExecute();
  void actAddExecute();
  void actAddSeparatorExecute();
  void actRemoveExecute();
  // Ctrl+Z and Ctrl+Y: the lists as they were before the last edit, and again
  // as they were after it.
  void actUndoExecute();
  void actRedoExecute();
  // Adds the files as Add adds chosen files (duplicates and names outside the
  // code page skipped; those are named in a message), then refills the grid.
  void addFiles(std::vector<std::wstring> paths);
  void actConnectionInfoExecute();
  void actSortBySubmenuExecute();
  void actLoadExecute();
  void actRenameExecute();
  void actAddSubmenuExecute();
  // The popup menu's Export...: the selected favorites (all of them when
  // fewer than two rows are selected) to a file chosen in a save dialog.
  void actExportExecute();
  // The popup menu's Import...: the favorites of a file chosen in an open
  // dialog appended (those already in the list skipped), then the summary.
  void actImportExecute();
  // Ctrl+R: asks for a folder, searches it for the missing favorites' files
  // (Esc stops the search and changes nothing) and says what it found.
  void actRelinkExecute();
  // Adds the name typed in edSubMenu (Add Submenu without Ctrl, and Enter in
  // the box).
  void addTypedSubmenu();
  void actOkExecute();
  void actCancelExecute();
  // Esc: the innermost open thing closes (list, picker, editor, drag,
  // filter text); with none, the dialog closes as the close box does.
  void escapePressed();
  // The close box and Esc: at once without unsaved changes, else after the
  // user agreed to discard them.
  void requestClose();
  bool hasUnsavedChanges() const;
  // Ctrl + Add Submenu: hands the submenu list to the Submenus dialog.
  void SubmenuEditorHandOver();
  // Fills fExtensions from the host.
  void FillTypeExtensions();

  // --- grid operations --------------------------------------------------------
  void FillGrid();
  void FillSubmenuCombo();
  void LoadImages();
  void UpdateActionStates();
  void SetHintText(const std::wstring& text) { setHintText(text); }
  // Whether the action (an IDC_ACT_* id, IDOK or IDCANCEL) may run now.
  bool isActionEnabled(int action) const;

  // The lists, the selection, the filter and the undo history.
  const favlist::FavoritesList& model() const { return model_; }

  // --- state the commands work on -------------------------------------------
  std::wstring fIniFilename;
  std::vector<std::wstring> fExtensions;
  std::wstring fPrefix;
  std::wstring fImagePath;
  int fIconIndex = -1;
  int fSubmenuIndex = -1;
  dialogs::SlowClick click_;  // the second click on a file cell arms a rename
  int fRow = -1;
  int fCol = -1;

  // Controls (valid while the window exists).
  HWND sgFavorites() const { return sgFavorites_; }
  HWND edSubMenu() const;
  HWND cbeMenuItem() const;
  HWND edtImagePath() const;
  HWND edtImagePrefix() const;
  HWND cbAllowDuplicateImages() const;
  // Texts and states of the controls the commands read (from the window
  // when it exists, else from what was loaded).
  std::wstring editText(int id) const;
  bool isChecked(int id) const;
  // Caption of the cbeMenuItem entry selected, or empty.
  std::wstring selectedMenuItemIcon() const;
  // The grid's row count, the favorite a row shows and its index in the list.
  int rowCount() const {
    return sgFavorites_ ? static_cast<int>(rows_.size()) : model_.count();
  }
  const TFavoriteItem* rowFavorite(int row) const;
  int rowIndex(int row) const;

 protected:
  bool onInit() override;
  bool onCommand(int id, int code, HWND control) override;
  bool onNotify(NMHDR* header, LRESULT& result) override;
  INT_PTR onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  void onDestroy() override;
  void onShown() override;
  bool isCommandEnabled(int command) const override { return isActionEnabled(command); }

 protected:
  bool wantsShortcut(const MSG& msg, const fav::Shortcut& shortcut) const override;

 private:
  // Shell (frm_ConfigureFavorites.cpp).
  void FormCreate();
  void FormShow();
  // The columns fill the grid's width; with rowsToCome, the width the grid
  // will have once it holds that many rows.
  void FormResize(int rowsToCome = -1);
  // The columns' widths for a grid whose rows are that many pixels wide.
  std::array<int, 4> columnWidths(int inside) const;
  // Whether that many rows overflow that many pixels of the grid's height.
  bool rowsNeedScrollBar(int rows, int height) const;
  bool ReadIniFile();
  bool WriteIniFile(std::wstring* error);
  void FillMainMenuItems();
  void applySettingsToControls();
  FavoritesSettings settingsFromControls() const;
  void cbShowFavoritesOnMainMenuClick();
  void edtImagePrefixChange();
  void bbtnImagePathClick();
  void cbAllowDuplicateImagesClick();
  void applyGlyphs();
  // Makes the controls where the layout puts them; false when one could not be made.
  bool createControls();
  void layout();
  // Where each control goes in a client area of W by H pixels: one rule for
  // the controls' making and for every resize after it.
  void forEachPlace(int W, int H, const std::function<void(int id, const RECT& r)>& at) const;
  void placeWindow();
  RECT restoredWindowRect() const;
  void showContextMenu(int x, int y);
  bool runAction(int id);
  void drawHintPanel(const DRAWITEMSTRUCT& draw);
  void drawImage1(const DRAWITEMSTRUCT& draw);
  static const wchar_t* focusHint(int id);

  // Missing files (frm_ConfigureFavorites_relink.cpp).
  // Posted by the grid after a rename: the files are checked again when
  // their names changed. The first check starts with the icons' timer.
  static constexpr UINT kCheckFilesMessage = WM_APP + 0x40;
  static constexpr UINT kFilesCheckedMessage = WM_APP + 0x41;
  // Starts a check once the grid has been drawn (a timer comes after the
  // paint), so a Load's rows show before the check competes with them.
  static constexpr UINT_PTR kStartChecksTimer = 2;
  void startFileChecks();
  // Checks the files again when their names (or the replacement path) changed.
  void checkFiles();
  void startCheckNow();
  void filesChecked(unsigned generation);
  HICON warningIcon();
  // True when the search finished; false when Esc stopped it.
  bool waitForSearch(relink::Search& search);

  // Controls (frm_ConfigureFavorites_controls.cpp).
  void setEnabled(int id, bool enabled);

  // Grid (favorites_grid.cpp).
  bool createGrid(const RECT& place);
  void setRowTexts(int row);
  std::wstring cellText(int row, int column) const;
  int rowOfFavorite(int index) const;
  void applyFilter();
  void gridCellClicked(int row, int col, bool rightButton);
  void sgFavoritesSelectCell(int col, int row);
  void sgFavoritesMouseMove(int x, int y);
  void sgFavoritesDrawItem(const DRAWITEMSTRUCT& draw);
  void placeEditor(HWND editor, int row, int col, int height);
  HWND showPicker(int pickerId, int row, int column);
  void openIconPicker(int row);
  void openSubmenuPicker(int row);
  void openCurrentCellEditor();
  void pickerCommand(HWND picker, int code);
  void ComboBoxDropDown();
  void ComboBoxCloseUp(HWND picker);
  void cbeIconExit();
  void cbFavoritesStringGridEditSelect();
  void edtItemCommit(bool refocus = true);
  void edtItemCancel();
  void focusGrid();
  void finishDrag(int x, int y);
  void clearInsertMark();
  void updateDropMark(int x, int y);
  void createTooltip();
  void makeBoldFont();
  void updateTooltip(int row, int col);
  // After undo or redo: the grid, the pickers and the focus again.
  void showRestoredLists();
  void takeBaseline();
  void populateIconCombos();
  // The icons read off the dialog's thread at open, and their arrival.
  static constexpr UINT kIconsReadMessage = WM_APP + 3;
  static constexpr UINT_PTR kReadIconsTimer = 1;
  static constexpr int kRowHeight = 26;  // the grid's rows at 96 DPI
  static constexpr int kPickerListWidth = 240;  // the pickers' lists at 96 DPI
  void startIconLoad();
  void makePickers();
  void fillIconPicker(HWND picker);
  void iconsRead();
  int iconPixels() const;
  std::wstring imageFolder() const;
  int iconImageIndex(const std::wstring& image) const;
  int cellAt(int x, int y, int* col) const;
  static LRESULT CALLBACK gridProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK submenuBoxProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT gridMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool& handled);
  INT_PTR gridDialogMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled);

  // What was read, kept for the controls and for a stored NextToMenu that
  // the host does not offer.
  FavoritesSettings settings_;
  // The file's version and favorites as read, for Ok to keep what was added
  // to the file elsewhere meanwhile.
  LoadedList loaded_;
  std::vector<std::wstring> mainMenuItems_;
  int hostVersion_ = 0;
  bool initialized_ = false;
  bool loadingControls_ = false;
  bool placing_ = false;  // the first placement, made before the controls

  // What the grid hands on to the shell, which sets it: the grid does not
  // run the dialog's commands itself.
  struct GridEvents {
    std::function<void(const std::vector<std::wstring>& paths)> filesDropped;
    std::function<void(int action)> command;
  };
  GridEvents gridEvents_;
  dialogs::GridView grid_;
  HWND sgFavorites_ = nullptr;
  std::vector<int> rows_;  // the favorite each row shows
  dialogs::IconImages icons_;  // cbeIcon captions and pictures, entry 0 blank
  dialogs::IconLoader iconLoader_;
  fav::unique_imagelist ilSubmenuIcons_;
  std::wstring submenuComboShows_;  // what the submenu picker was filled from
  bool submenuPickerWaits_ = false;  // filled when the icons come
  HIMAGELIST pluginIcon_ = nullptr;  // shared, kept until unload
  fav::unique_hmenu popupMenu_;
  bool fillingGrid_ = false;
  int pickedIndex_ = -1;  // entry chosen in the open list (click or Enter)
  int editorRow_ = -1;    // row the open picker edits
  bool renameOpen_ = false;
  int renameRow_ = -1;
  int dragRow_ = -1;
  int currentCol_ = 2;    // the grid's current cell column (keyboard)

  favlist::FavoritesList model_;
  // The options as the dialog opened, to tell whether closing loses edits.
  FavoritesSettings baselineSettings_;
  bool positionStored_ = false;
  HWND tooltip_ = nullptr;
  int tipRow_ = -1;
  int tipCol_ = -1;
  int dropRow_ = -1;        // where a dragged row would land (drawn as a line)
  bool dropAfter_ = false;
  fav::unique_hfont boldFont_;

  bool gridFocused_ = false;  // the grid has the keyboard focus
  filecheck::BackgroundCheck presenceCheck_;
  bool checksStarted_ = false;  // only once the dialog shows
  // The names and replacement path of the last check, as a sum of hashes:
  // what tells a change of files from a move, with no copy and no sort.
  std::optional<size_t> checkedFiles_;
  fav::unique_hicon warningIcon_;
  int warningIconSize_ = 0;
};
