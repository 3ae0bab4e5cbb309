#include "tests/support/png_maker.h"

#include <algorithm>
#include <cmath>
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
  // A lit sphere with land and cloud from a few waves over its surface; outside the disk the
  // pixels are transparent.
  return MakePng(size, size, [size](int px, int py) -> std::uint32_t {
    double x = (px + 0.5) / size * 2 - 1, y = (py + 0.5) / size * 2 - 1;
    double rr = x * x + y * y;
    if (rr > 1) return 0x00000000;
    double z = std::sqrt(1 - rr);
    double land = std::sin(3.1 * x + 1.3 * z + 0.7) * std::sin(2.3 * y - 0.9) +
                  0.45 * std::sin(6.7 * x - 4.1 * y + 2.0 * z) + 0.25 * std::sin(13.0 * y + 5.0 * x);
    double cloud = std::sin(9.0 * y + 3.0 * std::sin(4.0 * x)) * std::sin(5.0 * x - 2.0 * y + z) +
                   0.5 * std::sin(17.0 * x + 11.0 * y);
    double light = 0.25 + 0.75 * z;
    double r = 10, g = 40, b = 110;  // ocean
    if (land > 0.55) {
      bool dry = std::fabs(y) < 0.45 && land > 0.85;
      r = dry ? 150 : 60, g = dry ? 125 : 110, b = dry ? 70 : 45;
    }
    double c = std::clamp((cloud - 0.6) * 1.6, 0.0, 0.85);
    r = (r * (1 - c) + 235 * c) * light;
    g = (g * (1 - c) + 240 * c) * light;
    b = (b * (1 - c) + 245 * c) * light;
    auto channel = [](double v) { return static_cast<std::uint32_t>(std::clamp(v, 0.0, 255.0)); };
    return 0xFF000000u | channel(r) << 16 | channel(g) << 8 | channel(b);
  });
}

}  // namespace jc::test
