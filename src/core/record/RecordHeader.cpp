#include "core/record/RecordHeader.h"

#include <algorithm>
#include <cstdio>

#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/record/GiboText.h"
#include "core/record/SafeName.h"

namespace zel {
namespace {

// Drops control characters and breaks "\#", keeping double-byte characters
// whole.
std::string CleanField(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80 && i + 1 < text.size()) {
            out += text[i];
            out += text[++i];
            continue;
        }
        if (c < 0x20 || c == 0x7F || c >= 0x80)
            continue;
        if (c == '\\' && i + 1 < text.size() && text[i + 1] == '#') {
            out += '/';
            continue;
        }
        out += static_cast<char>(c);
    }
    return out;
}

std::string CutName(std::string_view name)
{
    std::string clean = CleanField(name);
    clean.resize(Cp949PrefixLength(clean, kMaxHeaderName));
    return clean;
}

} // namespace

const std::string& RecordTitle()
{
    return KS("가온하루미 벨다대국");
}

std::string TermsText(int handicap, char komiSide, int komi)
{
    std::string terms;
    terms += NumToLetter(std::clamp(handicap, 0, 25));
    terms += komiSide == 'A' ? 'A' : 'B';
    terms += NumToCode2(std::clamp(komi, 0, 675));
    return terms;
}

std::string ResultField(std::string_view result)
{
    return std::string(result.substr(0, result.find(">>")));
}

std::string RecordHeaderLine(const TRecordHeader& header)
{
    std::string line = "OOAA";
    const std::string sep(kFieldSep);
    line += CutName(header.Black) + sep;
    line += CutName(header.White) + sep;
    line += TermsText(header.Handicap, header.KomiSide, header.Komi) + sep;
    line += CleanField(header.DateLine) + sep;
    line += CleanField(header.Title) + sep;
    line += CleanField(ResultField(header.Result)) + sep;
    return line;
}

TRecordHeader ParseRecordHeader(std::string data)
{
    TRecordHeader header;
    std::string terms;
    CutField(data, header.Black);
    CutField(data, header.White);
    CutField(data, terms);
    CutField(data, header.DateLine);
    CutField(data, header.Title);
    CutField(data, header.Result);

    if (terms == KS("호선"))
        terms = "AAAF";
    else if (terms == KS("정선"))
        terms = "BAAA";
    else if (!terms.empty() && terms[0] >= '2' && terms[0] <= '9')
        terms = std::string(1, static_cast<char>(terms[0] - '0' + 'A')) + "AAA";
    if (terms.size() >= 4) {
        header.Handicap = std::clamp(terms[0] - 'A', 0, 25);
        header.KomiSide = terms[1] == 'A' ? 'A' : 'B';
        header.Komi = std::clamp(Code2ToNum(std::string_view(terms).substr(2, 2)), 0, 675);
    }
    return header;
}

std::string PlayerDisplayText(std::string_view nickname, std::string_view id, std::string_view rank)
{
    if (nickname.empty())
        return std::string(id);
    std::string text(nickname);
    text += '(';
    text += id;
    text += ") ";
    text += rank;
    return text;
}

std::string ShortDateText(int year, int month, int day)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
    return buffer;
}

std::string RecordFileName(std::string_view dateText, std::string_view blackId, std::string_view whiteId,
                           std::string_view gameKey)
{
    std::string name;
    for (char c : dateText)
        if (c >= '0' && c <= '9')
            name += c;
    name += blackId;
    name += whiteId;
    name += gameKey;
    name += ".zel";
    return IsBareName(name) ? name : std::string();
}

std::string BareRecordName(std::string_view path)
{
    const auto cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

} // namespace zel
