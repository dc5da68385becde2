#include "ImageWriter.h"

#include <fstream>

namespace zel::assetgen {

namespace {

void Put16(std::string& out, std::uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace

TRgbImage::TRgbImage(int width, int height, TRgb fill)
    : Width_(width), Height_(height), Pixels_(static_cast<std::size_t>(width) * height, fill)
{
}

bool TRgbImage::SaveBmp(const std::string& path) const
{
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(Width_) * 3 + 3) & ~3u;
    const std::uint32_t dataBytes = rowBytes * static_cast<std::uint32_t>(Height_);
    std::string out;
    out += "BM";
    Put32(out, 54 + dataBytes);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(Width_));
    Put32(out, static_cast<std::uint32_t>(Height_)); // positive: bottom-up rows
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, dataBytes);
    Put32(out, 3780); // 96 dpi
    Put32(out, 3780);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = Height_ - 1; y >= 0; --y) {
        std::uint32_t written = 0;
        for (int x = 0; x < Width_; ++x) {
            const TRgb& p = At(x, y);
            out += static_cast<char>(p.B);
            out += static_cast<char>(p.G);
            out += static_cast<char>(p.R);
            written += 3;
        }
        for (; written < rowBytes; ++written)
            out += '\0';
    }
    return WriteFile(path, out);
}

bool SaveWav(const std::string& path, const std::vector<std::int16_t>& samples, int sampleRate)
{
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string out;
    out += "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, static_cast<std::uint32_t>(sampleRate));
    Put32(out, static_cast<std::uint32_t>(sampleRate) * 2);
    Put16(out, 2);
    Put16(out, 16);
    out += "data";
    Put32(out, dataBytes);
    for (std::int16_t s : samples)
        Put16(out, static_cast<std::uint16_t>(s));
    return WriteFile(path, out);
}

} // namespace zel::assetgen
