#include "artwork/image_files.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quill::art {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutInfoHeader(std::vector<uint8_t>& out, int width, int height, int bits, uint32_t image_size) {
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);  // planes
  Put16(out, static_cast<uint32_t>(bits));
  Put32(out, 0);  // BI_RGB
  Put32(out, image_size);
  Put32(out, 2835);  // 72 DPI in pixels per metre
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
}

uint32_t Stride(int width, int bits) { return ((static_cast<uint32_t>(width) * bits + 31) / 32) * 4; }

void CheckSize(const Image& image, int largest) {
  if (image.width <= 0 || image.height <= 0 || image.width > largest || image.height > largest ||
      image.argb.size() != static_cast<size_t>(image.width) * image.height) {
    throw std::invalid_argument("image of " + std::to_string(image.width) + "x" + std::to_string(image.height) +
                                " pixels cannot be written");
  }
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const Image& image) {
  CheckSize(image, 32768);
  const uint32_t stride = Stride(image.width, 24), data_size = stride * image.height;
  std::vector<uint8_t> out;
  out.reserve(54 + data_size);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + data_size);
  Put32(out, 0);
  Put32(out, 54);
  PutInfoHeader(out, image.width, image.height, 24, data_size);
  for (int y = image.height - 1; y >= 0; --y) {
    const size_t row_start = out.size();
    for (int x = 0; x < image.width; ++x) {
      const uint32_t p = image.argb[static_cast<size_t>(y) * image.width + x];
      out.push_back(static_cast<uint8_t>(p));
      out.push_back(static_cast<uint8_t>(p >> 8));
      out.push_back(static_cast<uint8_t>(p >> 16));
    }
    out.resize(row_start + stride, 0);
  }
  return out;
}

std::vector<uint8_t> EncodeIco(const std::vector<Image>& images) {
  if (images.empty() || images.size() > 0xFFFF) throw std::invalid_argument("an icon needs 1 to 65535 images");
  std::vector<std::vector<uint8_t>> bodies;
  for (const Image& image : images) {
    CheckSize(image, 256);
    const uint32_t mask_stride = Stride(image.width, 1);
    std::vector<uint8_t> body;
    PutInfoHeader(body, image.width, image.height * 2, 32, 0);
    for (int y = image.height - 1; y >= 0; --y) {
      for (int x = 0; x < image.width; ++x) Put32(body, image.argb[static_cast<size_t>(y) * image.width + x]);
    }
    for (int y = image.height - 1; y >= 0; --y) {
      std::vector<uint8_t> row(mask_stride, 0);
      for (int x = 0; x < image.width; ++x) {
        if ((image.argb[static_cast<size_t>(y) * image.width + x] >> 24) == 0) row[x / 8] |= 0x80 >> (x % 8);
      }
      body.insert(body.end(), row.begin(), row.end());
    }
    bodies.push_back(std::move(body));
  }
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    out.push_back(static_cast<uint8_t>(images[i].width & 0xFF));  // 256 is written 0
    out.push_back(static_cast<uint8_t>(images[i].height & 0xFF));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, static_cast<uint32_t>(bodies[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(bodies[i].size());
  }
  for (const auto& body : bodies) out.insert(out.end(), body.begin(), body.end());
  return out;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string RcString(const std::string& path) {
  std::string quoted = "\"";
  for (char c : path) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace quill::art
