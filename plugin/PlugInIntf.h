// The host's callback services. The host hands each service's address to
// RegisterCallback by index; only the accepted indices are stored, and only
// the services below are ever called. A service the host never registered is
// never called: its wrapper answers neutrally (0 or an empty text).
#pragma once

#include <string>

namespace host {

// Indices of the services the plug-in calls.
enum CallbackIndex : int {
  kHostVersion = 1,
  kHostKeyPath = 2,
  kHostRootFolder = 3,
  kCurrentWindowType = 14,
  kOpenFileInWindow = 21,
  kCurrentWindowFileName = 23,
  kRefreshPluginMenus = 64,
  kMainMenuNames = 68,
  kWindowCount = 80,
  kSelectWindow = 81,
  kActivateWindow = 82,
  kWindowConnectionState = 85,
  kFileExtensionsForType = 109,
  kAddToolButton = 150,
  kConnectionDetails = 240,
  kConnectionForLogon = 242,
  kCurrentWindowConnection = 245,
  kSetCurrentWindowConnection = 246,
};

// True for the indices the host may register (others are ignored).
bool isAcceptedCallbackIndex(int index);
// Stores the address when the index is accepted; a later call replaces it.
void RegisterCallback(int index, void* address);
void* callbackAddress(int index);
bool hasCallback(int index);
// Forgets every service (library unload).
void clearCallbacks();

struct ConnectionInfo {
  std::string username, password, database, connectAs;  // narrow, as the host gives them
};

// Texts arrive narrow in the system code page and are copied at once.
int HostVersion();
std::string HostKeyPath();
std::string HostRootFolder();
int CurrentWindowType();
void OpenFileInWindow(int windowType, const std::string& fileName);
std::string CurrentWindowFileName();
void RefreshPluginMenus(int pluginId);
std::string MainMenuNames();
int WindowCount();
void SelectWindow(int window);
void ActivateWindow(int window);
int WindowConnectionState(int mode);
std::string FileExtensionsForType(const std::string& objectType);
void AddToolButton(int pluginId, int menuIndex, const std::string& caption,
                   const std::string& bitmapFile);
ConnectionInfo ConnectionDetails(int connection);
int ConnectionForLogon(const ConnectionInfo& details);
int CurrentWindowConnection();
void SetCurrentWindowConnection(int connection);

}  // namespace host
