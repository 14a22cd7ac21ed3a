#include "PlugInIntf.h"

#include <array>

namespace host {
namespace {

constexpr int kMaxIndex = 272;
std::array<void*, kMaxIndex + 1> gSlots{};

struct Range {
  int low, high;
};
// The host's numbering of its services; gaps are indices it never hands out.
constexpr Range kAccepted[] = {
    {1, 48},    {50, 56},   {60, 85},   {90, 98},   {100, 113}, {120, 122}, {130, 135},
    {140, 150}, {153, 153}, {160, 162}, {165, 166}, {173, 175}, {180, 180}, {185, 185},
    {190, 192}, {200, 204}, {210, 221}, {230, 231}, {240, 246}, {250, 253}, {270, 272},
};

template <typename Fn>
Fn slot(int index) {
  return reinterpret_cast<Fn>(gSlots[static_cast<size_t>(index)]);
}

std::string copyText(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace

bool isAcceptedCallbackIndex(int index) {
  for (const Range& r : kAccepted)
    if (index >= r.low && index <= r.high) return true;
  return false;
}

void RegisterCallback(int index, void* address) {
  if (isAcceptedCallbackIndex(index)) gSlots[static_cast<size_t>(index)] = address;
}

void* callbackAddress(int index) {
  return isAcceptedCallbackIndex(index) ? gSlots[static_cast<size_t>(index)] : nullptr;
}

bool hasCallback(int index) { return callbackAddress(index) != nullptr; }

void clearCallbacks() { gSlots.fill(nullptr); }

int HostVersion() {
  auto fn = slot<int (*)()>(kHostVersion);
  return fn ? fn() : 0;
}

std::string HostKeyPath() {
  auto fn = slot<const char* (*)()>(kHostKeyPath);
  return fn ? copyText(fn()) : std::string();
}

std::string HostRootFolder() {
  auto fn = slot<const char* (*)()>(kHostRootFolder);
  return fn ? copyText(fn()) : std::string();
}

int CurrentWindowType() {
  auto fn = slot<int (*)()>(kCurrentWindowType);
  return fn ? fn() : 0;
}

void OpenFileInWindow(int windowType, const std::string& fileName) {
  if (auto fn = slot<int (*)(int, const char*)>(kOpenFileInWindow)) fn(windowType, fileName.c_str());
}

std::string CurrentWindowFileName() {
  auto fn = slot<const char* (*)()>(kCurrentWindowFileName);
  return fn ? copyText(fn()) : std::string();
}

void RefreshPluginMenus(int pluginId) {
  if (auto fn = slot<void (*)(int)>(kRefreshPluginMenus)) fn(pluginId);
}

std::string MainMenuNames() {
  auto fn = slot<const char* (*)()>(kMainMenuNames);
  return fn ? copyText(fn()) : std::string();
}

int WindowCount() {
  auto fn = slot<int (*)()>(kWindowCount);
  return fn ? fn() : 0;
}

void SelectWindow(int window) {
  if (auto fn = slot<int (*)(int)>(kSelectWindow)) fn(window);
}

void ActivateWindow(int window) {
  if (auto fn = slot<int (*)(int)>(kActivateWindow)) fn(window);
}

int WindowConnectionState(int mode) {
  auto fn = slot<int (*)(int)>(kWindowConnectionState);
  return fn ? fn(mode) : 0;
}

std::string FileExtensionsForType(const std::string& objectType) {
  auto fn = slot<const char* (*)(const char*)>(kFileExtensionsForType);
  return fn ? copyText(fn(objectType.c_str())) : std::string();
}

void AddToolButton(int pluginId, int menuIndex, const std::string& caption,
                   const std::string& bitmapFile) {
  if (auto fn = slot<void (*)(int, int, const char*, const char*, int)>(kAddToolButton))
    fn(pluginId, menuIndex, caption.c_str(), bitmapFile.c_str(), 0);
}

ConnectionInfo ConnectionDetails(int connection) {
  ConnectionInfo info;
  auto fn = slot<void (*)(int, char**, char**, char**, char**)>(kConnectionDetails);
  if (!fn) return info;
  char* user = nullptr;
  char* password = nullptr;
  char* database = nullptr;
  char* connectAs = nullptr;
  fn(connection, &user, &password, &database, &connectAs);
  info.username = copyText(user);
  info.password = copyText(password);
  info.database = copyText(database);
  info.connectAs = copyText(connectAs);
  return info;
}

int ConnectionForLogon(const ConnectionInfo& d) {
  auto fn = slot<int (*)(const char*, const char*, const char*, const char*)>(kConnectionForLogon);
  return fn ? fn(d.username.c_str(), d.password.c_str(), d.database.c_str(), d.connectAs.c_str())
            : 0;
}

int CurrentWindowConnection() {
  auto fn = slot<int (*)()>(kCurrentWindowConnection);
  return fn ? fn() : 0;
}

void SetCurrentWindowConnection(int connection) {
  if (auto fn = slot<int (*)(int)>(kSetCurrentWindowConnection)) fn(connection);
}

}  // namespace host
