#include "ini_text.h"

#include <algorithm>
#include <cstdint>

#include "ascii_case.h"

namespace {

enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be, Utf32Le, Utf32Be };

// Bytes of one code unit, and of the byte-order mark the file starts with.
size_t unitBytes(Encoding e) {
  switch (e) {
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: return 2;
    case Encoding::Utf32Le:
    case Encoding::Utf32Be: return 4;
    default: return 1;
  }
}

size_t markBytes(Encoding e) {
  switch (e) {
    case Encoding::Ansi: return 0;
    case Encoding::Utf8: return 3;
    default: return unitBytes(e);
  }
}

bool bigEndian(Encoding e) { return e == Encoding::Utf16Be || e == Encoding::Utf32Be; }

// The reader's blanks: the C whitespace characters plus ^Z (DOS end of file).
bool isBlank(wchar_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

std::wstring_view trimmed(std::wstring_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
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

// A value as the platform's reader gives it, one pair of enclosing quotes
// removed, but whole: the platform would cut it to its caller's buffer, and a
// password enciphered to many thousand characters must come back entire.
std::wstring copyEntry(std::wstring_view value) {
  if (value.size() > 1 && (value[0] == L'\'' || value[0] == L'"') && value.back() == value[0])
    value = value.substr(1, value.size() - 2);
  return std::wstring(value);
}

// The platform drops trailing spaces (only spaces, never the first character)
// from the default before using it.
std::wstring_view defaultText(std::wstring_view def) {
  def = untilNul(def);
  size_t end = def.size();
  while (end > 1 && def[end - 1] == L' ') --end;
  return def.substr(0, end);
}


// A code point in its UTF-16 form.
void appendCodePoint(std::wstring& out, unsigned code) {
  if (code >= 0x10000) {
    code -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FF)));
  } else {
    out.push_back(static_cast<wchar_t>(code));
  }
}

// UTF-8 as the platform decodes it: each ill-formed sequence (overlong,
// surrogate, beyond U+10FFFF, cut short) becomes U+FFFD.
std::wstring decodeUtf8(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  const size_t n = bytes.size();
  auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  auto cont = [&](size_t i) { return i < n && (at(i) & 0xC0) == 0x80; };
  for (size_t i = 0; i < n;) {
    const unsigned c = at(i);
    if (c < 0x80) {
      out.push_back(static_cast<wchar_t>(c));
      ++i;
      continue;
    }
    unsigned need = 0, code = 0, min = 0;
    if (c >= 0xC2 && c <= 0xDF) need = 1, code = c & 0x1F, min = 0x80;
    else if (c >= 0xE0 && c <= 0xEF) need = 2, code = c & 0x0F, min = 0x800;
    else if (c >= 0xF0 && c <= 0xF4) need = 3, code = c & 0x07, min = 0x10000;
    size_t j = i + 1;
    bool ok = need > 0;
    for (unsigned k = 0; ok && k < need; ++k, ++j) {
      if (!cont(j)) {
        ok = false;
        break;
      }
      code = (code << 6) | (at(j) & 0x3F);
      // Stop at the first byte that cannot continue a well-formed sequence.
      if (k == 0 && need >= 2) {
        const unsigned partial = code << (6 * (need - 1));
        if (partial < min || partial > 0x10FFFF || (partial >= 0xD800 && partial <= 0xDFFF)) {
          ok = false;
          break;
        }
      }
    }
    if (!ok) {
      out.push_back(L'\xFFFD');
      i = j > i + 1 ? j : i + 1;
      continue;
    }
    appendCodePoint(out, code);
    i = j;
  }
  return out;
}

// A surrogate without its partner becomes U+FFFD, as the platform writes it.
void appendUtf8(std::string& out, std::wstring_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned c = static_cast<unsigned>(text[i]) & 0xFFFF;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
        (static_cast<unsigned>(text[i + 1]) & 0xFC00) == 0xDC00) {
      c = 0x10000 + ((c - 0xD800) << 10) + ((static_cast<unsigned>(text[i + 1]) & 0x3FF));
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
}

// The code unit at byte offset at.
unsigned unitAt(std::string_view bytes, size_t at, Encoding e) {
  const size_t n = unitBytes(e);
  unsigned v = 0;
  for (size_t i = 0; i < n; ++i) {
    const unsigned b = static_cast<unsigned char>(bytes[at + (bigEndian(e) ? i : n - 1 - i)]);
    v = (v << 8) | b;
  }
  return v;
}

