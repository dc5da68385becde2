#pragma once
#include <cstdint>
#include <vector>

namespace zel {

// A plain 32-bit pixel buffer, 0x00RRGGBB per pixel, row after row. Every
// write is clipped to the buffer.
class TPixmap {
public:
    TPixmap() = default;
    TPixmap(int width, int height, std::uint32_t fill = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    std::uint32_t Pixel(int x, int y) const { return Contains(x, y) ? px_[Index(x, y)] : 0; }
    void SetPixel(int x, int y, std::uint32_t c)
    {
        if (Contains(x, y))
            px_[Index(x, y)] = c;
    }
    std::uint32_t* Line(int y) { return px_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
    const std::uint32_t* Line(int y) const
    {
        return px_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }

    void Fill(std::uint32_t c);
    void FillRect(int x, int y, int w, int h, std::uint32_t c);
    // Copies `h` rows of this buffer from row `from` to row `to` (overlap allowed).
    void MoveRows(int from, int to, int h);

private:
    std::size_t Index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> px_;
};

} // namespace zel
