// One command at a time. The host may call Configure or About again while a
// dialog of ours runs (from one of its own modal windows, or with no window
// of its own active, nothing of the host is disabled); a second Configure
// over the first would later let the outer Ok write back its stale copy.
#pragma once

#include "dialog_base.h"

namespace commands {

// Marks a command's dialog as running for as long as it lives. Scopes do not
// nest: the commands ask commandRunning() first.
class OpenCommand {
 public:
  explicit OpenCommand(const fav::DialogBase& dialog);
  ~OpenCommand();
  OpenCommand(const OpenCommand&) = delete;
  OpenCommand& operator=(const OpenCommand&) = delete;
};

// True while a command's dialog runs; the dialog in front (the command's
// own, or a child dialog or message box it opened) is then brought forward.
bool commandRunning();

}  // namespace commands
