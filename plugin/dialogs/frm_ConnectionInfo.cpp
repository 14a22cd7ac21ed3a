#include "frm_ConnectionInfo.h"

#include <commctrl.h>

#include "code_page_text.h"
#include "dialog_placement.h"
#include "frm_ConnectionInfo_ids.h"
#include "glyph_ids.h"
#include "glyphs.h"
#include "text_codec.h"
#include "window_text.h"

namespace {

// The layout was drawn at 120 pixels per inch; every figure is scaled from it.
constexpr int kDesignDpi = 120;
constexpr int kClientWidth = 507;
constexpr int kClientHeight = 234;
constexpr int kLabelLeft = 12;
constexpr int kFieldLeft = 110;
constexpr int kFieldRight = kClientWidth - 12;
constexpr int kFieldHeight = 22;
constexpr int kToggleSize = 24;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 40;
constexpr int kMargin = 8;
constexpr int kRowTop[] = {8, 34, 60, 86};
constexpr int kAskLogonTop = 114;
constexpr int kBevelTop = 142;
constexpr int kAliasTop = 150;

constexpr UINT_PTR kPasswordSubclass = 1;
constexpr UINT kRelayout = WM_APP + 2;

}  // namespace

INT_PTR TfrmConnectionInfo::ShowModal() { return showModal(IDD_CONNECTION_INFO, fOwner); }

bool TfrmConnectionInfo::onInit() {
  layout();
  centreOnOwner();
  ::SetWindowSubclass(item(IDC_CI_PASSWORD), &TfrmConnectionInfo::passwordProc, kPasswordSubclass,
                      reinterpret_cast<DWORD_PTR>(this));
  FormShow();
  ::SetFocus(item(IDC_CI_USERNAME));
  return false;  // the focus is set
}

void TfrmConnectionInfo::onDestroy() {
  ::RemoveWindowSubclass(item(IDC_CI_PASSWORD), &TfrmConnectionInfo::passwordProc,
                         kPasswordSubclass);
}

void TfrmConnectionInfo::FormShow() {
  HWND connectAs = item(IDC_CI_CONNECT_AS);
  ::SendMessageW(connectAs, CB_RESETCONTENT, 0, 0);
  for (const wchar_t* mode : {L"Normal", L"SysDBA", L"SysOper"})
    ::SendMessageW(connectAs, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(mode));
  ::SetDlgItemTextW(hwnd(), IDC_CI_USERNAME, fUsername.c_str());
  ::SetDlgItemTextW(hwnd(), IDC_CI_PASSWORD, fPassword.c_str());
  ::SendMessageW(item(IDC_CI_PASSWORD), EM_SETPASSWORDCHAR, kPasswordChar, 0);
  ::SetDlgItemTextW(hwnd(), IDC_CI_DATABASE, fDatabase.c_str());
  // Shown as stored, one of the three entries or not.
  ::SetWindowTextW(connectAs, fConnectAs.c_str());
  ::SetDlgItemTextW(hwnd(), IDC_CI_ALIAS, fAlias.c_str());
  ::CheckDlgButton(hwnd(), IDC_CI_ASK_LOGON, fAskLogon ? BST_CHECKED : BST_UNCHECKED);

  HWND note = item(IDC_CI_PASSWORD_NOTE);
  ::SetWindowTextW(note, fStorePassword
                             ? L""
                             : L"\"Store password\" is off: the password will not be saved.");
  ::ShowWindow(note, fStorePassword ? SW_HIDE : SW_SHOW);
  ::SetDlgItemTextW(hwnd(), IDC_CI_CAPS_LOCK, L"Caps Lock is on.");
  updateCapsLockWarning();
}

