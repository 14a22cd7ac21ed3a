// A private copy of favorites.dll in a scratch folder, loaded by the host
// simulator: its settings file (Favorites.ini beside the DLL) belongs to this
// test alone.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host_simulator.h"
#include "temp_dir.h"

namespace testsupport {

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path built = hostsim::HostSimulator::defaultDllPath();
    std::filesystem::copy_file(built, dir / L"favorites.dll",
                               std::filesystem::copy_options::overwrite_existing);
    host.hostRootFolder = narrowPath(dir.path()) + "\\";
  }

  // Loads the plug-in copy, identifies it and registers every service.
  void loadPlugin(int hostVersion = 1199) {
    host.hostVersion = hostVersion;
    ASSERT_TRUE(host.load((dir / L"favorites.dll").wstring()));
    host.identify(kPluginId);
    host.registerServices();
  }

  std::filesystem::path iniPath() const { return dir / L"Favorites.ini"; }
  void writeIni(const std::string& content) { writeFile(iniPath(), content); }
  std::string readIni() const { return readFile(iniPath()); }
  std::string folder() const { return narrowPath(dir.path()); }

  static std::string narrowPath(const std::filesystem::path& p) {
    const std::wstring w = p.wstring();
    return std::string(w.begin(), w.end());
  }

  static constexpr int kPluginId = 7;
  TempDir dir;
  hostsim::HostSimulator host;
};

}  // namespace testsupport
