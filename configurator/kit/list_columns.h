// Columns of a list control: their widths laid side by side, the column under a point, and the
// choice of the next selectable entry of a menu (separators and disabled items passed over).
#pragma once
#include <vector>

namespace quill::kit {

// The column whose span holds `x` (pixels from the list's left edge), -1 outside all.
int ColumnAt(const std::vector<int>& widths, int x);
// The left edge of `column`.
int ColumnLeft(const std::vector<int>& widths, int column);

// From `from` (-1: none) the next entry with selectable[i] true in `direction` (+1 or -1),
// wrapping round; -1 when there is none.
int NextSelectable(const std::vector<bool>& selectable, int from, int direction);

}  // namespace quill::kit
