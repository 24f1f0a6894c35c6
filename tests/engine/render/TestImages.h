#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace kt::test {

// Writes a PNG whose pixel (x, y) has the colour 0xAARRGGBB that the function gives, making folders as
// needed.
void writeTestPng(const std::string& path, int width, int height,
                  const std::function<std::uint32_t(int x, int y)>& argbAt);

}  // namespace kt::test