bool isBreakUnit(unsigned u) { return u == 0x0D || u == 0x0A; }

// UTF-32 is only ever read: each code point to its UTF-16 form, anything
// beyond U+10FFFF or a surrogate to U+FFFD. A cut last unit is dropped.
std::wstring decodeUtf32(std::string_view bytes, Encoding e) {
  std::wstring out;
  out.reserve(bytes.size() / 4);
  for (size_t at = 4; at + 4 <= bytes.size(); at += 4) {
    unsigned c = unitAt(bytes, at, e);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    appendCodePoint(out, c);
  }
  return out;
}

size_t countBreaks(std::string_view bytes) {
  return static_cast<size_t>(std::count_if(bytes.begin(), bytes.end(),
                                           [](char c) { return c == '\r' || c == '\n'; }));
}

// Code page text, converted so that each CR and LF byte gives exactly one
// CR or LF character: the lines must match the bytes they came from. One
// call does that for every code page we know; should a code page take a
// line end into a character, each line is converted on its own.
std::wstring decodeCodePage(std::string_view bytes, const CodePage& codePage) {
  std::wstring whole = codePage.toWide(bytes);
  const size_t breaks = static_cast<size_t>(
      std::count_if(whole.begin(), whole.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }));
  if (breaks == countBreaks(bytes)) return whole;
  std::wstring out;
  out.reserve(bytes.size());
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    out.append(codePage.toWide(bytes.substr(pos, end - pos)));
    if (end < bytes.size()) out.push_back(static_cast<wchar_t>(bytes[end]));
    pos = end + 1;
  }
  return out;
}

Encoding detectEncoding(std::string_view bytes) {
  auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
  using namespace std::string_view_literals;
  if (starts("\xFF\xFE\0\0"sv)) return Encoding::Utf32Le;
  if (starts("\0\0\xFE\xFF"sv)) return Encoding::Utf32Be;
  if (starts("\xEF\xBB\xBF"sv)) return Encoding::Utf8;
  if (starts("\xFF\xFE"sv)) return Encoding::Utf16Le;
  if (starts("\xFE\xFF"sv)) return Encoding::Utf16Be;
  return Encoding::Ansi;
}

std::wstring decode(std::string_view bytes, const CodePage& codePage, Encoding& encoding) {
  auto u8 = [](unsigned char c) { return c; };
  encoding = detectEncoding(bytes);
  if (encoding == Encoding::Utf32Le || encoding == Encoding::Utf32Be)
    return decodeUtf32(bytes, encoding);
  if (encoding == Encoding::Utf8) return decodeUtf8(bytes.substr(3));
  if (encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be) {
    const bool little = encoding == Encoding::Utf16Le;
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
  return decodeCodePage(bytes, codePage);
}

// Text in the file's encoding, without a byte-order mark: the lines we
// write ourselves.
void appendEncoded(std::string& out, std::wstring_view text, const CodePage& codePage,
                   Encoding encoding) {
  switch (encoding) {
    case Encoding::Ansi:
      out.append(codePage.toNarrow(text));
      return;
    case Encoding::Utf8:
      appendUtf8(out, text);
      return;
    default:
      break;
  }
  const size_t n = unitBytes(encoding);
  auto put = [&](unsigned unit) {
    for (size_t i = 0; i < n; ++i) {
      const size_t shift = 8 * (bigEndian(encoding) ? n - 1 - i : i);
      out.push_back(static_cast<char>((unit >> shift) & 0xFF));
    }
  };
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned c = static_cast<unsigned>(text[i]) & 0xFFFF;
    if (n == 4 && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
        (static_cast<unsigned>(text[i + 1]) & 0xFC00) == 0xDC00) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<unsigned>(text[++i]) & 0x3FF);
    }
    put(c);
  }
}

}  // namespace

// The model keeps the file's bytes and the decoded file as one text, every
// line, name and value as a span of it, where each line starts in the bytes,
// the lines of all sections in one vector (each section a chain through it,
// so a write can add a line without moving any) and one hash index over the
// keys. A line nobody changed goes back as its own bytes, line end and all,
// so bytes that do not decode cleanly survive a save. Loading only finds the sections; a section's
// lines are taken apart, and its keys indexed, when it is first used. Each
// call from the host reads the file anew and a menu text needs only a few
// sections, so this keeps a call cheap. Reads fill these lazily: a snapshot
// belongs to one thread.
struct IniText::Impl {
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

