#include "Artwork.h"

#include <algorithm>
#include <cmath>

namespace zel::assetgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Deterministic noise in [0, 1) from integer coordinates.
double Hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed)
{
    std::uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0x1000000);
}

// Smooth noise that repeats every `px` by `py` cells.
double PeriodicNoise(double x, double y, int px, int py, std::uint32_t seed)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const double tx = x - fx;
    const double ty = y - fy;
    auto cell = [&](int ix, int iy) {
        return Hash(static_cast<std::uint32_t>(((ix % px) + px) % px),
                    static_cast<std::uint32_t>(((iy % py) + py) % py), seed);
    };
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const double sx = tx * tx * (3 - 2 * tx);
    const double sy = ty * ty * (3 - 2 * ty);
    const double top = cell(ix, iy) * (1 - sx) + cell(ix + 1, iy) * sx;
    const double bottom = cell(ix, iy + 1) * (1 - sx) + cell(ix + 1, iy + 1) * sx;
    return top * (1 - sy) + bottom * sy;
}

std::uint8_t Channel(double v)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(v * 255.0), 0L, 255L));
}

// Stone picture of one cell size: per pixel the stone's own coverage, the
// coverage of stone and shadow together, and the lit colour of the stone.
struct TStonePixel {
    double Cover = 0;
    double Total = 0;
    double R = 0, G = 0, B = 0;
};

double Shade(bool white, double nx, double ny, double nz, int channel)
{
    // Light from the upper left, towards the viewer.
    const double lx = -0.45, ly = -0.55, lz = 0.70;
    const double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
    const double hx = lx, hy = ly, hz = lz + 1.0;
    const double hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    const double specular = std::pow(std::max(0.0, (nx * hx + ny * hy + nz * hz) / hl), white ? 24.0 : 30.0);
    if (white) {
        const double tint = channel == 2 ? 0.975 : (channel == 1 ? 0.985 : 1.0);
        return (0.66 + 0.30 * diffuse + 0.10 * specular) * tint;
    }
    const double blue = channel == 2 ? 0.012 : 0.0;
    return 0.07 + 0.10 * diffuse + 0.55 * specular + blue;
}

TStonePixel StonePixel(bool white, int cell, int px, int py)
{
    const double c = (cell / 2) + 0.5; // centre of the point's centre pixel
    const double radius = std::min(c, cell - c) - 0.15;
    const double shadowShift = std::max(0.6, cell * 0.045);
    constexpr int kSub = 5;
    TStonePixel out;
    double r = 0, g = 0, b = 0;
    for (int sy = 0; sy < kSub; ++sy) {
        for (int sx = 0; sx < kSub; ++sx) {
            const double x = px + (sx + 0.5) / kSub;
            const double y = py + (sy + 0.5) / kSub;
            const double dx = (x - c) / radius;
            const double dy = (y - c) / radius;
            const double d2 = dx * dx + dy * dy;
            if (d2 <= 1.0) {
                const double nz = std::sqrt(1.0 - d2);
                r += Shade(white, dx, dy, nz, 0);
                g += Shade(white, dx, dy, nz, 1);
                b += Shade(white, dx, dy, nz, 2);
                out.Cover += 1;
                out.Total += 1;
                continue;
            }
            const double sdx = (x - c - shadowShift) / radius;
            const double sdy = (y - c - shadowShift) / radius;
            const double sd = std::sqrt(sdx * sdx + sdy * sdy);
            if (sd < 1.0)
                out.Total += 0.40 * std::min(1.0, (1.0 - sd) * 4.0);
        }
    }
    const double n = kSub * kSub;
    if (out.Cover > 0) {
        out.R = r / out.Cover;
        out.G = g / out.Cover;
        out.B = b / out.Cover;
    }
    out.Cover /= n;
    out.Total /= n;
    return out;
}

} // namespace

namespace {

// What tells the board patterns apart: the wood's colour, how many growth
// rings cross the tile, how dark they are and the noise that bends them.
struct TWoodKind {
    double R, G, B;
    double Rings;
    double RingDark;
    std::uint32_t Seed;
};

constexpr TWoodKind kWoods[] = {
    {236, 193, 112, 5, 0.08, 7},  // light, fine grain (the default)
    {222, 168, 96, 3, 0.11, 19},  // warmer, broad grain
    {242, 214, 150, 7, 0.06, 23}, // pale, close grain
    {196, 138, 80, 4, 0.14, 31},  // dark, strong grain
};

} // namespace

