// Builds small PNG files in tests, so no test depends on an image from elsewhere. Portable.
#pragma once

#include <cstdint>
#include <functional>

#include "common/text.h"

namespace jc::test {

// 0xAARRGGBB of the pixel at (x, y).
using PixelFunction = std::function<std::uint32_t(int x, int y)>;

// An 8-bit RGBA PNG (colour type 6), stored without compression.
Bytes MakePng(int width, int height, const PixelFunction& pixel);

// A disk of blue on transparent black, a little like the service's Earth.
Bytes MakeEarthPng(int size);

}  // namespace jc::test