  struct Span {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
  };

  struct Line {
    std::uint32_t raw = kNone;  // its place in rawLines; kNone for a line we added
    Span name;   // key name up to "=" (the whole line without one)
    Span value;
    std::uint32_t next = kNone;  // next line of the same section
    bool isKey = false;     // false: a blank line
    bool hasValue = false;
    bool rebuilt = false;   // written back as name "=" value instead of text
  };

  struct Section {
    std::uint32_t header = kNone;  // the header's place in rawLines; the preamble has none
    std::uint32_t bodyLine = 0;    // the place of its first line in rawLines
    Span name;
    std::uint32_t first = kNone;
    std::uint32_t last = kNone;
    std::uint32_t lastKey = kNone;  // last line that is not blank
    std::uint32_t bodyStart = 0;    // its lines in the file text, until parsed
    std::uint32_t bodyEnd = 0;
    bool preamble = false;
    bool erased = false;
    bool rebuilt = false;  // header written back as "[" name "]"
    bool parsed = false;   // its lines are in the chain
    bool indexed = false;  // its keys are in the key index
  };

  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t section = kNone;  // kNone: an empty slot
    std::uint32_t line = 0;
  };

  static inline const ByteCodePage kBytes{};
  const CodePage* codePage = &kBytes;
  Encoding encoding = Encoding::Ansi;
  std::string raw;                 // the file's bytes as read
  std::vector<std::uint32_t> rawLines;  // where each line of the file starts in raw
  std::wstring refusal;            // why this text must not be written back, if it must not
  std::wstring buffer;  // the decoded file, then the texts that writes add
  std::vector<Line> lines;
  std::vector<Section> sections;
  // (section, folded key name) -> first line, filled a section at a time on
  // its first lookup: a menu text needs only a few of the sections.
  std::vector<Slot> keySlots;
  std::size_t keyCount = 0;
  std::vector<std::uint32_t> sectionSlots;  // folded section name -> first section + 1

  Impl() { clear(); }

  std::wstring_view view(Span s) const { return std::wstring_view(buffer).substr(s.start, s.length); }

  Span append(std::wstring_view text) {
    const Span s{static_cast<std::uint32_t>(buffer.size()), static_cast<std::uint32_t>(text.size())};
    buffer.append(text);
    return s;
  }

  // Names compare without regard to ASCII letter case only, as the platform's
  // reader does (an "Ü" does not match a "ü").
  static char16_t fold(wchar_t c) { return static_cast<char16_t>(fav::asciiLower(c)); }

  static std::uint32_t hashOf(std::wstring_view name, std::uint32_t seed) {
    std::uint32_t h = 2166136261u ^ (seed * 0x9E3779B1u);
    for (wchar_t c : name) h = (h ^ fold(c)) * 16777619u;
    return h;
  }

  static bool sameName(std::wstring_view a, std::wstring_view b) {
    return fav::equalsIgnoringAsciiCase(a, b);
  }

  // A query name as the platform compares it: up to a NUL, blanks trimmed.
  static std::wstring_view queryName(std::wstring_view name) { return trimmed(untilNul(name)); }

  void clear() {
    raw.clear();
    rawLines.clear();
    buffer.clear();
    lines.clear();
    sections.clear();
    Section preamble;
    preamble.preamble = true;
    sections.push_back(preamble);
    reindex();
  }

  // Appends a line to a section's chain; after = kNone puts it first,
  // otherwise after that line of the section.
  std::uint32_t link(Section& s, const Line& line, std::uint32_t after) {
    const std::uint32_t at = static_cast<std::uint32_t>(lines.size());
    lines.push_back(line);
    if (after == kNone) {
      lines[at].next = s.first;
      s.first = at;
    } else {
      lines[at].next = lines[after].next;
      lines[after].next = at;
    }
    if (s.last == after) s.last = at;
    // Lines go at the end or right after the last key: a key is then the last.
    if (line.isKey) s.lastKey = at;
    return at;
  }

  std::uint32_t findSectionIndex(std::wstring_view name) const {
    const std::uint32_t mask = static_cast<std::uint32_t>(sectionSlots.size() - 1);
    for (std::uint32_t i = hashOf(name, 0) & mask;; i = (i + 1) & mask) {
      const std::uint32_t slot = sectionSlots[i];
      if (slot == 0) return kNone;
      if (sameName(view(sections[slot - 1].name), name)) return slot - 1;
    }
  }

  // The section's first line of that key name, or kNone.
  std::uint32_t findLine(std::uint32_t section, std::wstring_view key) {
    if (!sections[section].indexed) indexSection(section);
    const std::uint32_t mask = static_cast<std::uint32_t>(keySlots.size() - 1);
    const std::uint32_t h = hashOf(key, section + 1);
    for (std::uint32_t i = h & mask;; i = (i + 1) & mask) {
      const Slot& slot = keySlots[i];
      if (slot.section == kNone) return kNone;
      if (slot.hash == h && slot.section == section && sameName(view(lines[slot.line].name), key))
        return slot.line;
    }
  }

  void indexSection(std::uint32_t section) {
    materialize(section);
    Section& s = sections[section];
    std::size_t count = 0;
    for (std::uint32_t l = s.first; l != kNone; l = lines[l].next) ++count;
    if ((keyCount + count + 1) * 2 > keySlots.size()) rehashKeys((keyCount + count + 1) * 4);
    for (std::uint32_t l = s.first; l != kNone; l = lines[l].next)
      if (lines[l].isKey) insertKey(section, l);
    s.indexed = true;
  }

  // First occurrence wins: a name already indexed keeps its line.
  void insertKey(std::uint32_t section, std::uint32_t line) {
    if ((keyCount + 1) * 2 > keySlots.size()) rehashKeys((keyCount + 1) * 4);
    const std::wstring_view name = view(lines[line].name);
    const std::uint32_t mask = static_cast<std::uint32_t>(keySlots.size() - 1);
    const std::uint32_t h = hashOf(name, section + 1);
    for (std::uint32_t i = h & mask;; i = (i + 1) & mask) {
      Slot& slot = keySlots[i];
      if (slot.section == kNone) {
        slot = Slot{h, section, line};
        ++keyCount;
        return;
      }
      if (slot.hash == h && slot.section == section && sameName(view(lines[slot.line].name), name))
        return;
    }
  }

  void rehashKeys(std::size_t wanted) {
    std::size_t size = 16;
    while (size < wanted) size *= 2;
    keySlots.assign(size, Slot{});
    keyCount = 0;
    for (std::uint32_t s = 0; s < sections.size(); ++s) {
      if (sections[s].erased || !sections[s].indexed) continue;
      for (std::uint32_t l = sections[s].first; l != kNone; l = lines[l].next)
        if (lines[l].isKey) insertKey(s, l);
    }
  }

  void reindex() {
    std::size_t size = 16;
    while (size < sections.size() * 2 + 2) size *= 2;
    sectionSlots.assign(size, 0);
    const std::uint32_t mask = static_cast<std::uint32_t>(size - 1);
    for (std::uint32_t s = 0; s < sections.size(); ++s) {
      sections[s].indexed = false;
      if (sections[s].erased) continue;
      const std::wstring_view name = view(sections[s].name);
      for (std::uint32_t i = hashOf(name, 0) & mask;; i = (i + 1) & mask) {
        if (sectionSlots[i] == 0) {
          sectionSlots[i] = s + 1;
          break;
        }
        if (sameName(view(sections[sectionSlots[i] - 1].name), name)) break;
      }
    }
    keySlots.assign(16, Slot{});
    keyCount = 0;
  }

  Span trimmedSpan(std::uint32_t start, std::uint32_t end) const {
    while (start < end && isBlank(buffer[start])) ++start;
    while (end > start && isBlank(buffer[end - 1])) --end;
    return Span{start, end - start};
  }

  // A span cut at its first NUL, as the platform's C strings are.
  Span untilNulSpan(Span s) const {
    const size_t nul = view(s).find(L'\0');
    if (nul != std::wstring_view::npos) s.length = static_cast<std::uint32_t>(nul);
    return s;
  }

  // Where the line after the one ending at end starts: a line ends at CR, LF
  // or CRLF.
  std::uint32_t nextLine(std::uint32_t end) const {
    const std::uint32_t n = static_cast<std::uint32_t>(buffer.size());
    if (end < n && buffer[end] == L'\r' && end + 1 < n && buffer[end + 1] == L'\n') return end + 2;
    return end < n ? end + 1 : end;
  }

  // Finds the sections: a line whose first character that is not blank is
  // "[" and that holds a "]" is a header; everything else is left for
  // materialize().
  void parse(std::string bytes, std::wstring text) {
    clear();
    raw = std::move(bytes);
    buffer = std::move(text);
    const wchar_t* p = buffer.data();
    const std::uint32_t n = static_cast<std::uint32_t>(buffer.size());
    lines.reserve(n / 24 + 16);
    rawLines.reserve(n / 24 + 16);
    std::uint32_t pos = 0;
    std::uint32_t rawPos = static_cast<std::uint32_t>(std::min(markBytes(encoding), raw.size()));
    while (pos < n) {
      rawLines.push_back(rawPos);
      rawPos = rawLineEnd(rawPos);
      std::uint32_t i = pos;
      while (i < n && p[i] != L'\r' && p[i] != L'\n' && isBlank(p[i])) ++i;
      std::uint32_t end = i;
      std::uint32_t close = kNone;
      if (i < n && p[i] == L'[') {
        for (; end < n; ++end) {
          const wchar_t c = p[end];
          if (c > L']') continue;
          if (c == L'\r' || c == L'\n') break;
          if (c == L']') close = end;
        }
      } else {
        for (; end < n; ++end) {
          const wchar_t c = p[end];
          if (c > L'\r') continue;  // most characters of a line
          if (c == L'\r' || c == L'\n') break;
        }
      }
      const std::uint32_t next = nextLine(end);
      if (close != kNone) {
        sections.back().bodyEnd = pos;
        Section s;
        s.header = static_cast<std::uint32_t>(rawLines.size() - 1);
        s.bodyLine = s.header + 1;
        s.name = untilNulSpan(trimmedSpan(i + 1, close));
        s.bodyStart = next;
        sections.push_back(s);
      }
      pos = next;
    }
    sections.back().bodyEnd = n;
    reindex();
  }

  // Where the line starting at byte pos ends in raw, its line end included:
  // the bytes' line ends match the decoded text's one for one.
  std::uint32_t rawLineEnd(std::uint32_t pos) const {
    const size_t unit = unitBytes(encoding);
    const size_t n = raw.size();
    size_t at = pos;
    if (unit == 1) {
      at = raw.find_first_of("\r\n", pos);
      if (at == std::string::npos) return static_cast<std::uint32_t>(n);
    } else {
      while (at + unit <= n && !isBreakUnit(unitAt(raw, at, encoding))) at += unit;
      if (at + unit > n) return static_cast<std::uint32_t>(n);
    }
    const bool crlf = unitAt(raw, at, encoding) == 0x0D && at + 2 * unit <= n &&
                      unitAt(raw, at + unit, encoding) == 0x0A;
    return static_cast<std::uint32_t>(at + (crlf ? 2 : 1) * unit);
  }

  // Takes a section's lines apart as the platform's reader does.
  void materialize(std::uint32_t section) {
    if (sections[section].parsed) return;
    sections[section].parsed = true;
    const wchar_t* p = buffer.data();
    const std::uint32_t n = sections[section].bodyEnd;
    std::uint32_t pos = sections[section].bodyStart;
    std::uint32_t rawLine = sections[section].bodyLine;
    while (pos < n) {
      std::uint32_t end = pos;
      std::uint32_t eq = kNone;
      bool hasNul = false;
      for (; end < n; ++end) {
        const wchar_t c = p[end];
        if (c > L'=') continue;  // most characters of a line
        if (c == L'\r' || c == L'\n') break;
        if (c == L'=' && eq == kNone) eq = end;
        hasNul |= c == L'\0';
      }
      addLine(section, rawLine++, pos, end, eq, hasNul);
      pos = nextLine(end);
    }
  }

  // One line of a section's body: blank, or a key with or without "=".
  // eq is the position of the line's first "=" (or kNone), hasNul whether the
  // line holds a NUL.
  void addLine(std::uint32_t section, std::uint32_t rawLine, std::uint32_t start,
               std::uint32_t end, std::uint32_t eq, bool hasNul) {
    Line line;
    line.raw = rawLine;
    const Span t = trimmedSpan(start, end);
    if (t.length > 0) {
      const std::uint32_t tEnd = t.start + t.length;
      line.isKey = true;
      if (eq == kNone) {
        line.name = t;
      } else {
        std::uint32_t nameEnd = eq;
        while (nameEnd > t.start && isBlank(buffer[nameEnd - 1])) --nameEnd;
        std::uint32_t valueStart = eq + 1;
        while (valueStart < tEnd && isBlank(buffer[valueStart])) ++valueStart;
        line.name = Span{t.start, nameEnd - t.start};
        line.hasValue = true;
        line.value = Span{valueStart, tEnd - valueStart};
      }
      if (hasNul) {
        // The platform's reader stops at a NUL. Such a file is never
        // written back (see refusal), so the line itself stays as it is.
        line.name = untilNulSpan(line.name);
        line.value = untilNulSpan(line.value);
      }
    }
    Section& s = sections[section];
    link(s, line, s.last);
  }

  const Line* find(std::wstring_view section, std::wstring_view key) {
    const std::uint32_t s = findSectionIndex(queryName(section));
    if (s == kNone) return nullptr;
    const std::uint32_t l = findLine(s, queryName(key));
    return l == kNone ? nullptr : &lines[l];
  }

  std::optional<std::wstring_view> value(std::wstring_view section, std::wstring_view key) {
    const Line* line = find(section, key);
    if (!line || !line->hasValue) return std::nullopt;
    return view(line->value);
  }

  std::uint32_t sectionForWrite(std::wstring_view name) {
    const std::uint32_t found = findSectionIndex(name);
    if (found != kNone) return found;
    Section s;
    s.name = append(name);
    s.rebuilt = true;
    s.parsed = true;
    sections.push_back(s);
    reindex();
    return static_cast<std::uint32_t>(sections.size() - 1);
  }

  void write(std::wstring_view sectionName, std::wstring_view keyName, std::wstring_view text) {
    const std::wstring name(trimmed(singleLine(sectionName)));
    const std::wstring key(trimmed(singleLine(keyName)));
    const std::wstring value(trimmed(singleLine(text)));
    const std::uint32_t s = sectionForWrite(name);
    const std::uint32_t found = findLine(s, key);
    if (found != kNone) {
      // Replaced where it stands, under the name the file spells it with.
      const Span v = append(value);
      Line& line = lines[found];
      line.hasValue = true;
      line.value = v;
      line.rebuilt = true;
      return;
    }
    // Added after the section's last line that is not blank; the blank lines
    // that follow stay between it and the next section.
    Line line;
    line.isKey = true;
    line.hasValue = true;
    line.rebuilt = true;
    line.name = append(key);
    line.value = append(value);
    const std::uint32_t at = link(sections[s], line, sections[s].lastKey);
    insertKey(s, at);
  }

  void erase(std::wstring_view sectionName) {
    const std::wstring name(trimmed(singleLine(sectionName)));
    for (Section& s : sections) {
      if (s.erased || !sameName(view(s.name), name)) continue;
      if (s.preamble) {
        s.first = s.last = s.lastKey = kNone;
        s.parsed = true;
      } else {
        s.erased = true;
      }
    }
    reindex();
  }

  // The file's bytes as the model now stands: the byte-order mark and every
  // line nobody changed as read, our own lines in the file's encoding with
  // CRLF.
  std::string bytes() {
    const size_t mark = std::min(markBytes(encoding), raw.size());
    const size_t unit = unitBytes(encoding);
    std::string out;
    out.reserve(raw.size() + buffer.size() / 4 + 64);
    out.append(raw, 0, mark);
    // Half a character left over at the end (odd UTF-16) counts as raw too.
    if (rawLines.empty()) out.append(raw, mark, std::string::npos);
    bool open = out.size() > mark;  // the output ends inside a line
    std::wstring ours;              // our lines, encoded a run at a time
    auto flush = [&] {
      if (ours.empty()) return;
      appendEncoded(out, ours, *codePage, encoding);
      ours.clear();
    };
    auto addRaw = [&](std::uint32_t k) {
      flush();
      const size_t from = rawLines[k];
      const size_t to = k + 1 < rawLines.size() ? rawLines[k + 1] : raw.size();
      out.append(raw, from, to - from);
      open = (to - mark) % unit != 0 || to - from < unit || !isBreakUnit(unitAt(raw, to - unit, encoding));
    };
    auto addOurs = [&](std::wstring_view text) {
      if (open) {
        // A last line without a line end gets one, and loses half a
        // character it may end with, before a line of ours follows.
        out.resize(mark + (out.size() - mark) / unit * unit);
        ours.append(L"\r\n");
        open = false;
      }
      ours.append(text).append(L"\r\n");
    };
    for (std::uint32_t i = 0; i < sections.size(); ++i) {
      if (sections[i].erased) continue;
      materialize(i);
      const Section& s = sections[i];
      if (!s.preamble) {
        if (!s.rebuilt && s.header != kNone) addRaw(s.header);
        else addOurs(L"[" + std::wstring(view(s.name)) + L"]");
      }
      for (std::uint32_t l = s.first; l != kNone; l = lines[l].next) {
        const Line& line = lines[l];
        if (!line.rebuilt && line.raw != kNone) {
          addRaw(line.raw);
        } else {
          std::wstring text(view(line.name));
          if (line.hasValue) text.append(L"=").append(view(line.value));
          addOurs(text);
        }
      }
    }
    flush();
    return out;
  }
};

