#include "text_store.h"

#include <memory>
#include <unordered_map>

#include "text_codec.h"

namespace plugin {
namespace {

std::unordered_map<std::string, std::unique_ptr<char[]>>& store() {
  static std::unordered_map<std::string, std::unique_ptr<char[]>> texts;
  return texts;
}

}  // namespace

const char* hostText(const std::string& text) {
  auto& texts = store();
  auto it = texts.find(text);
  if (it != texts.end()) return it->second.get();
  auto buffer = std::make_unique<char[]>(text.size() + 1);
  text.copy(buffer.get(), text.size());
  buffer[text.size()] = '\0';
  const char* result = buffer.get();
  texts.emplace(text, std::move(buffer));
  return result;
}

const char* hostText(const std::wstring& text) { return hostText(fav::toNarrow(text)); }

void releaseHostTexts() { store().clear(); }

}  // namespace plugin
