// The password cipher under libFuzzer: deciphering any text stays inside its
// tables, and whatever bytes a password holds come back from its cipher.
#include <cstddef>
#include <cstdint>
#include <string>

#include "string_cipher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::wstring text;
  for (std::size_t i = 0; i + 1 < size; i += 2)
    text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
  decipherText(text, kPasswordKey);
  decipherText(bytesAsCodes(bytes), kPasswordKey);

  if (size > 0) seedCipherRandom(data[0]);
  const std::wstring cipher =
      encipherText(bytesAsCodes(bytes), kPasswordKey, kPasswordMinFill, kPasswordMaxFill);
  if (codesAsBytes(decipherText(cipher, kPasswordKey)) != bytes) __builtin_trap();
  return 0;
}
