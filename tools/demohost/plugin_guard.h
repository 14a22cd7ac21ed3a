// Every call into the plug-in goes through here: a C++ exception or a
// hardware fault that escapes an export is caught and described instead of
// taking the host down.
#pragma once

#include <functional>
#include <string>

namespace demohost {

// Runs call; returns an empty text when it returned normally, else what went
// wrong ("threw std::runtime_error: ...", "access violation at ...").
// Faults are caught on the thread that installed the guard (the UI thread).
std::wstring runGuarded(const std::function<void()>& call);

// Installs the process's last-chance handler that lands hardware faults in
// the innermost runGuarded. Call once on the UI thread.
void installFaultLanding();

}  // namespace demohost
