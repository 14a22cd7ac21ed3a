// The two dialog commands the host can start: Configure and About. Each runs
// its dialog modally inside the export call, then refreshes the host's menus.
#pragma once

namespace commands {

void runConfigure();
void runAbout();

}  // namespace commands
