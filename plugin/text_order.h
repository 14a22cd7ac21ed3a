// How the lists compare texts: the user's locale order ignoring case for
// sorting, and the ordinal comparison ignoring case for filters and file
// names. The plug-in asks the system (text_order.cpp); the native build of
// the Windows-free parts has a plain fallback
// (cmake/native/text_order_portable.cpp).
#pragma once

#include <string>

// <0, 0, >0, as the platform's locale-aware comparison ignoring case orders
// a and b; always a total order.
int compareTextLocale(const std::wstring& a, const std::wstring& b);

// Whether part occurs in text, letters compared without case (ordinal).
// An empty part occurs everywhere.
bool containsIgnoringCase(const std::wstring& text, const std::wstring& part);

// The text with its letters folded as the ordinal comparison ignoring case
// folds them, so two file names that the file system takes for one fold to
// one key.
std::wstring foldedForMatch(const std::wstring& text);
