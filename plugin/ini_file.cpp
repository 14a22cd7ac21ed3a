#include "ini_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "text_codec.h"
#include "unique_handles.h"

namespace {

// A settings file is a few kilobytes; anything beyond this is not one, and
// reading it whole could starve the host.
constexpr ULONGLONG kMaxFileBytes = 64ull * 1024 * 1024;

enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

// The reader's blanks: the C whitespace characters plus ^Z (DOS end of file).
bool isBlank(wchar_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

std::wstring_view trimmed(std::wstring_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Names compare without regard to ASCII letter case only, as the platform's
// reader does (an "Ü" does not match a "ü").
std::wstring folded(std::wstring_view s) {
  std::wstring out(s);
  for (wchar_t& c : out)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return out;
}

// The platform works on C strings: a name or value ends at its first NUL.
std::wstring_view untilNul(std::wstring_view s) { return s.substr(0, s.find(L'\0')); }

// One line of text for the file: cut at NUL, each run of line breaks becomes
// one blank, so a value can never start another key or section.
std::wstring singleLine(std::wstring_view s) {
  s = untilNul(s);
  std::wstring out;
  out.reserve(s.size());
  bool inBreak = false;
  for (wchar_t c : s) {
    if (c == L'\r' || c == L'\n') {
      if (!inBreak) out.push_back(L' ');
      inBreak = true;
    } else {
      out.push_back(c);
      inBreak = false;
    }
  }
  return out;
}

// What the platform copies into the caller's buffer: one pair of enclosing
// quotes removed, at most kReadBufferChars - 1 characters. When the text after
// the opening quote just fills the buffer, the cut already took the closing
// quote and the reader still drops a last character; that is kept as it is.
std::wstring copyEntry(std::wstring_view value) {
  constexpr size_t kBuffer = IniFile::kReadBufferChars;
  bool quoted = false;
  if (value.size() > 1 && (value[0] == L'\'' || value[0] == L'"') && value.back() == value[0]) {
    quoted = true;
    value.remove_prefix(1);
  }
  std::wstring out(value.substr(0, std::min(value.size(), kBuffer - 1)));
  if (quoted && kBuffer >= value.size() && !out.empty()) out.pop_back();
  return out;
}

// The platform drops trailing spaces (only spaces, never the first character)
// from the default before using it.
std::wstring_view defaultText(std::wstring_view def) {
  def = untilNul(def);
  size_t end = def.size();
  while (end > 1 && def[end - 1] == L' ') --end;
  return def.substr(0, end);
}

std::wstring systemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD len = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = len && buffer ? std::wstring(buffer, len) : std::wstring();
  if (buffer) ::LocalFree(buffer);
  while (!text.empty() && (isBlank(text.back()) || text.back() == L'.')) text.pop_back();
  if (text.empty()) text = L"error " + std::to_wstring(code);
  return text;
}

std::wstring decode(const std::string& bytes, Encoding& encoding) {
  auto u8 = [](unsigned char c) { return c; };
  encoding = Encoding::Ansi;
  if (bytes.size() >= 3 && u8(bytes[0]) == 0xEF && u8(bytes[1]) == 0xBB && u8(bytes[2]) == 0xBF) {
    encoding = Encoding::Utf8;
    const std::string_view rest(bytes.data() + 3, bytes.size() - 3);
    if (rest.empty()) return {};
    const int len = ::MultiByteToWideChar(CP_UTF8, 0, rest.data(), static_cast<int>(rest.size()),
                                          nullptr, 0);
    std::wstring out(static_cast<size_t>(std::max(len, 0)), L'\0');
    if (len > 0)
      ::MultiByteToWideChar(CP_UTF8, 0, rest.data(), static_cast<int>(rest.size()), out.data(),
                            len);
    return out;
  }
  if (bytes.size() >= 2 && ((u8(bytes[0]) == 0xFF && u8(bytes[1]) == 0xFE) ||
                            (u8(bytes[0]) == 0xFE && u8(bytes[1]) == 0xFF))) {
    const bool little = u8(bytes[0]) == 0xFF;
    encoding = little ? Encoding::Utf16Le : Encoding::Utf16Be;
    // An odd last byte is half a character: dropped.
    const size_t count = (bytes.size() - 2) / 2;
    std::wstring out(count, L'\0');
    for (size_t i = 0; i < count; ++i) {
      const unsigned lo = u8(bytes[2 + 2 * i + (little ? 0 : 1)]);
      const unsigned hi = u8(bytes[2 + 2 * i + (little ? 1 : 0)]);
      out[i] = static_cast<wchar_t>(lo | (hi << 8));
    }
    return out;
  }
  return fav::toWide(bytes);
}

std::string encode(const std::wstring& text, Encoding encoding) {
  switch (encoding) {
    case Encoding::Ansi:
      return fav::toNarrow(text);
    case Encoding::Utf8: {
      std::string out = "\xEF\xBB\xBF";
      if (text.empty()) return out;
      const int len = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                            nullptr, 0, nullptr, nullptr);
      if (len <= 0) return out;
      const size_t start = out.size();
      out.resize(start + static_cast<size_t>(len));
      ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                            out.data() + start, len, nullptr, nullptr);
      return out;
    }
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
      const bool little = encoding == Encoding::Utf16Le;
      std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
      out.reserve(2 + text.size() * 2);
      for (wchar_t c : text) {
        const char lo = static_cast<char>(c & 0xFF);
        const char hi = static_cast<char>((c >> 8) & 0xFF);
        out.push_back(little ? lo : hi);
        out.push_back(little ? hi : lo);
      }
      return out;
    }
  }
  return {};
}

}  // namespace

