// The demo's private copy of the plug-in and its sample data: the plug-in
// files and a sample Favorites.ini under <root>\PlugIns, the sample scripts
// under <root>\Scripts. The demo only ever writes inside the root.
#pragma once

#include <filesystem>
#include <string>

namespace demohost {

struct ScratchFolder {
  std::filesystem::path root;
  std::filesystem::path plugins() const { return root / L"PlugIns"; }
  std::filesystem::path scripts() const { return root / L"Scripts"; }
  std::filesystem::path settingsFile() const { return plugins() / L"Favorites.ini"; }
  std::filesystem::path pluginDll() const { return plugins() / L"favorites.dll"; }
};

// %TEMP%\FavoritesDemo
std::filesystem::path defaultScratchRoot();

// Fills root afresh from the plug-in package folder (favorites.dll and its
// bitmaps; never a settings file found there) and the sample folder
// (Scripts\*, Favorites.ini or, for the ribbon scheme, Favorites-ribbon.ini).
// A root that exists is emptied only when an earlier run made it. The sample
// names its files with "%path%", which stands for the root.
bool prepareScratch(const ScratchFolder& scratch, const std::filesystem::path& packageDir,
                    const std::filesystem::path& sampleDir, bool ribbon, std::wstring& error);

}  // namespace demohost
