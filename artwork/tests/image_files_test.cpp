#include "artwork/image_files.h"

#include <gtest/gtest.h>

namespace quill::art {
namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint32_t U16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }

Image Filled(int width, int height) {
  Image image{width, height, {}};
  for (int i = 0; i < width * height; ++i) image.argb.push_back(0xFF000000u | static_cast<uint32_t>(i + 1) * 0x010203u);
  return image;
}

TEST(ImageFiles, BmpHasItsHeadersAndBottomUpRowsPaddedToFourBytes) {
  const Image image = Filled(3, 2);  // 9 bytes a row, padded to 12
  const std::vector<uint8_t> bmp = EncodeBmp(image);
  ASSERT_EQ(bmp.size(), 54u + 12 * 2);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(U32(bmp, 2), bmp.size());
  EXPECT_EQ(U32(bmp, 10), 54u);   // pixels start
  EXPECT_EQ(U32(bmp, 14), 40u);   // BITMAPINFOHEADER
  EXPECT_EQ(U32(bmp, 18), 3u);
  EXPECT_EQ(U32(bmp, 22), 2u);    // positive: bottom-up
  EXPECT_EQ(U16(bmp, 26), 1u);
  EXPECT_EQ(U16(bmp, 28), 24u);
  EXPECT_EQ(U32(bmp, 30), 0u);    // BI_RGB
  EXPECT_EQ(U32(bmp, 34), 24u);   // image size
  // The first row in the file is the image's bottom row, blue first, then zero padding.
  const uint32_t bottom_left = image.argb[3];
  EXPECT_EQ(bmp[54], bottom_left & 0xFF);
  EXPECT_EQ(bmp[55], (bottom_left >> 8) & 0xFF);
  EXPECT_EQ(bmp[56], (bottom_left >> 16) & 0xFF);
  EXPECT_EQ(bmp[54 + 9], 0);
  EXPECT_EQ(bmp[54 + 11], 0);
  EXPECT_EQ(bmp[54 + 12], image.argb[0] & 0xFF);
}

TEST(ImageFiles, IcoListsEachSizeWithDoubleHeightHeaderPixelsAndAndMask) {
  Image small = Filled(16, 16), odd = Filled(33, 33), large = Filled(256, 256);
  small.argb[15 * 16 + 0] = 0x00FFFFFF;  // bottom-left transparent
  const std::vector<uint8_t> ico = EncodeIco({small, odd, large});
  EXPECT_EQ(U16(ico, 0), 0u);
  EXPECT_EQ(U16(ico, 2), 1u);
  ASSERT_EQ(U16(ico, 4), 3u);
  uint32_t offset = 6 + 3 * 16;
  const int sizes[] = {16, 33, 256};
  const uint32_t mask_strides[] = {4, 8, 32};
  for (int i = 0; i < 3; ++i) {
    const size_t entry = 6 + 16 * i;
    const int n = sizes[i];
    EXPECT_EQ(ico[entry], n == 256 ? 0 : n);
    EXPECT_EQ(ico[entry + 1], n == 256 ? 0 : n);
    EXPECT_EQ(U16(ico, entry + 4), 1u);
    EXPECT_EQ(U16(ico, entry + 6), 32u);
    const uint32_t bytes = 40 + 4u * n * n + mask_strides[i] * n;
    EXPECT_EQ(U32(ico, entry + 8), bytes) << n;
    EXPECT_EQ(U32(ico, entry + 12), offset) << n;
    EXPECT_EQ(U32(ico, offset), 40u);
    EXPECT_EQ(U32(ico, offset + 4), static_cast<uint32_t>(n));
    EXPECT_EQ(U32(ico, offset + 8), static_cast<uint32_t>(2 * n));
    EXPECT_EQ(U16(ico, offset + 14), 32u);
    offset += bytes;
  }
  EXPECT_EQ(ico.size(), offset);
  // Small image: the first stored pixel is the bottom-left one, BGRA with its alpha kept; its
  // AND-mask bit (first bit of the first mask row) is set, its neighbour's is not.
  const size_t pixels = 6 + 3 * 16 + 40;
  EXPECT_EQ(U32(ico, pixels), 0x00FFFFFFu);
  EXPECT_EQ(U32(ico, pixels + 4), small.argb[15 * 16 + 1]);
  const size_t mask = pixels + 4 * 16 * 16;
  EXPECT_EQ(ico[mask], 0x80);
  EXPECT_EQ(ico[mask + 4], 0x00);
}

TEST(ImageFiles, ImagesThatCannotBeWrittenAreRefused) {
  EXPECT_THROW(EncodeIco({Filled(257, 257)}), std::invalid_argument);
  EXPECT_THROW(EncodeIco({}), std::invalid_argument);
  EXPECT_THROW(EncodeBmp(Image{4, 4, std::vector<uint32_t>(15)}), std::invalid_argument);
  EXPECT_THROW(EncodeBmp(Image{0, 4, {}}), std::invalid_argument);
}

}  // namespace
}  // namespace quill::art
