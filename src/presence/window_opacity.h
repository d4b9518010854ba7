// window_opacity.h
// Which opacity levels a window takes: levels 1 to 255 are its alpha out of
// 255; every other level is no level and leaves the window as it is.
#pragma once

#include <cstdint>

namespace tallaro {

inline constexpr std::int16_t kOpaqueLevel = 255;

// Returns whether SetTrans applies the level (1..255) or ignores it.
constexpr bool isOpacityLevel(std::int16_t level) {
    return level > 0 && level < 256;
}

// Returns the window opacity, 0 to 1, of an applied level.
constexpr double opacityOfLevel(std::int16_t level) {
    return static_cast<double>(level) / kOpaqueLevel;
}

}  // namespace tallaro
