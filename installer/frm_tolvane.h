// TfrmTolvane: the installer's one window. A borderless splash picture with
// three painted zones (close cross, Back, Next) and the page controls laid
// over it; four pages follow from fStep alone. The window reads setup.ini
// beside the installer, proposes the host's plug-in folder and installs the
// package's files there, all of them or none (un_packageinstall).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "unique_handles.h"

// The zones, in client pixels at 96 dpi; both bounds belong to each zone.
bool onX(int x, int y);
bool onNext(int x, int y);
bool onBack(int x, int y);

// One registry string value (an empty name reads the key's default value);
// empty on any failure or when the data does not fit 514 bytes.
std::wstring ReadRegString(HKEY root, const std::wstring& key, const std::wstring& name);
// StringFileInfo\040904E4\FileVersion of a program file, trimmed; empty when missing.
std::wstring GetFileVersion(const std::wstring& exeName);

// The host's plug-in folder from its registered open command (traced), or
// the relative "PlugIns\" when the host is not registered.
std::wstring findPLSQLDevLocation();

class TfrmTolvane {
 public:
  // installerPath: the full path of the installer's executable. setup.ini and
  // the package files are looked for in its folder.
  explicit TfrmTolvane(std::wstring installerPath);
  ~TfrmTolvane();
  TfrmTolvane(const TfrmTolvane&) = delete;
  TfrmTolvane& operator=(const TfrmTolvane&) = delete;

  // Creates the window (FormCreate runs inside) and shows it.
  bool create(HINSTANCE instance, int showCommand);
  HWND handle() const { return fHandle; }
  HWND control(int id) const { return ::GetDlgItem(fHandle, id); }

  // Part of the start-up; callable without a window.
  void ReadIniFile();
  void GetPLSQLDevLocation();

  int step() const { return fStep; }
  bool isCopying() const { return fCopying; }
  const std::wstring& pluginName() const { return fPluginName; }
  const std::wstring& onSuccessText() const { return fOnSuccess; }
  const std::wstring& onFailureText() const { return fOnFailure; }
  const std::vector<std::wstring>& files() const { return fFiles; }
  const std::vector<std::wstring>& folders() const { return fFolders; }
  const std::wstring& plsqlDevLocation() const { return fPLSQLDevLocation; }
  COLORREF copyrightColor() const { return fCopyrightColor; }

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK iconProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                   DWORD_PTR self);
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);

  // Event handlers (coordinates in 96-dpi client pixels)
  void FormCreate();
  void imgSplashBackgroundMouseDown(int x, int y);
  void imgSplashBackgroundMouseMove(int x, int y);
  void imgIconMouseDown(bool ctrlHeld);
  void actNextExecute();
  void actPrevExecute();
  void actLocateFolderExecute();
  void Step(bool forward);
  void DisplayAndHids();
  void CopyFiles();

  void closeZonePressed();
  void nextZonePressed();
  bool isBackActive() const;
  void askForFolder();
  void requestEnd();
  void processPendingMessages();

  // Drawing and layout at the window's DPI
  void createControls();
  void applyDpi(UINT dpi);
  int scaled(int pixels) const { return ::MulDiv(pixels, static_cast<int>(fDpi), 96); }
  int unscaled(int pixels) const { return ::MulDiv(pixels, 96, static_cast<int>(fDpi)); }
  void buildBackground();
  void paint();
  LRESULT labelColors(HDC dc, HWND label);
  void drawFolderButton(const DRAWITEMSTRUCT& item);
  void setText(int id, const std::wstring& text);
  std::wstring text(int id) const;

  std::wstring fInstallerPath;
  HINSTANCE fInstance = nullptr;
  HWND fHandle = nullptr;

  std::wstring fPluginName;
  std::wstring fOnSuccess;
  std::wstring fOnFailure;
  std::vector<std::wstring> fFiles;
  std::vector<std::wstring> fFolders;
  std::wstring fPLSQLDevLocation;
  int fStep = 0;

  bool fCopying = false;        // zone presses and keys are ignored meanwhile
  bool fLastRunFailed = false;  // the done page then leads back to the location page
  bool fEnding = false;         // the end was requested; nothing more to do
  bool fQuitDuringCopy = false;
  int fQuitCode = 0;
  COLORREF fCopyrightColor = RGB(128, 128, 128);
  HCURSOR fCursor = nullptr;

  UINT fDpi = 96;
  fav::unique_hbitmap fBackground;       // the splash at the window's size
  fav::unique_hbrush fBackgroundBrush;   // the same, for the see-through labels
  fav::unique_hbitmap fFolderGlyph;
  int fFolderGlyphSize = 0;
  fav::unique_hicon fIcon;
  fav::unique_hfont fLabelFont;
  fav::unique_hfont fBaseFont;
};

// Runs the event loop until the program is asked to end; the exit code.
// Enter and Escape reach the window through the accelerator table.
int runEventLoop(HWND mainWindow, HACCEL accelerators);

// The whole program: the window for the running executable and its loop.
int runTolvane(HINSTANCE instance, int showCommand);