TRgbImage WoodTexture(int pattern)
{
    constexpr int kW = 65;
    constexpr int kH = 243;
    const TWoodKind& wood = kWoods[pattern >= 1 && pattern <= kBoardPatterns ? pattern - 1 : 0];
    TRgbImage img(kW, kH);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const double u = static_cast<double>(x) / kW;
            const double v = static_cast<double>(y) / kH;
            // Growth rings seen from the side: fine lines along the length,
            // unevenly spaced and gently wandering.
            const double wander = 0.07 * std::sin(2 * kPi * (v + 0.3)) + 0.035 * std::sin(2 * kPi * (2 * v + u)) +
                                  0.10 * PeriodicNoise(u * 4, v * 3, 4, 3, wood.Seed);
            const double rings = wood.Rings * u + 0.45 * std::sin(2 * kPi * (u + 0.2)) + wander;
            const double s = 0.5 + 0.5 * std::sin(2 * kPi * rings);
            const double ring = std::pow(s, 12.0);
            const double soft = std::pow(s, 3.0);
            const double fibre = PeriodicNoise(x * 1.0, y / 9.0, 65, 27, 3) - 0.5;
            const double band = PeriodicNoise(u * 2, v * 1, 2, 1, 5) - 0.5;
            const double speck = Hash(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), 11) - 0.5;
            const double dark = wood.RingDark * ring + 0.04 * soft + 0.05 * fibre + 0.015 * speck + 0.06 * band;
            img.At(x, y) = {Channel((wood.R / 255) * (1 - dark)), Channel((wood.G / 255) * (1 - dark * 1.2)),
                            Channel((wood.B / 255) * (1 - dark * 1.5))};
        }
    }
    return img;
}

TStoneSheets StoneSheets()
{
    constexpr int kW = 444;
    constexpr int kH = 129;
    TStoneSheets sheets{TRgbImage(kW, kH, {255, 255, 255}), TRgbImage(kW, kH), TRgbImage(kW, kH)};
    for (int cell = 10; cell <= 39; ++cell) {
        const int band = (cell - 10) / 10;
        const int left = (cell - 10 - band * 10) * 45;
        const int top = band * 45;
        for (int py = 0; py < cell; ++py) {
            for (int px = 0; px < cell; ++px) {
                const TStonePixel black = StonePixel(false, cell, px, py);
                const TStonePixel white = StonePixel(true, cell, px, py);
                // Both stones have the same outline, so one mask serves both.
                const std::uint8_t m = Channel(1.0 - black.Total);
                sheets.Mask.At(left + px, top + py) = {m, m, m};
                sheets.Black.At(left + px, top + py) = {Channel(black.R * black.Cover), Channel(black.G * black.Cover),
                                                        Channel(black.B * black.Cover)};
                sheets.White.At(left + px, top + py) = {Channel(white.R * white.Cover), Channel(white.G * white.Cover),
                                                        Channel(white.B * white.Cover)};
            }
        }
    }
    return sheets;
}

std::vector<std::int16_t> StoneClick(int sampleRate)
{
    const int count = sampleRate * 110 / 1000;
    std::vector<double> wave(static_cast<std::size_t>(count));
    struct TPartial {
        double Freq, Amp, Decay;
    };
    // A hard, bright knock of stone on wood with a short body resonance.
    const TPartial partials[] = {
        {640, 0.35, 0.022}, {1210, 0.55, 0.011}, {2480, 0.45, 0.006}, {3920, 0.30, 0.0035}, {5600, 0.18, 0.002}};
    double peak = 0;
    std::uint32_t noise = 12345;
    double low = 0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        double s = 0;
        for (const TPartial& p : partials)
            s += p.Amp * std::sin(2 * kPi * p.Freq * t) * std::exp(-t / p.Decay);
        noise = noise * 1664525u + 1013904223u;
        const double white = (noise >> 8) / double(1 << 24) - 0.5;
        low += 0.35 * (white - low);
        s += 1.2 * low * std::exp(-t / 0.0018);
        const double attack = std::min(1.0, t / 0.0004);
        wave[static_cast<std::size_t>(i)] = s * attack;
        peak = std::max(peak, std::abs(s * attack));
    }
    std::vector<std::int16_t> samples;
    samples.reserve(wave.size());
    for (double s : wave)
        samples.push_back(static_cast<std::int16_t>(std::lround(s / peak * 0.8 * 32767)));
    return samples;
}

} // namespace zel::assetgen
