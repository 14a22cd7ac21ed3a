// TfrmConnectionInfo: the connection details stored with one favorite (user
// name, password, database, connect-as mode) and its alias. The caller sets
// the five properties, runs the dialog, and reads them back after Ok.
#pragma once

#include <string>

#include "dialog_base.h"
#include "unique_handles.h"

class TfrmConnectionInfo : public fav::DialogBase {
 public:
  // owner: the Configure Favorites dialog; the dialog is centred on it.
  explicit TfrmConnectionInfo(HWND owner) : fOwner(owner) {}

  const std::wstring& Username() const { return fUsername; }
  void Username(std::wstring v) { fUsername = std::move(v); }
  const std::wstring& Password() const { return fPassword; }
  void Password(std::wstring v) { fPassword = std::move(v); }
  const std::wstring& Database() const { return fDatabase; }
  void Database(std::wstring v) { fDatabase = std::move(v); }
  const std::wstring& ConnectAs() const { return fConnectAs; }
  void ConnectAs(std::wstring v) { fConnectAs = std::move(v); }
  const std::wstring& Alias() const { return fAlias; }
  void Alias(std::wstring v) { fAlias = std::move(v); }
  // "Ask before logging on": a click asks before it logs this favorite on.
  bool AskLogon() const { return fAskLogon; }
  void AskLogon(bool v) { fAskLogon = v; }
  // The Configure dialog's "Store password" state: when off, the dialog says
  // the password will not be saved.
  bool StorePassword() const { return fStorePassword; }
  void StorePassword(bool v) { fStorePassword = v; }

  // IDOK after Ok (properties updated), IDCANCEL otherwise.
  INT_PTR ShowModal();

  const wchar_t* name() const override { return L"TfrmConnectionInfo"; }

  // The password box's mask character.
  static constexpr wchar_t kPasswordChar = L'\u00A4';

 protected:
  bool onInit() override;
  bool onCommand(int id, int code, HWND control) override;
  INT_PTR onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  void onDestroy() override;

 private:
  void FormShow();
  void sbShowPasswordClick();
  void bbtnOkClick();
  // Says why and keeps the dialog open when a box holds text the host could
  // not take.
  bool typedTextFits();
  void layout();
  void centreOnOwner();
  void updateCapsLockWarning();
  std::wstring text(int id) const;
  static LRESULT CALLBACK passwordProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR data);

  HWND fOwner;
  std::wstring fUsername, fPassword, fDatabase, fConnectAs, fAlias;
  bool fAskLogon = false;
  bool fStorePassword = true;
  fav::unique_hfont fButtonFont;
  fav::unique_imagelist fOkGlyph, fCancelGlyph, fShowPasswordGlyph;
};
