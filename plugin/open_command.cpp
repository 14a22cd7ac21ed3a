#include "open_command.h"

namespace commands {
namespace {

const fav::DialogBase* gOpen = nullptr;

}  // namespace

OpenCommand::OpenCommand(const fav::DialogBase& dialog) { gOpen = &dialog; }

OpenCommand::~OpenCommand() { gOpen = nullptr; }

bool commandRunning() {
  if (!gOpen) return false;
  // Before its window exists (a message about the file, say) there is
  // nothing to bring forward; the call still ends here.
  if (HWND dialog = gOpen->hwnd()) {
    HWND front = ::GetLastActivePopup(dialog);
    if (!front || !::IsWindowVisible(front)) front = dialog;
    if (::IsIconic(front)) ::ShowWindow(front, SW_RESTORE);
    ::SetForegroundWindow(front);
    ::BringWindowToTop(front);
  }
  return true;
}

}  // namespace commands
