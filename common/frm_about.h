// The shared About dialog: a picture, the plug-in's title, owner line and
// version, an information text that scrolls up like film credits on Info,
// an optional settings page, and a hidden switch for the logger on the title.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "dialog_base.h"
#include "fra_pluginframe.h"
#include "unique_handles.h"

class TfrmAbout final : public fav::DialogBase {
 public:
  // Builds the dialog (hidden) for the plug-in whose settings file is
  // iniFileName. owner is the window it is modal to (null: none).
  explicit TfrmAbout(const std::wstring& iniFileName, HWND owner = nullptr);
  ~TfrmAbout() override;

  const wchar_t* name() const override { return L"TfrmAbout"; }

  void SetIniFileName(const std::wstring& iniFileName);
  // The text shown on Info: 6 empty lines, lines, then 16 empty lines.
  void SetInfoText(const std::vector<std::wstring>& lines);
  void EnableImageClick();
  void DisableImageClick();

  void FormCreate();
  // Shows the scrolling text, or the labels again.
  void actInfoExecute();
  // One tick of the scrolling: one pixel (at 96 DPI) up, wrapping at the end.
  void actTimerExecute();
  // A mouse press on the title, with the keyboard state of that moment.
  void ToggleLogger(bool ctrlDown);
  void pcAboutSettingsDrawTab(HWND control, HDC dc, int tabIndex, const RECT& rect, bool active);

  // Runs the dialog modally; the result of bbtnClose is IDOK.
  INT_PTR ShowModal() { return runModal(); }

  // Sets a label's text and places it again (lblAboutText2 is sized to it).
  void setLabelText(HWND label, const std::wstring& text);
  // Makes page the active page (tsAbout or tsSettings).
  void setActivePage(HWND page);
  // Removes the settings page and its tab; fraSettings goes with it.
  void destroySettingsPage();

  // Height of the information text box for that many lines, at 96 DPI:
  // 14 pixels a line, 2 more a line for every full 50 lines.
  static int textBoxHeight(int lineCount);

  // The reachable controls (null once destroyed).
  HWND pcAboutSettings = nullptr;
  HWND tsAbout = nullptr;
  HWND tsSettings = nullptr;
  std::unique_ptr<Tfrapluginframe> fraSettings;
  HWND lblAboutText1 = nullptr;
  HWND lblAboutText2 = nullptr;
  HWND lblAboutText3 = nullptr;
  HWND pnlButtons = nullptr, bbtnInfo = nullptr, bbtnClose = nullptr;
  HWND pnlAbout = nullptr, imgAbout = nullptr, pnlAboutText = nullptr;
  HWND pnlAboutScroll = nullptr, sbAbout = nullptr, mmAbout = nullptr;

  // State, for tests and the benchmark.
  const std::wstring& iniFileName() const { return fIniFileName; }
  const std::vector<std::wstring>& infoText() const { return fInfoText; }
  bool aboutboxDisplayed() const { return fAboutboxDisplayed; }
  bool imageClickEnabled() const { return fImageClick; }
  bool timerEnabled() const { return fTimerEnabled; }
  UINT timerInterval() const { return fTimerInterval; }
  // Vertical position and range of sbAbout, in pixels at 96 DPI.
  int scrollPosition() const { return fScrollPosition; }
  int scrollRange() const { return fScrollRange; }
  // The colour lblAboutText2 is painted in now.
  COLORREF ownerLineColour() const;
  // With client-area animation off, Info shows the text still.
  void setReducedMotion(bool reduced) { fReducedMotion = reduced; }

 protected:
  bool onInit() override;
  bool onCommand(int id, int code, HWND control) override;
  bool onNotify(NMHDR* header, LRESULT& result) override;
  INT_PTR onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  bool isCommandEnabled(int command) const override;
  void onDestroy() override;

 private:
  void UpdateCaptions();
  void nestControls();
  void createFonts();
  void loadPictures();
  void layout();
  void layoutLabels();
  void placeScrollBox();
  void placeText();
  void showPage(int index);
  void showTextPanel(bool text);
  void startTimer();
  void stopTimer();
  void onTimerTick();
  void copyVersion();
  void centreOnOwnerMonitor();
  INT_PTR onCtlColorStatic(HDC dc, HWND control);
  void drawPicture(const DRAWITEMSTRUCT& item);
  int px(int designPixels) const { return scale(designPixels); }
  static LRESULT CALLBACK titleProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                    DWORD_PTR self);

  std::wstring fIniFileName;
  std::vector<std::wstring> fInfoText;
  bool fAboutboxDisplayed = false;
  bool fImageClick = false;
  bool fTimerEnabled = false;
  UINT fTimerInterval = 100;
  int fScrollPosition = 0;
  int fScrollRange = 0;
  bool fReducedMotion = false;
  bool fStill = false;  // the text shows without scrolling (reduced motion)
  bool fOwnerLineRed = false;
  ULONGLONG fScrollStart = 0;
  ULONGLONG fStepsDone = 0;

  std::vector<HWND> pages_;  // in tab order
  fav::unique_hfont fFont, fFixedFont;
  fav::unique_hbitmap fPicture;
  fav::unique_imagelist fInfoGlyph, fCloseGlyph;
};

// The owner line's colour while logging is on: red, lighter on dark
// backgrounds, and the scheme's hot-track colour in high contrast.
COLORREF loggingOwnerLineColour(COLORREF background, bool highContrast, COLORREF hotLight);
