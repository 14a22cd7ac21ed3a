#include "ini_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "text_codec.h"
#include "unique_handles.h"

namespace {

// The reader's blanks, for trimming a system message.
bool isBlank(wchar_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

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

}  // namespace

struct IniFile::Impl {
  IniText text;
  bool openFailed = false;
  bool unread = false;  // the file's bytes could not be read at all
  std::wstring openError;
  FileVersion version;
};

IniFile::IniFile() : impl_(std::make_unique<Impl>()) {}
IniFile::~IniFile() = default;
IniFile::IniFile(IniFile&&) noexcept = default;
IniFile& IniFile::operator=(IniFile&&) noexcept = default;

IniFile IniFile::fromBytes(std::string_view bytes) {
  IniFile file;
  try {
    file.impl_->text = IniText::fromBytes(bytes, fav::systemCodePage());
    // What we cannot write back is still read: the menus show what they can.
    file.impl_->openError = file.impl_->text.writeRefusal();
    file.impl_->openFailed = !file.impl_->openError.empty();
  } catch (const std::exception&) {
    file.impl_->text = IniText();
    file.impl_->openFailed = true;
    file.impl_->unread = true;
    file.impl_->openError = L"out of memory";
  }
  return file;
}

IniFile IniFile::load(const std::wstring& path) {
  auto failed = [&](const std::wstring& reason) {
    IniFile file;
    file.impl_->openFailed = true;
    file.impl_->unread = true;
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
  if (static_cast<unsigned long long>(size.QuadPart) > IniText::kMaxFileBytes)
    return failed(IniText::tooLargeReason());
  const size_t expected = static_cast<size_t>(size.QuadPart);
  std::unique_ptr<char[]> data;
  try {
    data.reset(new char[expected + 1]);
  } catch (const std::exception&) {
    return failed(L"out of memory");
  }
  size_t done = 0;
  while (done < expected) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(expected - done, 1u << 24));
    if (!::ReadFile(h.get(), data.get() + done, want, &got, nullptr))
      return failed(systemMessage(::GetLastError()));
    if (got == 0) break;  // the file shrank meanwhile
    done += got;
  }
  return fromBytes(std::string_view(data.get(), done));
}

std::wstring IniFile::readText(const std::wstring& section, const std::wstring& key,
                               const std::wstring& def) const {
  if (impl_->unread) {
    // The platform copies the default as it stands when the file cannot be
    // opened: trailing spaces dropped, quotes kept.
    std::wstring_view fallback(def);
    fallback = fallback.substr(0, fallback.find(L'\0'));
    size_t end = fallback.size();
    while (end > 1 && fallback[end - 1] == L' ') --end;
    return std::wstring(fallback.substr(0, end));
  }
  return impl_->text.readText(section, key, def);
}

int IniFile::readNumber(const std::wstring& section, const std::wstring& key, int def) const {
  return impl_->text.readNumber(section, key, def);
}

bool IniFile::readFlag(const std::wstring& section, const std::wstring& key, bool def) const {
  return impl_->text.readFlag(section, key, def);
}

bool IniFile::hasKey(const std::wstring& section, const std::wstring& key) const {
  return impl_->text.hasKey(section, key);
}

std::vector<std::wstring> IniFile::keyNames(const std::wstring& section) const {
  return impl_->text.keyNames(section);
}

void IniFile::writeText(const std::wstring& section, const std::wstring& key,
                        const std::wstring& value) {
  impl_->text.writeText(section, key, value);
}

void IniFile::writeNumber(const std::wstring& section, const std::wstring& key, int value) {
  impl_->text.writeText(section, key, std::to_wstring(value));
}

void IniFile::writeFlag(const std::wstring& section, const std::wstring& key, bool value) {
  impl_->text.writeText(section, key, value ? L"1" : L"0");
}

void IniFile::eraseSection(const std::wstring& section) { impl_->text.eraseSection(section); }

bool IniFile::openFailed() const { return impl_->openFailed; }

const std::wstring& IniFile::openError() const { return impl_->openError; }

const FileVersion& IniFile::version() const { return impl_->version; }

std::string IniFile::toBytes() const { return impl_->text.toBytes(); }

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
