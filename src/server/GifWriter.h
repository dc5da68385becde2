#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace zel {

// A 16-colour picture of one or more frames (more than one: an endlessly
// looping animation).
struct TGifPicture {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::array<std::array<std::uint8_t, 3>, 16> palette{};
    std::vector<std::vector<std::uint8_t>> frames; // width * height colour indices each, 0..15
    std::uint16_t delayCs = 50;                    // per frame, in 1/100 s
};

// Writes a GIF89a file. The image data is LZW coded with a clear code before
// the table grows, so every code keeps the same width; simple and valid.
std::vector<std::uint8_t> EncodeGif(const TGifPicture& picture);

// The banner pictures the configuration server hands out, in file order
// (logo panel, top logo, animated top banner, game window). Drawn here, so
// they are the same bytes at every start.
std::vector<std::vector<std::uint8_t>> MakeBanners();

} // namespace zel