struct IniFile::Impl {
  struct Line {
    std::wstring text;  // as it goes back into the file
    bool isKey = false;  // false: a blank line
    std::wstring name;  // key name up to "=" (the whole line without one)
    bool hasValue = false;
    std::wstring value;
  };

  struct Section {
    std::wstring header;  // header line; the lines before any header have none
    std::wstring name;
    bool preamble = false;
    bool erased = false;
    std::vector<Line> lines;
    std::unordered_map<std::wstring, size_t> keys;  // folded name -> first line

    void add(Line line) {
      if (line.isKey) keys.emplace(folded(line.name), lines.size());
      lines.push_back(std::move(line));
    }
  };

  Encoding encoding = Encoding::Ansi;
  bool openFailed = false;
  std::wstring openError;
  std::vector<Section> sections;
  std::unordered_map<std::wstring, size_t> index;  // folded name -> first section

  Impl() { clear(); }

  void clear() {
    sections.clear();
    Section preamble;
    preamble.preamble = true;
    sections.push_back(std::move(preamble));
    reindex();
  }

  void reindex() {
    index.clear();
    for (size_t i = 0; i < sections.size(); ++i)
      if (!sections[i].erased) index.emplace(folded(sections[i].name), i);
  }

  // One line as the platform's reader sees it; a header line opens a section.
  void parseLine(std::wstring_view raw) {
    const std::wstring_view t = trimmed(raw);
    Line line;
    if (t.empty()) {
      line.text = raw;
      sections.back().add(std::move(line));
      return;
    }
    const bool hasNul = t.find(L'\0') != std::wstring_view::npos;
    if (t.front() == L'[') {
      const size_t close = t.rfind(L']');
      if (close != std::wstring_view::npos) {
        Section s;
        s.name = untilNul(trimmed(t.substr(1, close - 1)));
        s.header = hasNul ? L"[" + s.name + L"]" : std::wstring(raw);
        sections.push_back(std::move(s));
        return;
      }
      // "[" without "]" is an ordinary line of the current section.
    }
    line.isKey = true;
    const size_t eq = t.find(L'=');
    if (eq == std::wstring_view::npos) {
      line.name = untilNul(t);
    } else {
      std::wstring_view name = t.substr(0, eq);
      while (!name.empty() && isBlank(name.back())) name.remove_suffix(1);
      std::wstring_view value = t.substr(eq + 1);
      while (!value.empty() && isBlank(value.front())) value.remove_prefix(1);
      line.name = untilNul(name);
      line.hasValue = true;
      line.value = untilNul(value);
    }
    // A NUL cuts a name or value short; the line is written back the way the
    // platform would write it, so the file never holds a NUL.
    if (hasNul) line.text = line.hasValue ? line.name + L"=" + line.value : line.name;
    else line.text = raw;
    sections.back().add(std::move(line));
  }

  void parse(const std::wstring& text) {
    clear();
    size_t pos = 0;
    const size_t n = text.size();
    while (pos < n) {
      size_t end = pos;
      while (end < n && text[end] != L'\r' && text[end] != L'\n') ++end;
      parseLine(std::wstring_view(text).substr(pos, end - pos));
      if (end < n && text[end] == L'\r' && end + 1 < n && text[end + 1] == L'\n') end += 2;
      else if (end < n) end += 1;
      pos = end;
    }
    reindex();
  }

  const Section* findSection(std::wstring_view name) const {
    const auto it = index.find(folded(trimmed(untilNul(name))));
    return it == index.end() ? nullptr : &sections[it->second];
  }

