#pragma once
#include <cstdint>
#include <vector>

#include "ImageWriter.h"

namespace zel::assetgen {

// The board textures: 65 x 243 pixels of wood with a lengthwise grain,
// seamless in both directions so that it tiles. Pattern 1..kBoardPatterns
// (1, the light wood, for anything else).
constexpr int kBoardPatterns = 4;
TRgbImage WoodTexture(int pattern = 1);

// The three 444 x 129 stone sheets. Cell sizes 10..19 sit in the top band,
// 20..29 in the middle one, 30..39 in the bottom one, each 45 pixels further
// right than the previous size. Mask: white where the board shows, darker where
// the stone (and its shadow) covers it. Stones: the stone's colour already
// multiplied by its coverage, black elsewhere; mask AND then stone OR gives the
// picture.
struct TStoneSheets {
    TRgbImage Mask{0, 0};
    TRgbImage Black{0, 0};
    TRgbImage White{0, 0};
};
TStoneSheets StoneSheets();

// A short click of a stone set on a wooden board, 16-bit mono samples.
std::vector<std::int16_t> StoneClick(int sampleRate);

} // namespace zel::assetgen
