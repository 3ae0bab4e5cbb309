#include "tests/support/png_maker.h"

#include <string>

namespace jc::test {
namespace {

std::uint32_t Crc32(const std::uint8_t* data, size_t size, std::uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void PutBig32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void Chunk(Bytes& png, const char* type, const Bytes& data) {
  PutBig32(png, static_cast<std::uint32_t>(data.size()));
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  png.insert(png.end(), typed.begin(), typed.end());
  PutBig32(png, Crc32(typed.data(), typed.size()));
}

// A zlib stream of stored (uncompressed) deflate blocks.
Bytes Stored(const Bytes& raw) {
  Bytes z = {0x78, 0x01};
  size_t at = 0;
  do {
    size_t n = std::min<size_t>(raw.size() - at, 65535);
    bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<std::uint8_t>(n));
    z.push_back(static_cast<std::uint8_t>(n >> 8));
    z.push_back(static_cast<std::uint8_t>(~n));
    z.push_back(static_cast<std::uint8_t>(~n >> 8));
    z.insert(z.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + n));
    at += n;
  } while (at < raw.size());
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBig32(z, (b << 16) | a);
  return z;
}

}  // namespace

Bytes MakePng(int width, int height, const PixelFunction& pixel) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  PutBig32(header, static_cast<std::uint32_t>(width));
  PutBig32(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
  Chunk(png, "IHDR", header);
  Bytes raw;
  raw.reserve(static_cast<size_t>(height) * (1 + 4 * static_cast<size_t>(width)));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // filter type None
    for (int x = 0; x < width; ++x) {
      std::uint32_t argb = pixel(x, y);
      raw.insert(raw.end(), {static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8),
                             static_cast<std::uint8_t>(argb), static_cast<std::uint8_t>(argb >> 24)});
    }
  }
  Chunk(png, "IDAT", Stored(raw));
  Chunk(png, "IEND", {});
  return png;
}

Bytes MakeEarthPng(int size) {
  return MakePng(size, size, [size](int x, int y) -> std::uint32_t {
    double r = size / 2.0, dx = x + 0.5 - r, dy = y + 0.5 - r;
    if (dx * dx + dy * dy > r * r) return 0x00000000;  // transparent outside the disk
    return ((x / 8 + y / 8) % 3 == 0) ? 0xFF2E7D32 : 0xFF1565C0;  // land and ocean
  });
}

}  // namespace jc::test
