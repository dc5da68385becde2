#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zel::assetgen {

struct TRgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
};

// A plain 24-bit picture, row 0 at the top.
class TRgbImage {
public:
    TRgbImage(int width, int height, TRgb fill = {});
    int Width() const { return Width_; }
    int Height() const { return Height_; }
    TRgb& At(int x, int y) { return Pixels_[static_cast<std::size_t>(y) * Width_ + x]; }
    const TRgb& At(int x, int y) const { return Pixels_[static_cast<std::size_t>(y) * Width_ + x]; }
    // Writes an uncompressed 24-bit BMP; false when the file cannot be written.
    bool SaveBmp(const std::string& path) const;

private:
    int Width_;
    int Height_;
    std::vector<TRgb> Pixels_;
};

// Writes 16-bit mono PCM samples as a WAV file.
bool SaveWav(const std::string& path, const std::vector<std::int16_t>& samples, int sampleRate);

} // namespace zel::assetgen
