#include "un_logger.h"

#include <windows.h>

#include <cwchar>

#include "text_codec.h"
#include "unique_handles.h"

namespace {

struct LoggerState {
  bool on = false;
  int level = 1;
  std::wstring fileName;
  std::function<LogClockTime()> clock;
};

LoggerState& state() {
  static LoggerState s;
  return s;
}

LogClockTime realClock() {
  // One reading for date and time, so a line written at midnight cannot pair
  // the old date with the new time.
  SYSTEMTIME t{};
  ::GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::wstring formatLine(const std::wstring& message, int indent) {
  const LogClockTime t = state().clock ? state().clock() : realClock();
  wchar_t stamp[32];
  std::swprintf(stamp, sizeof stamp / sizeof stamp[0], L"[%04d-%02d-%02d %02d:%02d:%02d] :",
                t.year, t.month, t.day, t.hour, t.minute, t.second);
  std::wstring line = stamp;
  if (indent > 0) line.append(static_cast<size_t>(indent), L' ');
  line += message;
  return line;
}

// The platform refuses paths of MAX_PATH characters and more; keep that limit
// even where it would not (Wine), so a too-long name fails the same everywhere.
constexpr size_t kMaxLogFileName = 259;

fav::unique_file openForAppend(const std::wstring& name) {
  return fav::unique_file(::CreateFileW(name.c_str(), FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

fav::unique_file createAnew(const std::wstring& name) {
  return fav::unique_file(::CreateFileW(name.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string describe(const char* what, const std::wstring& name, DWORD error) {
  return std::string(what) + " \"" + fav::toNarrow(name) + "\" (error " +
         std::to_string(error) + ")";
}

void writeAll(HANDLE file, const std::string& bytes, const std::wstring& name) {
  DWORD written = 0;
  if (!bytes.empty() &&
      (!::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
       written != bytes.size()))
    throw LogFileError(describe("cannot write log file", name, ::GetLastError()));
}

}  // namespace

void setLogFileName(const std::wstring& fileName) { state().fileName = fileName; }
std::wstring getLogFileName() { return state().fileName; }
void turnLoggingOn() { state().on = true; }
void turnLoggingOff() { state().on = false; }
void turnLogging(bool on) {
  if (on)
    turnLoggingOn();
  else
    turnLoggingOff();
}
void toggleLogging() { state().on = !state().on; }
bool isLogging() { return state().on; }
void setLogLevel(int level) { state().level = (level >= 1 && level <= 5) ? level : 1; }
int logLevel() { return state().level; }

void dolog(const std::wstring& message, int indent, int level) {
  LoggerState& s = state();
  if (!s.on || level < s.level) return;
  // Logging switched on before anyone named a file: there is nowhere to write,
  // and a trace must never break the operation it traces.
  if (s.fileName.empty()) return;
  if (s.fileName.size() > kMaxLogFileName)
    throw LogFileError(describe("log file name too long", s.fileName, ERROR_FILENAME_EXCED_RANGE));

  fav::unique_file file = openForAppend(s.fileName);
  if (!file) file = createAnew(s.fileName);
  if (!file) throw LogFileError(describe("cannot create log file", s.fileName, ::GetLastError()));

  writeAll(file.get(), fav::toNarrow(formatLine(message, indent)), s.fileName);
  ::FlushFileBuffers(file.get());
  writeAll(file.get(), "\r\n", s.fileName);
}

void log(const std::wstring& message, const std::wstring& second, int indent, int level) {
  LoggerState& s = state();
  if (!s.on || level < s.level) return;
  dolog(message + L" " + second, indent, level);
}

void log(const std::wstring& message, int number, int indent, int level) {
  LoggerState& s = state();
  if (!s.on || level < s.level) return;
  dolog(message + L" " + std::to_wstring(number), indent, level);
}

void log(const std::wstring& message) { dolog(message, 0, 1); }

void setLogClockForTesting(std::function<LogClockTime()> clock) {
  state().clock = std::move(clock);
}
