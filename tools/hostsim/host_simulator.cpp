#include "host_simulator.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace hostsim {
namespace {

HostSimulator* gActive = nullptr;

HostSimulator& sim() {
  if (!gActive) throw std::logic_error("no active host simulator");
  return *gActive;
}

std::string str(const char* s) { return s ? std::string(s) : std::string("<null>"); }
std::string num(int v) { return std::to_string(v); }

std::wstring envOr(const wchar_t* name, const std::wstring& fallback) {
  wchar_t buf[1024];
  const DWORD n = ::GetEnvironmentVariableW(name, buf, 1024);
  return n > 0 && n < 1024 ? std::wstring(buf, n) : fallback;
}

std::string narrow(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_ACP, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  ::WideCharToMultiByte(CP_ACP, 0, w.data(), (int)w.size(), out.data(), n, nullptr, nullptr);
  return out;
}

Window* current() {
  auto& s = sim();
  if (s.currentWindow < 0 || s.currentWindow >= (int)s.windows.size()) return nullptr;
  return &s.windows[s.currentWindow];
}

// ---- the host's services, as C functions ------------------------------------

int cbHostVersion() {
  sim().record("HostVersion");
  return sim().hostVersion;
}
const char* cbHostKeyPath() {
  sim().record("HostKeyPath");
  return sim().keep(sim().hostKeyPath);
}
const char* cbHostRootFolder() {
  sim().record("HostRootFolder");
  return sim().keep(sim().hostRootFolder);
}
int cbCurrentWindowType() {
  sim().record("CurrentWindowType");
  Window* w = current();
  return w ? w->type : 0;
}
int cbOpenFileInWindow(int type, const char* file) {
  auto& s = sim();
  s.record("OpenFileInWindow", {num(type), str(file)});
  s.windows.push_back(Window{str(file), type, 0});
  s.currentWindow = (int)s.windows.size() - 1;
  return 1;
}
const char* cbCurrentWindowFileName() {
  sim().record("CurrentWindowFileName");
  Window* w = current();
  return sim().keep(w ? w->fileName : std::string());
}
void cbRefreshPluginMenus(int id) {
  sim().record("RefreshPluginMenus", {num(id)});
  ++sim().refreshRequests;
}
const char* cbMainMenuNames() {
  sim().record("MainMenuNames");
  return sim().keep(sim().mainMenuNames);
}
int cbWindowCount() {
  sim().record("WindowCount");
  if (sim().windowCountAnswer) return *sim().windowCountAnswer;
  return (int)sim().windows.size();
}
int cbSelectWindow(int w) {
  auto& s = sim();
  s.record("SelectWindow", {num(w)});
  if (w >= 0 && w < (int)s.windows.size()) {
    s.currentWindow = w;
    return 1;
  }
  return 0;
}
int cbActivateWindow(int w) {
  auto& s = sim();
  s.record("ActivateWindow", {num(w)});
  if (w >= 0 && w < (int)s.windows.size()) {
    s.currentWindow = w;
    return 1;
  }
  return 0;
}
int cbWindowConnectionState(int mode) {
  sim().record("WindowConnectionState", {num(mode)});
  return mode == 2 ? sim().windowConnectionStateAnswer : 1;
}
const char* cbFileExtensionsForType(const char* type) {
  auto& s = sim();
  s.record("FileExtensionsForType", {str(type)});
  auto it = s.extensionsForType.find(str(type));
  return s.keep(it == s.extensionsForType.end() ? std::string() : it->second);
}
void cbAddToolButton(int id, int index, const char* caption, const char* bitmap, int flags) {
  auto& s = sim();
  s.record("AddToolButton", {num(id), num(index), str(caption), str(bitmap), num(flags)});
  s.toolButtons.push_back(ToolButton{id, index, str(caption), str(bitmap), flags});
}
void cbConnectionDetails(int connection, char** user, char** password, char** database,
                         char** connectAs) {
  auto& s = sim();
  s.record("ConnectionDetails", {num(connection)});
  Connection c;
  if (connection >= 1 && connection <= (int)s.connections.size()) c = s.connections[connection - 1];
  if (s.nullTexts) return;
  if (user) *user = const_cast<char*>(s.keep(c.username));
  if (password) *password = const_cast<char*>(s.keep(c.password));
  if (database) *database = const_cast<char*>(s.keep(c.database));
  if (connectAs) *connectAs = const_cast<char*>(s.keep(c.connectAs));
}
int cbConnectionForLogon(const char* user, const char* password, const char* database,
                         const char* connectAs) {
  auto& s = sim();
  s.record("ConnectionForLogon", {str(user), str(password), str(database), str(connectAs)});
  Connection c{str(user), str(password), str(database), str(connectAs)};
  for (size_t i = 0; i < s.connections.size(); ++i)
    if (s.connections[i] == c) return (int)i + 1;
  s.connections.push_back(c);
  return (int)s.connections.size();
}
int cbCurrentWindowConnection() {
  sim().record("CurrentWindowConnection");
  Window* w = current();
  return w ? w->connection : 0;
}
int cbSetCurrentWindowConnection(int connection) {
  sim().record("SetCurrentWindowConnection", {num(connection)});
  if (Window* w = current()) w->connection = connection;
  return 1;
}

struct Service {
  int index;
  void* address;
};
const Service kServices[] = {
    {1, (void*)&cbHostVersion},
    {2, (void*)&cbHostKeyPath},
    {3, (void*)&cbHostRootFolder},
    {14, (void*)&cbCurrentWindowType},
    {21, (void*)&cbOpenFileInWindow},
    {23, (void*)&cbCurrentWindowFileName},
    {64, (void*)&cbRefreshPluginMenus},
    {68, (void*)&cbMainMenuNames},
    {80, (void*)&cbWindowCount},
    {81, (void*)&cbSelectWindow},
    {82, (void*)&cbActivateWindow},
    {85, (void*)&cbWindowConnectionState},
    {109, (void*)&cbFileExtensionsForType},
    {150, (void*)&cbAddToolButton},
    {240, (void*)&cbConnectionDetails},
    {242, (void*)&cbConnectionForLogon},
    {245, (void*)&cbCurrentWindowConnection},
    {246, (void*)&cbSetCurrentWindowConnection},
};

}  // namespace

