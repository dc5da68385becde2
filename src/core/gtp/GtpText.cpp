#include "core/gtp/GtpText.h"

#include <cctype>
#include <charconv>

namespace zel {

namespace {

constexpr int kSide = 19;
constexpr char kColumns[] = "ABCDEFGHJKLMNOPQRST";

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

TGtpLineStatus ReadGtpLine(std::string_view line, TGtpCommand& command)
{
    command = {};
    if (line.size() > kGtpMaxLine)
        return TGtpLineStatus::TooLong;
    std::string clean;
    for (char c : line) {
        if (c == '#')
            break;
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '\t')
            clean += ' ';
        else if (u >= 32 && u != 127)
            clean += c;
    }
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < clean.size()) {
        while (i < clean.size() && clean[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < clean.size() && clean[i] != ' ')
            ++i;
        if (i > start)
            words.emplace_back(clean.substr(start, i - start));
    }
    if (words.empty())
        return TGtpLineStatus::Empty;
    std::size_t first = 0;
    long id = 0;
    const std::string& w = words[0];
    const auto [end, error] = std::from_chars(w.data(), w.data() + w.size(), id);
    if (error == std::errc() && end == w.data() + w.size() && id >= 0 && id <= kGtpMaxId) {
        command.Id = id;
        first = 1;
    }
    if (first < words.size())
        command.Name = words[first];
    command.Args.assign(words.begin() + static_cast<long>(std::min(first + 1, words.size())), words.end());
    return TGtpLineStatus::Command;
}

std::string GtpReplyText(bool ok, const std::optional<long>& id, std::string_view text)
{
    std::string body;
    for (char c : text)
        if (c != '\r')
            body += c;
    while (!body.empty() && body.back() == '\n')
        body.pop_back();
    std::string out(1, ok ? '=' : '?');
    if (id)
        out += std::to_string(*id);
    out += ' ';
    for (std::size_t i = 0; i < body.size(); ++i) {
        out += body[i];
        if (body[i] == '\n' && i + 1 < body.size() && body[i + 1] == '\n')
            out += ' ';
    }
    return out + "\n\n";
}

bool ReadGtpVertex(std::string_view text, int& x, int& y)
{
    const std::string v = Lower(text);
    if (v == "pass") {
        x = y = 0;
        return true;
    }
    if (v.size() < 2 || v.size() > 3)
        return false;
    int column = 0;
    for (int i = 0; i < kSide; ++i)
        if (std::tolower(static_cast<unsigned char>(kColumns[i])) == v[0])
            column = i + 1;
    int row = 0;
    const auto [end, error] = std::from_chars(v.data() + 1, v.data() + v.size(), row);
    if (column == 0 || error != std::errc() || end != v.data() + v.size() || v[1] == '0' || row < 1 || row > kSide)
        return false;
    x = column;
    y = kSide + 1 - row;
    return true;
}

std::string GtpVertexText(int x, int y)
{
    if (x < 1 || x > kSide || y < 1 || y > kSide)
        return "pass";
    return kColumns[x - 1] + std::to_string(kSide + 1 - y);
}

int ReadGtpColour(std::string_view text)
{
    const std::string c = Lower(text);
    return (c == "b" || c == "black") ? 1 : (c == "w" || c == "white") ? 2 : 0;
}

} // namespace zel
