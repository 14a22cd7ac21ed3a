// The settings text model under libFuzzer. The input is the file's bytes;
// its last bytes also choose a few writes. What must hold: an untouched
// model gives back the input byte for byte, and after the writes the bytes
// it gives read back with the same values as the model itself answers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ini_text.h"

namespace {

const ByteCodePage kCodePage;

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

// Every value the model can answer, section by section.
std::vector<std::wstring> allValues(const IniText& ini) {
  std::vector<std::wstring> out;
  for (const std::wstring& section : ini.sectionNames()) {
    out.push_back(L"[" + section + L"]");
    for (const std::wstring& key : ini.keyNames(section))
      out.push_back(key + L"=" + ini.readText(section, key, L"\x1 missing"));
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  IniText ini = IniText::fromBytes(bytes, kCodePage);
  if (ini.toBytes() != bytes) fail("untouched bytes changed");

  // Writes named by the input's bytes, with names in the style the plug-in
  // uses and values of characters every encoding we write can hold.
  static const wchar_t* const kSections[] = {L"Settings", L"Files", L"passwords", L"New"};
  static const wchar_t* const kKeys[] = {L"Left", L"File1", L"Password2", L"Extra"};
  for (std::size_t i = 0; i + 4 <= size && i < 24; i += 4) {
    const std::wstring section = kSections[data[i] % 4];
    const std::wstring key = kKeys[data[i + 1] % 4];
    std::wstring value;
    for (std::size_t j = 0; j < data[i + 2] % 8 && i + j + 3 < size; ++j)
      value.push_back(static_cast<wchar_t>(data[i + j + 3]));
    if (data[i + 3] % 7 == 0) ini.eraseSection(section);
    else ini.writeText(section, key, value);
  }

  const IniText back = IniText::fromBytes(ini.toBytes(), kCodePage);
  if (ini.writeRefusal().empty() && allValues(back) != allValues(ini)) fail("values changed");
  return 0;
}
