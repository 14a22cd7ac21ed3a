// A plug-in that misbehaves on purpose: it throws, crashes, returns null
// texts and takes its time. The demo host must report each of these and go on.
#include <windows.h>

#include <stdexcept>

// Read at run time, so the compiler keeps the faulting store as written.
volatile int* volatile gNowhere = nullptr;

extern "C" {

__declspec(dllexport) const char* IdentifyPlugIn(int) { return "Bad"; }
__declspec(dllexport) void RegisterCallback(int, void*) {}

__declspec(dllexport) const char* CreateMenuItem(int index) {
  switch (index) {
    case 1: return "File / Reopen >> Bad";
    case 2: return "File / Bad / throws";
    case 3: return "File / Bad / crashes";
    case 4: return nullptr;
    case 5:
      ::Sleep(800);
      return "File / Bad / slow";
    case 6: return "File /  / nameless";
  }
  return "";
}

__declspec(dllexport) void OnMenuClick(int index) {
  if (index == 2) throw std::runtime_error("boom");
  if (index == 3) *gNowhere = 1;
}

__declspec(dllexport) const char* About() { return nullptr; }
__declspec(dllexport) void OnActivate() {}
// No Configure export at all.
}