IniText::IniText() : impl_(std::make_unique<Impl>()) {}
IniText::~IniText() = default;
IniText::IniText(IniText&&) noexcept = default;
IniText& IniText::operator=(IniText&&) noexcept = default;

IniText IniText::fromBytes(std::string_view bytes, const CodePage& codePage) {
  IniText file;
  Encoding encoding = Encoding::Ansi;
  std::wstring text = decode(bytes, codePage, encoding);
  Impl& m = *file.impl_;
  m.codePage = &codePage;
  m.encoding = encoding;
  // Read as far as it goes, but never written back: we could not write such
  // a file the way it is, and would lose what the user keeps in it.
  std::wstring refusal;
  if (encoding == Encoding::Utf32Le || encoding == Encoding::Utf32Be)
    refusal = L"the file's encoding (UTF-32) is not supported";
  else if (text.find(L'\0') != std::wstring::npos)
    refusal = L"the file holds NUL characters";
  else if (bytes.size() > kMaxFileBytes)
    refusal = tooLargeReason();
  m.parse(std::string(bytes), std::move(text));
  m.refusal = std::move(refusal);
  return file;
}

std::wstring IniText::tooLargeReason() {
  return L"the file is larger than " + std::to_wstring(kMaxFileBytes >> 20) + L" MB";
}

