// Builds "Convert.tbl", "ZelE00.FNT", "ZelH00.FNT", "ZelSBS.FNT" and
// "ZelKSS.FNT" from a Unifont .hex file and the system's CP949 and Johab
// conversions. The Hangul component glyphs (8 initial, 4 medial and 4 final
// variants) are fitted to Unifont's 11,172 syllables; the mean share of pixels
// in which the composed syllables differ from Unifont's is printed.
//
// usage: fontgen <unifont.hex> <output directory>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iconv.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/term/HangulVariants.h"

namespace {

using zel::FinalVariant;
using zel::InitialVariant;
using zel::MedialVariant;

struct Glyph {
    std::array<std::uint16_t, 16> rows{}; // most significant bit leftmost
    bool wide = false;
};

std::map<std::uint32_t, Glyph> LoadHex(const std::string& path)
{
    std::map<std::uint32_t, Glyph> glyphs;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string hex = line.substr(colon + 1);
        if (hex.size() != 32 && hex.size() != 64)
            continue;
        Glyph g;
        g.wide = hex.size() == 64;
        const std::size_t digits = g.wide ? 4 : 2;
        for (std::size_t r = 0; r < 16; ++r) {
            const auto v = std::stoul(hex.substr(r * digits, digits), nullptr, 16);
            g.rows[r] = static_cast<std::uint16_t>(g.wide ? v : v << 8);
        }
        glyphs[static_cast<std::uint32_t>(std::stoul(line.substr(0, colon), nullptr, 16))] = g;
    }
    return glyphs;
}

// Converts one CP949 character; empty when the conversion refuses it.
std::string Convert(const char* to, const std::string& from)
{
    iconv_t cd = iconv_open(to, "CP949");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    char out[16];
    char* in = const_cast<char*>(from.data());
    std::size_t inLeft = from.size(), outLeft = sizeof out;
    char* outPtr = out;
    const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1) || inLeft != 0)
        return {};
    return std::string(out, static_cast<std::size_t>(outPtr - out));
}

std::uint32_t CodePoint(std::uint8_t lead, std::uint8_t trail)
{
    const std::string u = Convert("UTF-32BE", std::string{static_cast<char>(lead), static_cast<char>(trail)});
    if (u.size() != 4)
        return 0;
    std::uint32_t cp = 0;
    for (char c : u)
        cp = (cp << 8) | static_cast<std::uint8_t>(c);
    return cp;
}

// A Unifont glyph as a 16x16 cell; half-width glyphs are centred.
std::array<std::uint16_t, 16> Cell(const std::map<std::uint32_t, Glyph>& font, std::uint32_t cp)
{
    const auto it = font.find(cp);
    if (cp == 0 || it == font.end())
        return {};
    auto rows = it->second.rows;
    if (!it->second.wide)
        for (auto& r : rows)
            r = static_cast<std::uint16_t>(r >> 4);
    return rows;
}

void PutWide(std::string& out, const std::array<std::uint16_t, 16>& rows)
{
    for (auto r : rows) {
        out.push_back(static_cast<char>(r >> 8));
        out.push_back(static_cast<char>(r & 0xFF));
    }
}

// Johab component codes of the Unicode jamo indices.
constexpr int kMedialCode[21] = {3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 15, 18, 19, 20, 21, 22, 23, 26, 27, 28, 29};

using Bits = std::array<std::uint16_t, 16>;

struct Syllable {
    Bits target;
    int part[3]; // component glyph indices into the 344-glyph font, -1 none
};

int Popcount(const Bits& b)
{
    int n = 0;
    for (auto r : b)
        n += __builtin_popcount(r);
    return n;
}

double MeanDifference(const std::vector<Syllable>& syllables, const std::vector<Bits>& parts)
{
    double sum = 0;
    for (const auto& s : syllables) {
        Bits diff{};
        for (std::size_t r = 0; r < 16; ++r) {
            std::uint16_t composed = 0;
            for (int p : s.part)
                if (p >= 0)
                    composed = static_cast<std::uint16_t>(composed | parts[static_cast<std::size_t>(p)][r]);
            diff[r] = static_cast<std::uint16_t>(composed ^ s.target[r]);
        }
        sum += Popcount(diff) / 256.0;
    }
    return sum / static_cast<double>(syllables.size());
}

