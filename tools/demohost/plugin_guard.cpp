#include "plugin_guard.h"

#include <windows.h>

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <typeinfo>

namespace demohost {
namespace {

// Where a hardware fault jumps back to. The buffer is filled by
// __builtin_setjmp; the fault's details are copied here by the filter.
struct Landing {
  void* jump[5] = {};
  DWORD code = 0;
  void* address = nullptr;
  Landing* outer = nullptr;
};

Landing* gLanding = nullptr;
DWORD gGuardThread = 0;

LONG WINAPI landFault(EXCEPTION_POINTERS* info) {
  // Only faults of the guarded thread inside a guarded call are ours; the
  // rest take the platform's usual path.
  if (!gLanding || ::GetCurrentThreadId() != gGuardThread || !info || !info->ExceptionRecord)
    return EXCEPTION_CONTINUE_SEARCH;
  gLanding->code = info->ExceptionRecord->ExceptionCode;
  gLanding->address = info->ExceptionRecord->ExceptionAddress;
  __builtin_longjmp(gLanding->jump, 1);
}

std::wstring faultText(DWORD code, void* address) {
  const wchar_t* name = L"hardware exception";
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION: name = L"access violation"; break;
    case EXCEPTION_INT_DIVIDE_BY_ZERO: name = L"division by zero"; break;
    case EXCEPTION_STACK_OVERFLOW: name = L"stack overflow"; break;
    case EXCEPTION_ILLEGAL_INSTRUCTION: name = L"illegal instruction"; break;
    case EXCEPTION_PRIV_INSTRUCTION: name = L"privileged instruction"; break;
  }
  wchar_t buf[160];
  std::swprintf(buf, 160, L"%ls (0x%08lX) at %p", name, static_cast<unsigned long>(code), address);
  return buf;
}

std::wstring widen(const char* text) {
  std::wstring out;
  for (const char* p = text ? text : ""; *p; ++p) out += static_cast<wchar_t>(static_cast<unsigned char>(*p));
  return out;
}

// Kept out of line: __builtin_setjmp and the code it protects must not share
// a frame with the C++ handlers.
__attribute__((noinline)) std::wstring callCatching(const std::function<void()>& call) {
  try {
    call();
    return {};
  } catch (const std::exception& e) {
    int status = 0;
    char* name = abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status);
    std::wstring text = L"threw " + widen(status == 0 && name ? name : typeid(e).name()) + L": " + widen(e.what());
    std::free(name);
    return text;
  } catch (...) {
    return L"threw an exception of unknown type";
  }
}

}  // namespace

void installFaultLanding() {
  gGuardThread = ::GetCurrentThreadId();
  ::SetUnhandledExceptionFilter(&landFault);
}

std::wstring runGuarded(const std::function<void()>& call) {
  Landing landing;
  landing.outer = gLanding;
  if (__builtin_setjmp(landing.jump)) {
    // Back from a fault: the stack above us is gone, the landing is intact.
    gLanding = landing.outer;
    return faultText(landing.code, landing.address);
  }
  gLanding = &landing;
  std::wstring result = callCatching(call);
  gLanding = landing.outer;
  return result;
}

}  // namespace demohost
