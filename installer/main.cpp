// tolvane.exe: the Favorites installer. No arguments; everything it needs is
// in setup.ini beside it.
#include <windows.h>

#include "frm_tolvane.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  try {
    return runTolvane(instance, showCommand);
  } catch (...) {
    return 1;
  }
}