  const Line* find(std::wstring_view section, std::wstring_view key) const {
    const Section* s = findSection(section);
    if (!s) return nullptr;
    const auto it = s->keys.find(folded(trimmed(untilNul(key))));
    return it == s->keys.end() ? nullptr : &s->lines[it->second];
  }

  const std::wstring* value(std::wstring_view section, std::wstring_view key) const {
    if (openFailed) return nullptr;
    const Line* line = find(section, key);
    return line && line->hasValue ? &line->value : nullptr;
  }

  Section& sectionForWrite(const std::wstring& name) {
    const auto it = index.find(folded(name));
    if (it != index.end()) return sections[it->second];
    Section s;
    s.name = name;
    s.header = L"[" + name + L"]";
    sections.push_back(std::move(s));
    index.emplace(folded(name), sections.size() - 1);
    return sections.back();
  }

  void write(std::wstring_view sectionName, std::wstring_view keyName, std::wstring_view text) {
    const std::wstring name = std::wstring(trimmed(singleLine(sectionName)));
    const std::wstring key = std::wstring(trimmed(singleLine(keyName)));
    const std::wstring value = std::wstring(trimmed(singleLine(text)));
    Section& s = sectionForWrite(name);
    const auto it = s.keys.find(folded(key));
    if (it != s.keys.end()) {
      // Replaced where it stands, under the name the file spells it with.
      Line& line = s.lines[it->second];
      line.hasValue = true;
      line.value = value;
      line.text = line.name + L"=" + value;
      return;
    }
    // Added after the section's last line that is not blank; the blank lines
    // that follow stay between it and the next section.
    size_t pos = s.lines.size();
    while (pos > 0 && !s.lines[pos - 1].isKey) --pos;
    Line line;
    line.isKey = true;
    line.name = key;
    line.hasValue = true;
    line.value = value;
    line.text = key + L"=" + value;
    s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(pos), std::move(line));
    s.keys.emplace(folded(key), pos);
  }

  void erase(std::wstring_view sectionName) {
    const std::wstring name = folded(trimmed(singleLine(sectionName)));
    for (Section& s : sections) {
      if (s.erased || folded(s.name) != name) continue;
      if (s.preamble) {
        s.lines.clear();
        s.keys.clear();
      } else {
        s.erased = true;
      }
    }
    reindex();
  }

  std::wstring text() const {
    std::wstring out;
    for (const Section& s : sections) {
      if (s.erased) continue;
      if (!s.preamble) out.append(s.header).append(L"\r\n");
      for (const Line& line : s.lines) out.append(line.text).append(L"\r\n");
    }
    return out;
  }
};

IniFile::IniFile() : impl_(std::make_unique<Impl>()) {}
IniFile::~IniFile() = default;
IniFile::IniFile(IniFile&&) noexcept = default;
IniFile& IniFile::operator=(IniFile&&) noexcept = default;

IniFile IniFile::fromBytes(const std::string& bytes) {
  IniFile file;
  try {
    Encoding encoding = Encoding::Ansi;
    const std::wstring text = decode(bytes, encoding);
    file.impl_->encoding = encoding;
    file.impl_->parse(text);
  } catch (const std::exception&) {
    file.impl_->clear();
    file.impl_->openFailed = true;
    file.impl_->openError = L"out of memory";
  }
  return file;
}

IniFile IniFile::load(const std::wstring& path) {
  auto failed = [&](const std::wstring& reason) {
    IniFile file;
    file.impl_->openFailed = true;
    file.impl_->openError = reason;
    return file;
  };
  fav::unique_file h(::CreateFileW(path.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) {
    const DWORD err = ::GetLastError();
    if (err == ERROR_FILE_NOT_FOUND) return IniFile();
    return failed(systemMessage(err));
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(h.get(), &size)) return failed(systemMessage(::GetLastError()));
  if (static_cast<ULONGLONG>(size.QuadPart) > kMaxFileBytes) return failed(L"file too large");
  std::string bytes;
  try {
    bytes.resize(static_cast<size_t>(size.QuadPart));
  } catch (const std::exception&) {
    return failed(L"out of memory");
  }
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    if (!::ReadFile(h.get(), bytes.data() + done, want, &got, nullptr))
      return failed(systemMessage(::GetLastError()));
    if (got == 0) break;  // the file shrank meanwhile
    done += got;
  }
  bytes.resize(done);
  return fromBytes(bytes);
}

