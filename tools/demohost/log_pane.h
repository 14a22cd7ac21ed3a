// The log pane: one line per call between host and plug-in, faults in red.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace demohost {

class LogPane {
 public:
  enum class Kind { Export, Callback, Note, Fault };

  bool create(HWND parent, int id, HFONT font);
  HWND hwnd() const { return hwnd_; }
  void add(Kind kind, const std::wstring& text);
  // While held, lines are kept but the pane is not repainted (a burst of
  // 99 menu reads must not wait for the screen).
  void hold(bool on);
  const std::vector<std::wstring>& lines() const { return lines_; }
  size_t faults() const { return faults_; }
  // From the parent's WM_MEASUREITEM / WM_DRAWITEM.
  void measure(MEASUREITEMSTRUCT& item) const;
  void draw(const DRAWITEMSTRUCT& item) const;

 private:
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  int lineHeight_ = 16;
  std::vector<std::wstring> lines_;  // everything said, also lines the pane dropped
  size_t faults_ = 0;
  // Repeats of the same callback in a row share one line ("... x99").
  std::wstring lastCallback_;
  int repeats_ = 0;
};

}  // namespace demohost
