#include "support/TermFonts.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace zel::test {
namespace {

bool Read(const std::filesystem::path& path, std::string& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream s;
    s << in.rdbuf();
    out = s.str();
    return true;
}

} // namespace

bool LoadBuiltFonts(TFontFiles& files)
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return false;
    const auto dir = exe.parent_path().parent_path() / "src" / "client";
    return Read(dir / "Convert.tbl", files.table) && Read(dir / "ZelE00.FNT", files.ascii) &&
           Read(dir / "ZelH00.FNT", files.hangul) && Read(dir / "ZelSBS.FNT", files.sbs) &&
           Read(dir / "ZelKSS.FNT", files.kss);
}

TBackDraw::Palette DistinctPalette()
{
    TBackDraw::Palette p{};
    for (std::uint32_t i = 0; i < p.size(); ++i)
        p[i] = 0x000D0D0Du * i + 0x00000102u * (i % 3);
    return p;
}

} // namespace zel::test
