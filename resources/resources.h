#pragma once
// Binary resources held in the program.
#include <cstdint>
#include <span>

namespace zr::res {

// The new-draw chime as a complete WAV image (empty until it has been generated).
std::span<const std::uint8_t> chimeWav();
// The skin block in the program's own skin format (empty until it exists).
std::span<const std::uint8_t> skinData();

}  // namespace zr::res
