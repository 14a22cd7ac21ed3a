#include "scratch_folder.h"

#include <windows.h>

#include <fstream>
#include <system_error>

namespace demohost {
namespace fs = std::filesystem;
namespace {

// Marks a folder as the demo's own, so a later run may empty it.
const wchar_t kMarker[] = L"favorites-demo.txt";

bool isPackageFile(const fs::path& p) {
  const std::wstring ext = p.extension().wstring();
  auto is = [&](const wchar_t* e) { return _wcsicmp(ext.c_str(), e) == 0; };
  return is(L".dll") || is(L".bmp");
}

bool copyAll(const fs::path& from, const fs::path& to, bool (*wanted)(const fs::path&),
             std::wstring& error) {
  std::error_code ec;
  fs::create_directories(to, ec);
  for (const auto& entry : fs::directory_iterator(from, ec)) {
    if (!entry.is_regular_file() || (wanted && !wanted(entry.path()))) continue;
    fs::copy_file(entry.path(), to / entry.path().filename(), fs::copy_options::overwrite_existing,
                  ec);
    if (ec) {
      error = L"cannot copy " + entry.path().wstring() + L": " +
              std::wstring(ec.message().begin(), ec.message().end());
      return false;
    }
  }
  if (ec) {
    error = L"cannot read " + from.wstring();
    return false;
  }
  return true;
}

}  // namespace

fs::path defaultScratchRoot() {
  wchar_t temp[MAX_PATH];
  const DWORD n = ::GetTempPathW(MAX_PATH, temp);
  return fs::path(n > 0 && n < MAX_PATH ? std::wstring(temp, n) : std::wstring(L".")) /
         L"FavoritesDemo";
}

bool prepareScratch(const ScratchFolder& scratch, const fs::path& packageDir,
                    const fs::path& sampleDir, bool ribbon, std::wstring& error) {
  std::error_code ec;
  if (!fs::exists(packageDir / L"favorites.dll", ec)) {
    error = L"no favorites.dll in " + packageDir.wstring();
    return false;
  }
  const fs::path sampleIni = sampleDir / (ribbon ? L"Favorites-ribbon.ini" : L"Favorites.ini");
  if (!fs::exists(sampleIni, ec)) {
    error = L"no sample " + sampleIni.wstring();
    return false;
  }
  if (fs::exists(scratch.root, ec) && !fs::is_empty(scratch.root, ec)) {
    if (!fs::exists(scratch.root / kMarker, ec)) {
      error = scratch.root.wstring() + L" is not empty and was not made by the demo; choose another folder";
      return false;
    }
    fs::remove_all(scratch.root, ec);
    if (ec) {
      error = L"cannot empty " + scratch.root.wstring() + L" (is a demo still running?)";
      return false;
    }
  }
  fs::create_directories(scratch.root, ec);
  std::ofstream(scratch.root / kMarker) << "Scratch folder of the Favorites demo host; "
                                           "deleted and remade at each start.\n";
  if (!copyAll(packageDir, scratch.plugins(), &isPackageFile, error)) return false;
  if (!copyAll(sampleDir / L"Scripts", scratch.scripts(), nullptr, error)) return false;
  fs::copy_file(sampleIni, scratch.settingsFile(), fs::copy_options::overwrite_existing, ec);
  if (ec) {
    error = L"cannot copy " + sampleIni.wstring();
    return false;
  }
  // The sample's file names start with %path%; here it stands for the root.
  if (!::WritePrivateProfileStringW(L"Settings", L"ReplacementPath", scratch.root.wstring().c_str(),
                                    scratch.settingsFile().c_str())) {
    error = L"cannot write " + scratch.settingsFile().wstring();
    return false;
  }
  return true;
}

}  // namespace demohost
