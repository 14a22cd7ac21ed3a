#include "settings_read.h"

#include "ui_seam.h"

namespace plugin {

std::wstring readFailureMessage(const std::wstring& path, const std::wstring& reason) {
  return L"The favorites could not be read from\n" + path + L"\n\nReason: " +
         (reason.empty() ? std::wstring(L"unknown") : reason) +
         L"\n\nThe file is left as it is. Choose Retry to read it again, or Cancel to stop.";
}

std::optional<IniFile> loadForChange(const std::wstring& path, HWND owner) {
  for (;;) {
    IniFile ini = IniFile::load(path);
    if (!ini.openFailed()) return ini;
    const std::wstring text = readFailureMessage(path, ini.openError());
    if (showMessageBox(owner, text.c_str(), L"Favorites", MB_RETRYCANCEL | MB_ICONWARNING) !=
        IDRETRY)
      return std::nullopt;
  }
}

}  // namespace plugin
