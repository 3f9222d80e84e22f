// Texts of the on-screen displays, built from translated format texts. The format texts come
// from translation files, so a field that is missing or of another kind is left as written
// instead of being handed to printf.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace quill::tray {

// Column in which a profile name ends on the profile display (names this long or longer get no
// blanks before them).
constexpr size_t kProfileNameColumn = 19;

// format ("%s%s" translated) with a run of blanks, then the name, so that a name shorter than
// kProfileNameColumn ends in that column.
std::u16string ProfileDisplayText(std::u16string_view format, std::u16string_view name);

// format ("X:%d Y:%d" translated) with the two values.
std::u16string DpiDisplayText(std::u16string_view format, int32_t x, int32_t y);

// Bitmap resource of a DPI value: 5000 + dpi / 100 (5001 to 5056 exist for 100 to 5600).
constexpr int32_t DpiBitmapId(int32_t dpi) { return 5000 + dpi / 100; }
constexpr int32_t kFirstDpiBitmap = 5001;
constexpr int32_t kLastDpiBitmap = 5056;

}  // namespace quill::tray
