// The settings frame: a child panel on which a plug-in places its settings
// controls, each named after the setting it shows, so code outside reads and
// writes settings by name without knowing the controls.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "setting_value.h"
#include "unique_handles.h"

namespace fav {

// A plain container window (button-face background) that passes its
// children's notifications, colour requests and owner-draw requests on to its
// own parent, so nested controls talk to the dialog as if placed on it.
HWND createPanel(HWND parent, int id, const RECT& rect, DWORD extraStyle = 0,
                 const wchar_t* text = L"");
// The window class name of those panels (registered on first use).
const wchar_t* panelClassName();

}  // namespace fav

class Tfrapluginframe {
 public:
  // The frame's design size; on the About dialog it fills its page instead.
  static constexpr int kDesignWidth = 451;
  static constexpr int kDesignHeight = 304;

  Tfrapluginframe() = default;
  Tfrapluginframe(const Tfrapluginframe&) = delete;
  Tfrapluginframe& operator=(const Tfrapluginframe&) = delete;

  // Creates the frame filling parent's client area; tab stop on.
  bool create(HWND parent, int id);
  HWND hwnd() const { return window_.get(); }
  // Follows the parent's client area after it changed size.
  void fillParent();

  // Creates a control on the frame under a setting name; the frame owns it.
  HWND addControl(const std::wstring& name, const wchar_t* windowClass, DWORD style,
                  const RECT& rect, const std::wstring& text = {}, int id = 0);

  // Reads and writes by setting name, matched ignoring the case of a-z; the
  // first control of that name counts, whatever its kind.
  // False when nothing was written: no such control, a kind that takes no
  // value, or a value with no reading of the type the control needs.
  bool setSetting(const std::wstring& name, const SettingValue& value);
  // Replaces a combo box's items; any other kind is left alone.
  void setItems(const std::wstring& name, const std::vector<std::wstring>& items);
  // A choice as its index (-1 for none); the empty text without a match.
  SettingValue readSetting(const std::wstring& name) const;
  // A choice as its shown text; a memo reads empty.
  SettingValue readValue(const std::wstring& name) const;

  // The control a name reaches, or null.
  HWND findControl(const std::wstring& name) const;

 private:
  fav::unique_hwnd window_;
  std::vector<std::pair<std::wstring, HWND>> controls_;  // creation order
};
