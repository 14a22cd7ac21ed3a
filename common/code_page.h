// The conversion between a file's narrow texts in the system code page and
// our UTF-16 texts. The core never asks the system itself: the plug-in hands
// it the system's code page, native builds and tests a fixed one.
#pragma once

#include <string>
#include <string_view>

class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual std::wstring toWide(std::string_view bytes) const = 0;
  // Characters the code page cannot hold become its substitute character.
  virtual std::string toNarrow(std::wstring_view text) const = 0;
};

// Each byte is the character of that code (ISO 8859-1); characters above 255
// become '?'. The code page of native builds and tests.
class ByteCodePage final : public CodePage {
 public:
  std::wstring toWide(std::string_view bytes) const override {
    std::wstring out(bytes.size(), L'\0');
    for (size_t i = 0; i < bytes.size(); ++i)
      out[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    return out;
  }
  std::string toNarrow(std::wstring_view text) const override {
    std::string out(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i)
      out[i] = static_cast<unsigned>(text[i]) < 256 ? static_cast<char>(text[i]) : '?';
    return out;
  }
};
