// The menu texts and tool buttons the host asks for, from one snapshot of the
// settings file per export call, so hand edits show at the next refresh.
#pragma once

#include "ini_file.h"
#include "menu_texts.h"

namespace menus {

// Registers the tool buttons through the host's AddToolButton.
void rebuildToolButtons();
void rebuildToolButtons(const IniFile& ini);

}  // namespace menus
