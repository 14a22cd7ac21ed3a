// Importing a shared list under libFuzzer: any bytes either give a refusal
// that leaves the lists as they were, or favorites appended and counted; a
// list exported from what came in imports again with every favorite found
// already there.
#include <cstddef>
#include <cstdint>
#include <string>

#include "list_exchange.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ByteCodePage codePage;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  TFavoriteItems favorites;
  TSubMenuItems submenus;
  submenus.Add();
  const exchange::ImportOutcome outcome =
      exchange::importList(bytes, codePage, favorites, submenus, L"C:\\Work\\");
  if (!outcome.refusal.empty() && (favorites.Count() != 0 || submenus.Count() != 1))
    __builtin_trap();
  if (outcome.imported > favorites.Count()) __builtin_trap();
  if (favorites.Count() == 0 || outcome.imported == 0) return 0;

  const std::string again =
      exchange::exportText(favorites, submenus, L"C:\\Work\\", 1200, L"now", codePage);
  const exchange::ImportOutcome twice =
      exchange::importList(again, codePage, favorites, submenus, L"C:\\Work\\");
  if (twice.imported != 0 || twice.alreadyThere != outcome.imported) __builtin_trap();
  return 0;
}
