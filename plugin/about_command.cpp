#include "commands.h"

namespace commands {

// The About dialog arrives with its own change; until then the command has
// nothing to show.
void runAbout() {}

}  // namespace commands