// Fits the 344 component glyphs: the ink common to every syllable that uses a
// glyph, then rounds of exact per-pixel improvement given the other two
// components of each syllable.
std::vector<Bits> FitComponents(const std::vector<Syllable>& syllables)
{
    constexpr std::size_t kGlyphs = 344;
    std::vector<Bits> parts(kGlyphs);
    std::vector<std::vector<std::size_t>> users(kGlyphs);
    for (std::size_t i = 0; i < syllables.size(); ++i)
        for (int p : syllables[i].part)
            if (p >= 0)
                users[static_cast<std::size_t>(p)].push_back(i);
    for (std::size_t g = 0; g < kGlyphs; ++g) {
        std::array<int, 256> count{};
        for (auto i : users[g])
            for (int px = 0; px < 256; ++px)
                count[static_cast<std::size_t>(px)] +=
                    (syllables[i].target[static_cast<std::size_t>(px / 16)] >> (15 - px % 16)) & 1;
        for (int px = 0; px < 256; ++px)
            if (count[static_cast<std::size_t>(px)] == static_cast<int>(users[g].size()))
                parts[g][static_cast<std::size_t>(px / 16)] |= static_cast<std::uint16_t>(0x8000u >> (px % 16));
    }
    for (int round = 0; round < 30; ++round) {
        for (std::size_t g = 0; g < kGlyphs; ++g) {
            if (users[g].empty())
                continue;
            std::array<int, 256> gain{};
            for (auto i : users[g]) {
                const auto& s = syllables[i];
                for (std::size_t r = 0; r < 16; ++r) {
                    std::uint16_t others = 0;
                    for (int p : s.part)
                        if (p >= 0 && static_cast<std::size_t>(p) != g)
                            others = static_cast<std::uint16_t>(others | parts[static_cast<std::size_t>(p)][r]);
                    for (int c = 0; c < 16; ++c) {
                        const std::uint16_t bit = static_cast<std::uint16_t>(0x8000u >> c);
                        if (others & bit)
                            continue;
                        gain[r * 16 + static_cast<std::size_t>(c)] += (s.target[r] & bit) ? 1 : -1;
                    }
                }
            }
            Bits next{};
            for (std::size_t px = 0; px < 256; ++px)
                if (gain[px] > 0)
                    next[px / 16] |= static_cast<std::uint16_t>(0x8000u >> (px % 16));
            parts[g] = next;
        }
    }
    return parts;
}

bool Write(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fontgen <unifont.hex> <output directory>\n");
        return 2;
    }
    const auto font = LoadHex(argv[1]);
    if (font.size() < 1000) {
        std::fprintf(stderr, "fontgen: no glyphs read from %s\n", argv[1]);
        return 1;
    }
    const std::string dir = argv[2];

    // ASCII: 128 glyphs of 16 one-byte rows; control codes stay blank.
    std::string ascii(2048, '\0');
    for (std::uint32_t c = 32; c < 127; ++c) {
        const auto it = font.find(c);
        if (it == font.end() || it->second.wide)
            continue;
        for (std::size_t r = 0; r < 16; ++r)
            ascii[c * 16 + r] = static_cast<char>(it->second.rows[r] >> 8);
    }

    // Conversion table: KS X 1001 code -> Johab; row 4 (the Hangul letters
    // standing alone) goes to the SBS font, whose glyphs are drawn whole.
    std::string table, sbs, kss(35680, '\0');
    std::vector<Bits> sbsGlyphs(127);
    for (int lead = 0xA1; lead <= 0xFE; ++lead)
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            std::uint16_t code = 0;
            const auto l = static_cast<std::uint8_t>(lead), t = static_cast<std::uint8_t>(trail);
            if (lead == 0xA4) {
                code = static_cast<std::uint16_t>(0xD400 | (0x81 + trail - 0xA1));
                sbsGlyphs[static_cast<std::size_t>(trail - 0xA1)] = Cell(font, CodePoint(l, t));
            } else {
                const std::string j = Convert("JOHAB", std::string{static_cast<char>(lead), static_cast<char>(trail)});
                if (j.size() == 2)
                    code = static_cast<std::uint16_t>((static_cast<std::uint8_t>(j[0]) << 8) |
                                                      static_cast<std::uint8_t>(j[1]));
                const int hi = code >> 8, lo = code & 0xFF;
                if (hi >= 0xD9 && hi <= 0xDE && ((lo >= 0x31 && lo <= 0x7E) || (lo >= 0x91 && lo <= 0xFE))) {
                    const int k = (hi - 0xD9) * 188 + (lo <= 0x7E ? lo - 0x31 : lo - 0x43);
                    if (k < 1115) {
                        std::string g;
                        PutWide(g, Cell(font, CodePoint(l, t)));
                        kss.replace(static_cast<std::size_t>(k) * 32, 32, g);
                    }
                }
            }
            table.push_back(static_cast<char>(code & 0xFF));
            table.push_back(static_cast<char>(code >> 8));
        }
    table.append(2838, '\0');
    for (const auto& g : sbsGlyphs)
        PutWide(sbs, g);

    // Hangul components fitted to the composed syllables U+AC00..U+D7A3.
    std::vector<Syllable> syllables;
    for (int s = 0; s < 11172; ++s) {
        const int l = s / 588, v = (s % 588) / 28, t = s % 28;
        const int initial = l + 2, medial = kMedialCode[v];
        const bool hasFinal = t > 0;
        Syllable syl{};
        syl.target = Cell(font, static_cast<std::uint32_t>(0xAC00 + s));
        syl.part[0] = InitialVariant(medial, hasFinal) * 19 + l;
        syl.part[1] = 8 * 19 + MedialVariant(initial, hasFinal) * 21 + v;
        syl.part[2] = hasFinal ? 8 * 19 + 4 * 21 + FinalVariant(medial) * 27 + (t - 1) : -1;
        syllables.push_back(syl);
    }
    const auto parts = FitComponents(syllables);
    std::string hangul;
    for (const auto& p : parts)
        PutWide(hangul, p);

    const bool ok = Write(dir + "/Convert.tbl", table) && Write(dir + "/ZelE00.FNT", ascii) &&
                    Write(dir + "/ZelH00.FNT", hangul) && Write(dir + "/ZelSBS.FNT", sbs) &&
                    Write(dir + "/ZelKSS.FNT", kss);
    if (!ok) {
        std::fprintf(stderr, "fontgen: cannot write to %s\n", dir.c_str());
        return 1;
    }
    std::printf("fontgen: 11172 composed syllables differ from Unifont in %.2f%% of their pixels on average\n",
                100.0 * MeanDifference(syllables, parts));
    return 0;
}
