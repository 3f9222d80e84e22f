#include "configurator/kit/masked_blend.h"

#include <gtest/gtest.h>

namespace quill::kit {
namespace {

TEST(BlendThroughMask, EachColourByteUsesItsOwnMaskByte) {
  uint32_t destination[] = {0xFF102030, 0x00FFFFFF, 0x00000000, 0x00808080};
  const uint32_t source[] = {0x00A0B0C0, 0x00000000, 0x00FFFFFF, 0x00FF0000};
  const uint32_t mask[] = {0x00000000, 0x00FFFFFF, 0x00FF0080, 0x00808080};
  BlendThroughMask(destination, source, mask, 4);
  EXPECT_EQ(destination[0], 0xFF102030u);  // no mask: the destination stays, its fourth byte too
  EXPECT_EQ(destination[1], 0x00000000u);  // full mask: the source
  EXPECT_EQ(destination[2], 0x00FF0080u);  // red fully, green not, blue half
  // 0x80 × 127 + 0xFF × 128 = 48896, / 255 = 191 (0xBF) for red; 0x80 × 127 / 255 = 63 (0x3F).
  EXPECT_EQ(destination[3], 0x00BF3F3Fu);
}

}  // namespace
}  // namespace quill::kit
