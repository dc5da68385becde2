#include "core/net/Resp.h"

#include <charconv>

namespace zel {

namespace {

constexpr std::size_t kNpos = std::string_view::npos;
constexpr int kMaxDepth = 8;

// The number after the type byte up to CRLF; `end` is past the CRLF.
bool Line(std::string_view d, std::size_t at, long long& value, std::size_t& end, bool& complete)
{
    std::size_t crlf = d.find("\r\n", at);
    complete = crlf != kNpos;
    if (!complete)
        return true;
    end = crlf + 2;
    auto [p, ec] = std::from_chars(d.data() + at, d.data() + crlf, value);
    return ec == std::errc() && p == d.data() + crlf;
}

// Spans one element; fills `bulk` with its content when it is a string.
std::size_t Span(std::string_view d, std::size_t at, int depth, std::string_view* bulk)
{
    if (at >= d.size())
        return 0;
    if (depth > kMaxDepth)
        return kNpos;
    char type = d[at];
    std::size_t end = 0;
    bool complete = false;
    switch (type) {
    case '+':
    case '-':
    case ':':
    case ',':
    case '#':
    case '_':
    case '(': {
        std::size_t crlf = d.find("\r\n", at);
        if (crlf == kNpos)
            return 0;
        if (bulk)
            *bulk = d.substr(at + 1, crlf - at - 1);
        return crlf + 2 - at;
    }
    case '$':
    case '=':
    case '!': {
        long long n = 0;
        if (!Line(d, at + 1, n, end, complete))
            return kNpos;
        if (!complete)
            return 0;
        if (n < 0)
            return end - at;
        if (end + static_cast<std::size_t>(n) + 2 > d.size())
            return 0;
        if (bulk)
            *bulk = d.substr(end, static_cast<std::size_t>(n));
        return end + static_cast<std::size_t>(n) + 2 - at;
    }
    case '*':
    case '>':
    case '~':
    case '%':
    case '|': {
        long long n = 0;
        if (!Line(d, at + 1, n, end, complete))
            return kNpos;
        if (!complete)
            return 0;
        if (n < 0)
            return end - at;
        long long items = (type == '%' || type == '|') ? 2 * n : n;
        std::size_t pos = end;
        for (long long i = 0; i < items; ++i) {
            std::size_t s = Span(d, pos, depth + 1, nullptr);
            if (s == 0 || s == kNpos)
                return s;
            pos += s;
        }
        return pos - at;
    }
    default:
        return kNpos;
    }
}

} // namespace

std::size_t ParseResp(std::string_view data, TRespElement& out)
{
    out = TRespElement{};
    if (data.empty())
        return 0;
    std::size_t total = Span(data, 0, 0, &out.text);
    if (total == 0 || total == kNpos)
        return total;
    out.type = data[0];
    if (out.type == '>' || out.type == '*') {
        long long n = 0;
        std::size_t end = 0;
        bool complete = false;
        Line(data, 1, n, end, complete);
        for (long long i = 0; i < n && out.items.size() < 3; ++i) {
            std::string_view item;
            std::size_t s = Span(data, end, 1, &item);
            out.items.push_back(item);
            end += s;
        }
    }
    return total;
}

std::string RespCommand(const std::vector<std::string_view>& args)
{
    std::string out = "*" + std::to_string(args.size()) + "\r\n";
    for (std::string_view a : args) {
        out += "$" + std::to_string(a.size()) + "\r\n";
        out.append(a);
        out += "\r\n";
    }
    return out;
}

} // namespace zel
