#include "commands.h"

namespace commands {

// The Configure dialog arrives with its own change; until then the command
// has nothing to show.
void runConfigure() {}

}  // namespace commands
