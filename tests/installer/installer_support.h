// Helpers of the installer tests: setup files, the trace file, the host's
// registry entry, a folder's whole content, directory links, and screenshots
// of a window as PNG files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "temp_dir.h"
#include "unix_side.h"

namespace installertest {

inline constexpr wchar_t kHostKey[] = L"PL/SQL Developer\\Shell\\Open\\Command";

inline std::filesystem::path buildDir() {
  const char* dir = std::getenv("FAV_BUILD_DIR");
  return dir ? std::filesystem::path(dir) : std::filesystem::current_path();
}

inline std::filesystem::path sourceDir() {
  const char* dir = std::getenv("FAV_SOURCE_DIR");
  return dir ? std::filesystem::path(dir) : std::filesystem::current_path();
}

inline std::filesystem::path screenshotDir() {
  auto dir = buildDir() / "tests" / "installer" / "screenshots";
  std::filesystem::create_directories(dir);
  return dir;
}

// Registers a host whose open command is exactly `command`, or removes the
// registration (empty optional => no key at all).
inline void registerHostCommand(const std::wstring& command) {
  ::RegSetKeyValueW(HKEY_CLASSES_ROOT, kHostKey, nullptr, REG_SZ, command.c_str(),
                    static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}
inline void unregisterHost() { ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"PL/SQL Developer"); }

// The trace file's lines without their time stamps: "[YYYY-MM-DD HH:MM:SS] :"
// is checked and dropped, the indentation kept.
inline std::vector<std::string> traceLines(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  const std::string text = testsupport::readFile(file);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    const bool stamped = line.size() >= 23 && line[0] == '[' && line[5] == '-' &&
                         line[8] == '-' && line[11] == ' ' && line[14] == ':' &&
                         line[17] == ':' && line.compare(20, 3, "] :") == 0;
    lines.push_back(stamped ? line.substr(23) : "UNSTAMPED:" + line);
    start = end + 2;
  }
  return lines;
}

// Writes each named file into folder with its bytes.
inline void writeFiles(const std::filesystem::path& folder,
                       std::initializer_list<std::pair<const wchar_t*, std::string>> files) {
  for (const auto& [name, bytes] : files) testsupport::writeFile(folder / name, bytes);
}

// Everything below a folder: each file's relative path with its bytes, each
// folder's with "<folder>", so a comparison sees leftovers and losses alike.
inline std::map<std::wstring, std::string> folderContent(const std::filesystem::path& root) {
  std::map<std::wstring, std::string> content;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::wstring name = entry.path().lexically_relative(root).wstring();
    content[name] = entry.is_directory() ? "<folder>" : testsupport::readFile(entry.path());
  }
  return content;
}

inline bool isReparsePoint(const std::filesystem::path& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Makes link a directory link to target. The system's symbolic link where it
// can make one; under Wine, whose CreateSymbolicLinkW makes nothing, a link
// made on the Unix side, which Wine reports as a reparse point. False when
// neither is possible.
inline bool makeDirectoryLink(const std::filesystem::path& link,
                              const std::filesystem::path& target) {
  constexpr DWORD kAllowUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
  if (::CreateSymbolicLinkW(link.c_str(), target.c_str(),
                            SYMBOLIC_LINK_FLAG_DIRECTORY | kAllowUnprivileged) &&
      isReparsePoint(link))
    return true;
  const std::wstring unixLink = testsupport::wineUnixPath(link);
  const std::wstring unixTarget = testsupport::wineUnixPath(target);
  if (unixLink.empty() || unixTarget.empty()) return false;
  return testsupport::runUnixProgram(L"/bin/ln -s \"" + unixTarget + L"\" \"" + unixLink + L"\"",
                        [&] { return isReparsePoint(link); });
}

// Removes a link made by makeDirectoryLink, never what it leads to (Wine's
// RemoveDirectoryW on such a link removes the folder it leads to).
inline void removeDirectoryLink(const std::filesystem::path& link) {
  if (!isReparsePoint(link)) return;
  if (const std::wstring unixLink = testsupport::wineUnixPath(link); !unixLink.empty()) {
    testsupport::runUnixProgram(L"/bin/rm -f \"" + unixLink + L"\"", [&] {
      return ::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES;
    });
    return;
  }
  ::RemoveDirectoryW(link.c_str());
}

// ---------------------------------------------------------------------------
// Screenshots: what the screen shows inside a window's rectangle, as PNG.
// ---------------------------------------------------------------------------
inline uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

inline void putBigEndian(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

inline void pngChunk(std::vector<uint8_t>& png, const char* type,
                     const std::vector<uint8_t>& data) {
  putBigEndian(png, static_cast<uint32_t>(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  png.insert(png.end(), body.begin(), body.end());
  putBigEndian(png, crc32(body.data(), body.size()));
}

// RGB rows, top first, into an uncompressed (stored-deflate) PNG.
inline std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint8_t>& rgb) {
  std::vector<uint8_t> raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), rgb.begin() + static_cast<ptrdiff_t>(y) * width * 3,
               rgb.begin() + static_cast<ptrdiff_t>(y + 1) * width * 3);
  }
  std::vector<uint8_t> z{0x78, 0x01};
  for (size_t pos = 0; pos < raw.size() || pos == 0;) {
    const size_t n = std::min<size_t>(65535, raw.size() - pos);
    z.push_back(pos + n == raw.size() ? 1 : 0);
    z.push_back(static_cast<uint8_t>(n));
    z.push_back(static_cast<uint8_t>(n >> 8));
    z.push_back(static_cast<uint8_t>(~n));
    z.push_back(static_cast<uint8_t>(~n >> 8));
    z.insert(z.end(), raw.begin() + static_cast<ptrdiff_t>(pos),
             raw.begin() + static_cast<ptrdiff_t>(pos + n));
    pos += n;
    if (n == 0) break;
  }
  uint32_t a = 1, b = 0;
  for (uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  putBigEndian(z, (b << 16) | a);

  std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  putBigEndian(header, static_cast<uint32_t>(width));
  putBigEndian(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});
  pngChunk(png, "IHDR", header);
  pngChunk(png, "IDAT", z);
  pngChunk(png, "IEND", {});
  return png;
}

// Saves the screen inside the window's rectangle; returns the file written.
inline std::filesystem::path screenshot(HWND window, const std::string& name) {
  RECT r{};
  ::GetWindowRect(window, &r);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  const HDC screen = ::GetDC(nullptr);
  const HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = ::SelectObject(memory, dib);
  ::BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  ::GdiFlush();
  const int stride = (w * 3 + 3) & ~3;
  std::vector<uint8_t> rgb;
  rgb.reserve(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(bits) + static_cast<ptrdiff_t>(y) * stride;
    for (int x = 0; x < w; ++x) {
      rgb.push_back(row[x * 3 + 2]);
      rgb.push_back(row[x * 3 + 1]);
      rgb.push_back(row[x * 3]);
    }
  }
  ::SelectObject(memory, old);
  ::DeleteObject(dib);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);

  const auto file = screenshotDir() / (name + ".png");
  const std::vector<uint8_t> png = encodePng(w, h, rgb);
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return file;
}

}  // namespace installertest
