// Text arguments of IProfile's methods, read with a bound: a string without its terminator is
// never scanned past the longest text the call can use.
#pragma once
#include <objbase.h>

#include <cstddef>
#include <string>
#include <vector>

namespace quill::server {

// Longest file name an export or import takes, in UTF-16 units (the longest Windows path).
inline constexpr size_t kMaxFileNameLength = 32767;

// Copies the terminated text at `text` of at most `max_length` units into `out`. E_POINTER for
// a null `text`; `too_long` when no terminator comes within max_length + 1 units.
HRESULT ReadBoundedText(LPCWSTR text, size_t max_length, HRESULT too_long, std::u16string& out);
// A stored object's name (at most 255 units, else 0x8007007B, as the store answers).
HRESULT ReadItemName(LPCWSTR text, std::u16string& out);
// An exchange file's path (E_INVALIDARG when longer than kMaxFileNameLength).
HRESULT ReadFileName(LPCWSTR text, std::u16string& out);
// `count` names from the caller's array (E_POINTER for a null array or slot, E_INVALIDARG for a
// negative count).
HRESULT ReadItemNames(const LPWSTR* names, LONG count, std::vector<std::u16string>& out);

}  // namespace quill::server