const std::wstring& IniText::writeRefusal() const { return impl_->refusal; }

std::vector<std::wstring> IniText::sectionNames() const {
  std::vector<std::wstring> names;
  for (std::uint32_t s = 0; s < impl_->sections.size(); ++s) {
    const Impl::Section& section = impl_->sections[s];
    if (section.preamble || section.erased) continue;
    if (impl_->findSectionIndex(impl_->view(section.name)) == s)
      names.emplace_back(impl_->view(section.name));
  }
  return names;
}

std::wstring IniText::readText(std::wstring_view section, std::wstring_view key,
                               std::wstring_view def) const {
  const std::optional<std::wstring_view> v = impl_->value(section, key);
  return copyEntry(v ? *v : defaultText(def));
}

int IniText::readNumber(std::wstring_view section, std::wstring_view key, int def) const {
  const std::optional<std::wstring_view> v = impl_->value(section, key);
  if (!v) return def;
  return parseSettingsNumber(copyEntry(*v)).value_or(def);
}

bool IniText::readFlag(std::wstring_view section, std::wstring_view key, bool def) const {
  const std::optional<std::wstring_view> v = impl_->value(section, key);
  if (!v) return def;
  const std::optional<int> n = parseSettingsNumber(copyEntry(*v));
  return n ? *n != 0 : def;
}

bool IniText::hasKey(std::wstring_view section, std::wstring_view key) const {
  return impl_->value(section, key).has_value();
}

std::vector<std::wstring> IniText::keyNames(std::wstring_view section) const {
  std::vector<std::wstring> names;
  const std::uint32_t s = impl_->findSectionIndex(Impl::queryName(section));
  if (s == Impl::kNone) return names;
  impl_->materialize(s);
  for (std::uint32_t l = impl_->sections[s].first; l != Impl::kNone; l = impl_->lines[l].next) {
    const Impl::Line& line = impl_->lines[l];
    if (line.isKey && line.hasValue && impl_->findLine(s, impl_->view(line.name)) == l)
      names.emplace_back(impl_->view(line.name));
  }
  return names;
}

void IniText::writeText(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  impl_->write(section, key, value);
}

void IniText::eraseSection(std::wstring_view section) { impl_->erase(section); }

std::string IniText::toBytes() const {
  return impl_->bytes();
}
