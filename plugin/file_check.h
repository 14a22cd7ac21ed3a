// Whether a favorite's file is still there, asked without ever freezing the
// IDE: the check runs on a worker thread, and a click waits for it only so
// long (an unreachable network path can take half a minute to answer).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace filecheck {

enum class Presence { Exists, Missing, Unknown };

// How long a click waits for the answer.
inline constexpr DWORD kClickLimitMs = 1500;

// Missing only when the system says the file or its folder is not found;
// Unknown when it cannot tell (no access, no network) or does not answer
// within limitMs. The worker owns its copy of the path and keeps the module
// loaded until it ends, so a late answer harms nothing.
Presence checkPresence(const std::wstring& path, DWORD limitMs = kClickLimitMs);

// The same answer asked on the calling thread, which it holds as long as the
// system takes: for a worker of our own only. seamExists, when set, answers
// in place of the disk (the test seam's fileExists).
Presence askPresence(const std::wstring& path, int (*seamExists)(const wchar_t*));

// Runs work on a thread of its own that holds this library until the work
// and everything it captured are gone, so a late end harms nothing even
// after the host's FreeLibrary. work must not throw. False when no thread
// could start (work is then dropped).
bool runOnWorker(std::function<void()> work);

}  // namespace filecheck
