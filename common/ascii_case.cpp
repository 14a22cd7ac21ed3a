#include "ascii_case.h"

namespace fav {

size_t findIgnoringAsciiCase(std::wstring_view text, std::wstring_view part, size_t from) {
  for (size_t at = from; at + part.size() <= text.size(); ++at)
    if (equalsIgnoringAsciiCase(text.substr(at, part.size()), part)) return at;
  return std::wstring_view::npos;
}

namespace {

size_t find(std::wstring_view text, std::wstring_view part, size_t from, LetterCase match) {
  return match == LetterCase::Exact ? text.find(part, from) : findIgnoringAsciiCase(text, part, from);
}

}  // namespace

std::wstring replaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to,
                        LetterCase match) {
  if (from.empty()) return std::wstring(text);
  std::wstring out;
  out.reserve(text.size());
  size_t pos = 0;
  for (size_t hit; (hit = find(text, from, pos, match)) != std::wstring_view::npos;
       pos = hit + from.size())
    out.append(text.substr(pos, hit - pos)).append(to);
  return out.append(text.substr(pos));
}

}  // namespace fav
