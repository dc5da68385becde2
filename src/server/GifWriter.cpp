#include "server/GifWriter.h"

#include <algorithm>

namespace zel {

namespace {

constexpr int kMinCodeSize = 4; // 16 colours
constexpr int kClear = 1 << kMinCodeSize;
constexpr int kEnd = kClear + 1;
constexpr int kCodeWidth = kMinCodeSize + 1;
// After a clear the decoder adds one table entry per code from the second
// on; a clear every 14 pixels keeps the table below 32 entries.
constexpr int kPixelsPerClear = (1 << kMinCodeSize) - 2;

void Put16(std::vector<std::uint8_t>& out, int v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

class BitPacker {
public:
    void Add(int code)
    {
        acc_ |= static_cast<std::uint32_t>(code) << bits_;
        bits_ += kCodeWidth;
        while (bits_ >= 8) {
            data_.push_back(static_cast<std::uint8_t>(acc_ & 0xFF));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }
    std::vector<std::uint8_t> Finish()
    {
        if (bits_ > 0)
            data_.push_back(static_cast<std::uint8_t>(acc_ & 0xFF));
        return std::move(data_);
    }

private:
    std::vector<std::uint8_t> data_;
    std::uint32_t acc_ = 0;
    int bits_ = 0;
};

void PutImageData(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& pixels)
{
    BitPacker packer;
    packer.Add(kClear);
    int run = 0;
    for (std::uint8_t px : pixels) {
        if (run == kPixelsPerClear) {
            packer.Add(kClear);
            run = 0;
        }
        packer.Add(px & 0x0F);
        ++run;
    }
    packer.Add(kEnd);
    std::vector<std::uint8_t> data = packer.Finish();
    out.push_back(kMinCodeSize);
    for (std::size_t i = 0; i < data.size(); i += 255) {
        std::size_t n = std::min<std::size_t>(255, data.size() - i);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                   data.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    out.push_back(0);
}

// A small canvas with the few shapes the banners use.
struct Canvas {
    int w, h;
    std::vector<std::uint8_t> px;
    Canvas(int width, int height, std::uint8_t fill)
        : w(width), h(height), px(static_cast<std::size_t>(width * height), fill)
    {
    }
    void Set(int x, int y, std::uint8_t c)
    {
        if (x >= 0 && y >= 0 && x < w && y < h)
            px[static_cast<std::size_t>(y * w + x)] = c;
    }
    void Rect(int x0, int y0, int x1, int y1, std::uint8_t c)
    {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                Set(x, y, c);
    }
    void Disc(int cx, int cy, int r, std::uint8_t c)
    {
        for (int y = -r; y <= r; ++y)
            for (int x = -r; x <= r; ++x)
                if (x * x + y * y <= r * r)
                    Set(cx + x, cy + y, c);
    }
    // A board of `lines` lines with spacing `step`, its first line at (x0, y0).
    void Grid(int x0, int y0, int lines, int step, std::uint8_t c)
    {
        int span = (lines - 1) * step;
        for (int i = 0; i < lines; ++i) {
            Rect(x0 + i * step, y0, x0 + i * step + 1, y0 + span + 1, c);
            Rect(x0, y0 + i * step, x0 + span + 1, y0 + i * step + 1, c);
        }
    }
};

enum : std::uint8_t { Wood, Black, White, Line, Navy, Sky, Gold, Red, Grey, Green };

TGifPicture Picture(int w, int h)
{
    TGifPicture p;
    p.width = static_cast<std::uint16_t>(w);
    p.height = static_cast<std::uint16_t>(h);
    p.palette = {{{220, 179, 92},
                  {16, 16, 16},
                  {245, 245, 240},
                  {96, 64, 24},
                  {24, 40, 96},
                  {120, 170, 230},
                  {240, 200, 40},
                  {200, 40, 40},
                  {128, 128, 128},
                  {40, 140, 60},
                  {0, 0, 0},
                  {0, 0, 0},
                  {0, 0, 0},
                  {0, 0, 0},
                  {0, 0, 0},
                  {255, 255, 255}}};
    return p;
}

// A board corner with a few stones; `shift` moves the stones for animation.
Canvas BoardScene(int w, int h, int lines, int step, int shift)
{
    Canvas c(w, h, Navy);
    int x0 = 6;
    int y0 = (h - (lines - 1) * step) / 2;
    c.Rect(x0 - 4, y0 - 4, x0 + (lines - 1) * step + 5, y0 + (lines - 1) * step + 5, Wood);
    c.Grid(x0, y0, lines, step, Line);
    const int stones[][3] = {{1, 1, Black}, {2, 1, White}, {2, 2, Black}, {1, 2, White}, {3, 1, Black}};
    int count = std::min<int>(5, 2 + shift);
    for (int i = 0; i < count; ++i)
        c.Disc(x0 + stones[i][0] * step, y0 + stones[i][1] * step, step / 2 - 1,
               static_cast<std::uint8_t>(stones[i][2]));
    // A band of colour blocks to the right of the board.
    int bx = x0 + (lines - 1) * step + 14;
    for (int i = 0; bx + i * 18 + 12 < w; ++i)
        c.Rect(bx + i * 18, h / 2 - 6, bx + i * 18 + 12, h / 2 + 6, static_cast<std::uint8_t>(i % 2 ? Sky : Gold));
    return c;
}

} // namespace

std::vector<std::uint8_t> EncodeGif(const TGifPicture& picture)
{
    std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, picture.width);
    Put16(out, picture.height);
    out.push_back(0xF3); // global colour table of 16 entries, 8-bit colour resolution
    out.push_back(0);    // background colour
    out.push_back(0);    // square pixels
    for (const auto& rgb : picture.palette)
        out.insert(out.end(), rgb.begin(), rgb.end());
    bool animated = picture.frames.size() > 1;
    if (animated) {
        const char app[] = "NETSCAPE2.0";
        out.insert(out.end(), {0x21, 0xFF, 11});
        out.insert(out.end(), app, app + 11);
        out.insert(out.end(), {3, 1, 0, 0, 0}); // loop for ever
    }
    for (const auto& frame : picture.frames) {
        if (animated) {
            out.insert(out.end(), {0x21, 0xF9, 4, 0x04});
            Put16(out, picture.delayCs);
            out.insert(out.end(), {0, 0});
        }
        out.push_back(0x2C);
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, picture.width);
        Put16(out, picture.height);
        out.push_back(0); // no local colour table, not interlaced
        std::vector<std::uint8_t> pixels = frame;
        pixels.resize(static_cast<std::size_t>(picture.width) * picture.height, 0);
        PutImageData(out, pixels);
    }
    out.push_back(0x3B);
    return out;
}

std::vector<std::vector<std::uint8_t>> MakeBanners()
{
    std::vector<std::vector<std::uint8_t>> files;

    TGifPicture logo = Picture(120, 60);
    logo.frames.push_back(BoardScene(120, 60, 5, 12, 3).px);
    files.push_back(EncodeGif(logo));

    TGifPicture top = Picture(160, 40);
    Canvas topCanvas(160, 40, Wood);
    topCanvas.Grid(4, 4, 4, 10, Line);
    topCanvas.Disc(14, 14, 4, Black);
    topCanvas.Disc(24, 24, 4, White);
    topCanvas.Rect(50, 12, 150, 28, Green);
    topCanvas.Rect(54, 16, 146, 24, Gold);
    top.frames.push_back(topCanvas.px);
    files.push_back(EncodeGif(top));

    TGifPicture banner = Picture(468, 60);
    for (int shift = 0; shift < 4; ++shift)
        banner.frames.push_back(BoardScene(468, 60, 5, 12, shift).px);
    banner.delayCs = 40;
    files.push_back(EncodeGif(banner));

    TGifPicture game = Picture(160, 60);
    Canvas gameCanvas = BoardScene(160, 60, 5, 12, 2);
    gameCanvas.Rect(0, 0, 160, 3, Red);
    gameCanvas.Rect(0, 57, 160, 60, Red);
    game.frames.push_back(gameCanvas.px);
    files.push_back(EncodeGif(game));
    return files;
}

} // namespace zel
