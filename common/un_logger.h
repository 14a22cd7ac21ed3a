// Diagnostic trace: one time-stamped line per message, appended to a text file
// that is opened and closed for every line. Off at start.
// Line form: "[YYYY-MM-DD HH:MM:SS] :" + indent blanks + message, CR LF.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

// The one error that leaves the logger: the file could neither be appended to
// nor created. Callers at an export or window-procedure boundary catch it.
class LogFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void setLogFileName(const std::wstring& fileName);
std::wstring getLogFileName();
void turnLoggingOn();
void turnLoggingOff();
void turnLogging(bool on);
void toggleLogging();
bool isLogging();
void setLogLevel(int level);  // 1..5, anything else stores 1
int logLevel();

// Writes when logging is on and level >= logLevel(). Appends; a file that
// cannot be appended to is created anew; LogFileError when that fails too.
// With no log file name set, nothing is written and nothing raised.
void dolog(const std::wstring& message, int indent, int level);
void log(const std::wstring& message, const std::wstring& second, int indent, int level);
void log(const std::wstring& message, int number, int indent, int level);
void log(const std::wstring& message);

// Test seam: the local clock the time stamp is taken from.
struct LogClockTime {
  int year, month, day, hour, minute, second;
};
void setLogClockForTesting(std::function<LogClockTime()> clock);  // empty = real clock