void TfrmConnectionInfo::layout() {
  const int dpi = static_cast<int>(this->dpi());
  auto px = [dpi](int design) { return ::MulDiv(design, dpi, kDesignDpi); };

  setClientSize(hwnd(), px(kClientWidth), px(kClientHeight));

  auto place = [&](int id, int x, int y, int w, int h) {
    ::MoveWindow(item(id), px(x), px(y), px(w), px(h), FALSE);
  };
  const int fieldWidth = kFieldRight - kFieldLeft;
  const int labelWidth = kFieldLeft - kLabelLeft - 4;
  const int labelDrop = 4;
  const struct {
    int label, field, row;
  } rows[] = {{IDC_CI_LBL_USERNAME, IDC_CI_USERNAME, 0},
              {IDC_CI_LBL_PASSWORD, IDC_CI_PASSWORD, 1},
              {IDC_CI_LBL_DATABASE, IDC_CI_DATABASE, 2},
              {IDC_CI_LBL_CONNECT_AS, IDC_CI_CONNECT_AS, 3}};
  for (const auto& r : rows) {
    place(r.label, kLabelLeft, kRowTop[r.row] + labelDrop, labelWidth, 16);
    place(r.field, kFieldLeft, kRowTop[r.row], fieldWidth, r.row == 3 ? 160 : kFieldHeight);
  }
  // The password box makes room for its toggle.
  place(IDC_CI_PASSWORD, kFieldLeft, kRowTop[1], fieldWidth - kToggleSize - 4, kFieldHeight);
  place(IDC_CI_SHOW_PASSWORD, kFieldRight - kToggleSize, kRowTop[1] - 1, kToggleSize, kToggleSize);
  place(IDC_CI_ASK_LOGON, kFieldLeft, kAskLogonTop, fieldWidth, 20);
  place(IDC_CI_BEVEL1, 0, kBevelTop, kClientWidth, 2);
  place(IDC_CI_LBL_ALIAS, kLabelLeft, kAliasTop + labelDrop, labelWidth, 16);
  place(IDC_CI_ALIAS, kFieldLeft, kAliasTop, fieldWidth, kFieldHeight);

  const int buttonTop = kClientHeight - kMargin - kButtonHeight;
  const int cancelLeft = kClientWidth - 12 - kButtonWidth;
  const int okLeft = cancelLeft - kMargin - kButtonWidth;
  place(IDOK, okLeft, buttonTop, kButtonWidth, kButtonHeight);
  place(IDCANCEL, cancelLeft, buttonTop, kButtonWidth, kButtonHeight);
  const int noteWidth = okLeft - kMargin - kLabelLeft;
  place(IDC_CI_PASSWORD_NOTE, kLabelLeft, kAliasTop + 32, noteWidth, 30);
  place(IDC_CI_CAPS_LOCK, kLabelLeft, kAliasTop + 64, noteWidth, 18);

  // Ok and Cancel carry glyphs and a slightly larger font than the rest.
  LOGFONTW font{};
  font.lfHeight = -::MulDiv(9, dpi, 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  wcscpy_s(font.lfFaceName, L"Tahoma");
  fButtonFont.reset(::CreateFontIndirectW(&font));
  for (int id : {IDOK, IDCANCEL})
    ::SendMessageW(item(id), WM_SETFONT, reinterpret_cast<WPARAM>(fButtonFont.get()), FALSE);
  fOkGlyph = dialogs::setButtonGlyph(item(IDOK), IDB_GLYPH_OK, dpi);
  fCancelGlyph = dialogs::setButtonGlyph(item(IDCANCEL), IDB_GLYPH_CANCEL, dpi);
  // The toggle is smaller than a glyph button: its picture is fitted inside.
  fShowPasswordGlyph = dialogs::glyphImageList(IDB_GLYPH_SHOW_PASSWORD, px(kToggleSize - 8));
  if (fShowPasswordGlyph) {
    BUTTON_IMAGELIST images{};
    images.himl = fShowPasswordGlyph.get();
    images.uAlign = BUTTON_IMAGELIST_ALIGN_CENTER;
    ::SendMessageW(item(IDC_CI_SHOW_PASSWORD), BCM_SETIMAGELIST, 0,
                   reinterpret_cast<LPARAM>(&images));
  }
  // Without its picture the toggle still says what it does.
  if (!fShowPasswordGlyph) ::SetDlgItemTextW(hwnd(), IDC_CI_SHOW_PASSWORD, L"ab");
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void TfrmConnectionInfo::centreOnOwner() { centreOnWindow(hwnd(), fOwner); }

bool TfrmConnectionInfo::onCommand(int id, int code, HWND control) {
  switch (id) {
    case IDOK:
      bbtnOkClick();
      return true;
    case IDC_CI_SHOW_PASSWORD:
      if (code == BN_CLICKED) sbShowPasswordClick();
      return true;
    default:
      return DialogBase::onCommand(id, code, control);
  }
}

INT_PTR TfrmConnectionInfo::onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  if (msg == WM_DPICHANGED) {
    // The platform scales the dialog first; our pixel layout follows it.
    ::PostMessageW(hwnd(), kRelayout, 0, 0);
    handled = false;
    return 0;
  }
  if (msg == kRelayout) {
    layout();
    handled = true;
    return 0;
  }
  if (msg == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lp) == item(IDC_CI_CAPS_LOCK)) {
    // The warning stands out in the hot-track colour.
    const HDC dc = reinterpret_cast<HDC>(wp);
    ::SetTextColor(dc, ::GetSysColor(COLOR_HOTLIGHT));
    ::SetBkMode(dc, TRANSPARENT);
    handled = true;
    return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
  }
  return DialogBase::onMessage(msg, wp, lp, handled);
}

