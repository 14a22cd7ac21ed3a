// hostsim: plays the host for favorites.dll from the command line.
//   hostsim [--dll path] [--host-version N] [--root folder\] [--click N]...
// Prints the menu texts, the tool buttons and every callback the plug-in made.
#include <cstdio>
#include <cwchar>
#include <string>

#include "host_simulator.h"

int wmain(int argc, wchar_t** argv) {
  hostsim::HostSimulator host;
  std::wstring dll = hostsim::HostSimulator::defaultDllPath();
  std::vector<int> clicks;
  for (int i = 1; i < argc; ++i) {
    const std::wstring a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == L"--dll" && hasValue) dll = argv[++i];
    else if (a == L"--host-version" && hasValue) host.hostVersion = _wtoi(argv[++i]);
    else if (a == L"--root" && hasValue) {
      const std::wstring root = argv[++i];
      host.hostRootFolder.assign(root.begin(), root.end());
    } else if (a == L"--click" && hasValue) clicks.push_back(_wtoi(argv[++i]));
    else {
      std::fwprintf(stderr, L"usage: hostsim [--dll path] [--host-version N] [--root folder\\] [--click N]...\n");
      return 2;
    }
  }
  if (!host.load(dll)) {
    std::fwprintf(stderr, L"cannot load %ls\n", dll.c_str());
    return 1;
  }
  std::printf("IdentifyPlugIn: %s\n", host.identify().c_str());
  host.registerServices();
  host.menuTexts();
  host.onActivate();
  for (int index : clicks) host.onMenuClick(index);
  std::printf("-- menu\n");
  for (size_t i = 0; i < host.menu.size(); ++i)
    if (!host.menu[i].empty()) std::printf("%3zu %s\n", i + 1, host.menu[i].c_str());
  std::printf("-- tool buttons\n");
  for (const auto& b : host.toolButtons)
    std::printf("%3d %s | %s\n", b.index, b.caption.c_str(), b.bitmap.c_str());
  std::printf("-- calls\n");
  for (const auto& c : host.callTexts()) std::printf("%s\n", c.c_str());
  return 0;
}
