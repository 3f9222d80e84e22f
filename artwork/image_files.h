// Writers of the Windows image files the resource compiler embeds: a 24-bit bitmap (BMP) and an
// icon (ICO) of several sizes with 32-bit pixels and alpha.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace quill::art {

// Pixels are 0xAARRGGBB, top row first.
struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> argb;
};

// A BITMAPFILEHEADER, a BITMAPINFOHEADER and bottom-up BGR rows padded to 4 bytes (alpha dropped).
std::vector<uint8_t> EncodeBmp(const Image& image);
// An ICONDIR and one entry per image (each at most 256 pixels a side), each stored as a
// BITMAPINFOHEADER of double height, bottom-up BGRA rows and an AND mask (1 where alpha is 0,
// rows padded to 4 bytes).
std::vector<uint8_t> EncodeIco(const std::vector<Image>& images);

// Writes the bytes; throws std::runtime_error naming the file when that fails.
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
// The whole file; throws std::runtime_error naming the file when it cannot be read.
std::string ReadFile(const std::string& path);
// A path as a quoted string of a resource script ("C:\\x" style escapes).
std::string RcString(const std::string& path);

}  // namespace quill::art