std::string Call::text() const {
  std::string t = name + "(";
  for (size_t i = 0; i < args.size(); ++i) t += (i ? ", " : "") + args[i];
  return t + ")";
}

HostSimulator::HostSimulator() {
  gActive = this;
  hostRootFolder = narrow(envOr(L"FAV_BUILD_DIR", L".")) + "\\hostroot\\";
}

HostSimulator::~HostSimulator() {
  unload();
  if (gActive == this) gActive = nullptr;
}

HostSimulator* HostSimulator::active() { return gActive; }

std::wstring HostSimulator::defaultDllPath() {
  return envOr(L"FAVORITES_DLL", envOr(L"FAV_BUILD_DIR", L".") + L"\\plugin\\favorites.dll");
}

bool HostSimulator::load(const std::wstring& dllPath) {
  unload();
  module_ = ::LoadLibraryW(dllPath.c_str());
  return module_ != nullptr;
}

void HostSimulator::unload() {
  if (module_) ::FreeLibrary(module_);
  module_ = nullptr;
}

FARPROC HostSimulator::exportAddress(const char* name) const {
  return module_ ? ::GetProcAddress(module_, name) : nullptr;
}

template <typename Fn>
static Fn exportOf(const HostSimulator& s, const char* name) {
  // Through a generic function pointer: GetProcAddress's type says nothing of the export's.
  auto fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(s.exportAddress(name)));
  if (!fn) throw std::runtime_error(std::string("missing export ") + name);
  return fn;
}

