#include "core/record/GiboText.h"

namespace zel {

void CutField(std::string& source, std::string& field)
{
    const auto pos = source.find(kFieldSep);
    if (pos == std::string::npos) {
        field.clear();
        return;
    }
    field = source.substr(0, pos);
    source.erase(0, pos + kFieldSep.size());
}

void CutHead(std::size_t n, std::string& source, std::string& head)
{
    head = source.substr(0, n);
    source.erase(0, head.size());
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    if (from.empty())
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (auto pos = text.find(from); pos != std::string_view::npos; pos = text.find(from, start)) {
        out.append(text.substr(start, pos - start));
        out.append(to);
        start = pos + from.size();
    }
    out.append(text.substr(start));
    return out;
}

} // namespace zel
