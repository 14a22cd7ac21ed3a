// Under Wine: reaching the Unix side, for fixtures the Windows calls cannot
// make (symbolic links, which Wine's CreateSymbolicLinkW does not create).
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace testsupport {

// Under Wine: the Unix path of a Windows path, or empty elsewhere.
inline std::wstring wineUnixPath(const std::filesystem::path& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* name = unixName ? unixName(path.c_str()) : nullptr;
  const std::string text = name ? name : "";
  if (name) ::HeapFree(::GetProcessHeap(), 0, name);
  return std::filesystem::path(text).wstring();
}

// Under Wine: runs a Unix program, and waits until done() holds (Wine may
// report the program ended before it has done its work).
template <typename Done>
inline bool runUnixProgram(std::wstring command, Done done) {
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
    return false;
  ::WaitForSingleObject(process.hProcess, 30000);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  for (int waited = 0; waited < 100 && !done(); ++waited) ::Sleep(50);
  return done();
}

}  // namespace testsupport