std::string HostSimulator::identify(int pluginId) {
  const char* name = exportOf<const char* (*)(int)>(*this, "IdentifyPlugIn")(pluginId);
  return str(name);
}

void HostSimulator::registerCallback(int index, void* address) {
  exportOf<void (*)(int, void*)>(*this, "RegisterCallback")(index, address);
}

void HostSimulator::registerServices(const std::set<int>& skip) {
  for (const Service& s : kServices)
    if (!skip.count(s.index)) registerCallback(s.index, s.address);
}

void HostSimulator::start(int pluginId) {
  identify(pluginId);
  registerServices();
  menuTexts();
  onActivate();
}

const char* HostSimulator::createMenuItemRaw(int index) {
  return exportOf<const char* (*)(int)>(*this, "CreateMenuItem")(index);
}

std::string HostSimulator::createMenuItem(int index) { return str(createMenuItemRaw(index)); }

std::vector<std::string> HostSimulator::menuTexts() {
  menu.clear();
  for (int i = 1; i <= 99; ++i) menu.push_back(createMenuItem(i));
  return menu;
}

void HostSimulator::afterExport() {
  // The host answers a refresh request by asking for every menu item again.
  if (refreshRequests > 0 && module_) menuTexts();
}

void HostSimulator::onMenuClick(int index) {
  const int before = refreshRequests;
  exportOf<void (*)(int)>(*this, "OnMenuClick")(index);
  if (refreshRequests != before) afterExport();
}

void HostSimulator::configure() {
  const int before = refreshRequests;
  exportOf<void (*)()>(*this, "Configure")();
  if (refreshRequests != before) afterExport();
}

const char* HostSimulator::about() {
  const int before = refreshRequests;
  const char* result = exportOf<const char* (*)()>(*this, "About")();
  if (refreshRequests != before) afterExport();
  return result;
}

void HostSimulator::onActivate() { exportOf<void (*)()>(*this, "OnActivate")(); }
void HostSimulator::onCreate() { exportOf<void (*)()>(*this, "OnCreate")(); }
void HostSimulator::onDestroy() { exportOf<void (*)()>(*this, "OnDestroy")(); }
void HostSimulator::onWindowChange() { exportOf<void (*)()>(*this, "onWindowChange")(); }
void HostSimulator::onMainMenu() { exportOf<void (*)()>(*this, "OnMainMenu")(); }
int HostSimulator::supportsStyles() { return exportOf<int (*)()>(*this, "SupportsStyles")(); }

void HostSimulator::setModifiers(bool shift, bool ctrl, bool alt) {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  auto set = [&](int vk, bool down) { keys[vk] = down ? 0x80 : 0; };
  set(VK_SHIFT, shift);
  set(VK_LSHIFT, shift);
  set(VK_CONTROL, ctrl);
  set(VK_LCONTROL, ctrl);
  set(VK_MENU, alt);
  set(VK_LMENU, alt);
  ::SetKeyboardState(keys);
}

void HostSimulator::record(std::string name, std::vector<std::string> args) {
  calls.push_back(Call{std::move(name), std::move(args)});
  if (onCall) onCall(calls.back());
}

const char* HostSimulator::keep(std::string text) {
  if (nullTexts) return nullptr;
  texts_.push_back(std::move(text));
  return texts_.back().c_str();
}

std::vector<Call> HostSimulator::callsNamed(const std::string& name) const {
  std::vector<Call> out;
  for (const Call& c : calls)
    if (c.name == name) out.push_back(c);
  return out;
}

std::vector<std::string> HostSimulator::callTexts() const {
  std::vector<std::string> out;
  for (const Call& c : calls) out.push_back(c.text());
  return out;
}

void HostSimulator::clearRecords() {
  calls.clear();
  toolButtons.clear();
  refreshRequests = 0;
}

}  // namespace hostsim
