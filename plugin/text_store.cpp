#include "text_store.h"

#include <algorithm>
#include <list>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "text_codec.h"

namespace plugin {
namespace {

struct Store {
  // Newest first; the map's keys view the texts in the list's nodes, which
  // never move.
  std::list<std::unique_ptr<char[]>> order;
  struct Entry {
    std::list<std::unique_ptr<char[]>>::iterator node;
    std::size_t bytes;
  };
  std::unordered_map<std::string_view, Entry> index;
  HostTextUse use;

  void dropOldest() {
    const char* oldest = order.back().get();
    auto it = index.find(std::string_view(oldest));
    use.bytes -= it->second.bytes;
    index.erase(it);
    order.pop_back();
    --use.texts;
  }
};

Store& store() {
  static Store s;
  return s;
}

}  // namespace

const char* hostText(const std::string& text) {
  Store& s = store();
  // Up to the first NUL: that is all the host sees of it.
  const std::string_view key(text.c_str());
  if (auto it = s.index.find(key); it != s.index.end()) {
    s.order.splice(s.order.begin(), s.order, it->second.node);
    return it->second.node->get();
  }
  auto buffer = std::make_unique<char[]>(key.size() + 1);
  key.copy(buffer.get(), key.size());
  buffer[key.size()] = '\0';
  s.order.push_front(std::move(buffer));
  const char* result = s.order.front().get();
  s.index.emplace(std::string_view(result, key.size()), Store::Entry{s.order.begin(), key.size() + 1});
  s.use.texts += 1;
  s.use.bytes += key.size() + 1;
  while (s.use.texts > kKeptTexts || (s.use.bytes > kKeptBytes && s.use.texts > kMinKeptTexts))
    s.dropOldest();
  s.use.peakTexts = std::max(s.use.peakTexts, s.use.texts);
  s.use.peakBytes = std::max(s.use.peakBytes, s.use.bytes);
  return result;
}

const char* hostText(const std::wstring& text) { return hostText(fav::toNarrow(text)); }

void releaseHostTexts() {
  Store& s = store();
  s.index.clear();
  s.order.clear();
  s.use = HostTextUse{};
}

HostTextUse hostTextUse() { return store().use; }

}  // namespace plugin