std::wstring IniFile::readText(const std::wstring& section, const std::wstring& key,
                               const std::wstring& def) const {
  const std::wstring_view fallback = defaultText(def);
  if (impl_->openFailed) {
    // The platform copies the default as it stands when the file cannot be opened.
    return std::wstring(fallback.substr(0, std::min(fallback.size(), kReadBufferChars - 1)));
  }
  const std::wstring* v = impl_->value(section, key);
  return copyEntry(v ? std::wstring_view(*v) : fallback);
}

int IniFile::readNumber(const std::wstring& section, const std::wstring& key, int def) const {
  const std::wstring* v = impl_->value(section, key);
  if (!v) return def;
  return parseSettingsNumber(copyEntry(*v)).value_or(def);
}

bool IniFile::readFlag(const std::wstring& section, const std::wstring& key, bool def) const {
  const std::wstring* v = impl_->value(section, key);
  if (!v) return def;
  const std::optional<int> n = parseSettingsNumber(copyEntry(*v));
  return n ? *n != 0 : def;
}

bool IniFile::hasKey(const std::wstring& section, const std::wstring& key) const {
  return impl_->value(section, key) != nullptr;
}

std::vector<std::wstring> IniFile::keyNames(const std::wstring& section) const {
  std::vector<std::wstring> names;
  if (impl_->openFailed) return names;
  const Impl::Section* s = impl_->findSection(section);
  if (!s) return names;
  for (size_t i = 0; i < s->lines.size(); ++i) {
    const Impl::Line& line = s->lines[i];
    if (!line.isKey || !line.hasValue) continue;
    const auto it = s->keys.find(folded(line.name));
    if (it != s->keys.end() && it->second == i) names.push_back(line.name);
  }
  return names;
}

void IniFile::writeText(const std::wstring& section, const std::wstring& key,
                        const std::wstring& value) {
  impl_->write(section, key, value);
}

void IniFile::writeNumber(const std::wstring& section, const std::wstring& key, int value) {
  impl_->write(section, key, std::to_wstring(value));
}

void IniFile::writeFlag(const std::wstring& section, const std::wstring& key, bool value) {
  impl_->write(section, key, value ? L"1" : L"0");
}

void IniFile::eraseSection(const std::wstring& section) { impl_->erase(section); }

bool IniFile::openFailed() const { return impl_->openFailed; }

std::string IniFile::toBytes() const { return encode(impl_->text(), impl_->encoding); }

bool IniFile::save(const std::wstring& path, std::wstring* error) const {
  auto fail = [&](const std::wstring& reason) {
    if (error) *error = L"Could not save " + path + L": " + reason;
    return false;
  };
  if (impl_->openFailed) return fail(L"the file could not be read (" + impl_->openError + L")");

  std::string bytes;
  try {
    bytes = toBytes();
  } catch (const std::exception&) {
    return fail(L"out of memory");
  }

  // A complete copy beside the target first, so the replace below is the only
  // step that touches the file itself.
  std::wstring temp;
  fav::unique_file out;
  for (int attempt = 0; attempt < 100 && !out; ++attempt) {
    temp = path + L".~" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(::GetTickCount() + static_cast<DWORD>(attempt)) + L".tmp";
    out.reset(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out && ::GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (!out) return fail(systemMessage(::GetLastError()));

  auto discard = [&](DWORD err) {
    out.reset();
    ::DeleteFileW(temp.c_str());
    return fail(systemMessage(err));
  };
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    if (!::WriteFile(out.get(), bytes.data() + done, want, &put, nullptr) || put == 0)
      return discard(::GetLastError());
    done += put;
  }
  if (!::FlushFileBuffers(out.get())) return discard(::GetLastError());
  if (!::CloseHandle(out.release())) {
    const DWORD err = ::GetLastError();
    ::DeleteFileW(temp.c_str());
    return fail(systemMessage(err));
  }
  if (!::MoveFileExW(temp.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD err = ::GetLastError();
    ::DeleteFileW(temp.c_str());
    return fail(systemMessage(err));
  }
  return true;
}

std::optional<int> parseSettingsNumber(std::wstring_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  unsigned base = 10;
  if (i < text.size() && text[i] == L'$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const wchar_t c = text[i];
    unsigned digit;
    if (c >= L'0' && c <= L'9') digit = static_cast<unsigned>(c - L'0');
    else if (base == 16 && c >= L'a' && c <= L'f') digit = static_cast<unsigned>(c - L'a' + 10);
    else if (base == 16 && c >= L'A' && c <= L'F') digit = static_cast<unsigned>(c - L'A' + 10);
    else return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return std::nullopt;
  }
  std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
  if (negative) bits = 0u - bits;
  return static_cast<int>(bits);
}