void TfrmConnectionInfo::sbShowPasswordClick() {
  HWND password = item(IDC_CI_PASSWORD);
  const bool plain = ::IsDlgButtonChecked(hwnd(), IDC_CI_SHOW_PASSWORD) == BST_CHECKED;
  ::SendMessageW(password, EM_SETPASSWORDCHAR, plain ? 0 : kPasswordChar, 0);
  ::InvalidateRect(password, nullptr, TRUE);
}

std::wstring TfrmConnectionInfo::text(int id) const { return fav::windowText(item(id)); }

bool TfrmConnectionInfo::typedTextFits() {
  // The host gets these texts in its code page, and the password in at most
  // kMaxPasswordBytes of it; the first field that cannot go gets the focus.
  const struct {
    int id;
    const wchar_t* what;
  } fields[] = {{IDC_CI_USERNAME, L"user name"},
                {IDC_CI_PASSWORD, L"password"},
                {IDC_CI_DATABASE, L"database"},
                {IDC_CI_CONNECT_AS, L"connect-as mode"},
                {IDC_CI_ALIAS, L"alias"}};
  for (const auto& field : fields) {
    const std::wstring typed = text(field.id);
    std::wstring refusal = codepage::outsideCodePageMessage(field.what, typed);
    if (refusal.empty() && field.id == IDC_CI_PASSWORD)
      refusal = codepage::passwordTooLongMessage(fav::toNarrow(typed).size(),
                                                L"Please type a shorter one.");
    if (!codepage::acceptTyped(hwnd(), refusal)) {
      ::SetFocus(item(field.id));
      return false;
    }
  }
  return true;
}

void TfrmConnectionInfo::bbtnOkClick() {
  if (!typedTextFits()) return;
  fUsername = text(IDC_CI_USERNAME);
  fPassword = text(IDC_CI_PASSWORD);
  fDatabase = text(IDC_CI_DATABASE);
  fConnectAs = text(IDC_CI_CONNECT_AS);  // chosen or typed
  fAlias = text(IDC_CI_ALIAS);
  fAskLogon = ::IsDlgButtonChecked(hwnd(), IDC_CI_ASK_LOGON) == BST_CHECKED;
  endDialog(IDOK);
}

void TfrmConnectionInfo::updateCapsLockWarning() {
  HWND password = item(IDC_CI_PASSWORD);
  const bool show = password && ::GetFocus() == password && (::GetKeyState(VK_CAPITAL) & 1) != 0;
  HWND warning = item(IDC_CI_CAPS_LOCK);
  if ((::IsWindowVisible(warning) != FALSE) != show) ::ShowWindow(warning, show ? SW_SHOW : SW_HIDE);
}

LRESULT CALLBACK TfrmConnectionInfo::passwordProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                                  UINT_PTR, DWORD_PTR data) {
  const LRESULT result = ::DefSubclassProc(hwnd, msg, wp, lp);
  try {
    switch (msg) {
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
      case WM_KEYDOWN:
      case WM_KEYUP:
        reinterpret_cast<TfrmConnectionInfo*>(data)->updateCapsLockWarning();
        break;
      default:
        break;
    }
  } catch (...) {
  }
  return result;
}
