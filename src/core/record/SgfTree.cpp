#include "core/record/SgfTree.h"

#include <cctype>

namespace zel {
namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Reads one "[...]" value starting at text[pos] == '['. Soft line breaks (a
// backslash before a line end) vanish; other escaped characters are kept.
bool ReadValue(std::string_view text, std::size_t& pos, std::string& value)
{
    ++pos;
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c == ']')
            return true;
        if (c != '\\') {
            value += c;
            continue;
        }
        if (pos >= text.size())
            return false;
        const char e = text[pos++];
        if (e == '\r' || e == '\n') {
            if (pos < text.size() && (text[pos] == '\r' || text[pos] == '\n') && text[pos] != e)
                ++pos;
            continue;
        }
        value += e;
    }
    return false;
}

} // namespace

const std::string* SgfNode::Find(std::string_view id) const
{
    for (const auto& p : Properties)
        if (p.Id == id && !p.Values.empty())
            return &p.Values.front();
    return nullptr;
}

std::vector<std::string> SgfNode::All(std::string_view id) const
{
    std::vector<std::string> values;
    for (const auto& p : Properties)
        if (p.Id == id)
            values.insert(values.end(), p.Values.begin(), p.Values.end());
    return values;
}

SgfStatus ParseSgf(std::string_view text, SgfTree& tree)
{
    tree.Nodes.clear();
    if (text.size() > kSgfMaxBytes)
        return SgfStatus::TooLarge;
    std::size_t pos = text.find('(');
    if (pos == std::string_view::npos)
        return SgfStatus::Empty;

    std::vector<int> open; // the node each open '(' continues from
    int current = -1;
    while (pos < text.size()) {
        const char c = text[pos];
        if (IsSpace(c)) {
            ++pos;
        } else if (c == '(') {
            open.push_back(current);
            ++pos;
        } else if (c == ')') {
            if (open.empty())
                return SgfStatus::Syntax;
            current = open.back();
            open.pop_back();
            ++pos;
            if (open.empty())
                break;
        } else if (c == ';') {
            if (open.empty() || (current < 0 && !tree.Nodes.empty()))
                return SgfStatus::Syntax;
            if (tree.Nodes.size() >= kSgfMaxNodes)
                return SgfStatus::TooLarge;
            SgfNode node;
            node.Parent = current;
            tree.Nodes.push_back(std::move(node));
            const int index = static_cast<int>(tree.Nodes.size()) - 1;
            if (current >= 0)
                tree.Nodes[static_cast<std::size_t>(current)].Children.push_back(index);
            current = index;
            ++pos;
        } else if (IsLetter(c)) {
            if (current < 0)
                return SgfStatus::Syntax;
            SgfProperty property;
            // Older files spell identifiers with lower-case letters too
            // ("AddBlack"); only the upper-case ones name the property.
            while (pos < text.size() && IsLetter(text[pos])) {
                if (std::isupper(static_cast<unsigned char>(text[pos])))
                    property.Id += text[pos];
                ++pos;
            }
            while (true) {
                while (pos < text.size() && IsSpace(text[pos]))
                    ++pos;
                if (pos >= text.size() || text[pos] != '[')
                    break;
                std::string value;
                if (!ReadValue(text, pos, value))
                    return SgfStatus::Syntax;
                property.Values.push_back(std::move(value));
            }
            if (property.Values.empty() || property.Id.empty())
                return SgfStatus::Syntax;
            tree.Nodes[static_cast<std::size_t>(current)].Properties.push_back(std::move(property));
        } else {
            return SgfStatus::Syntax;
        }
    }
    if (!open.empty())
        return SgfStatus::Syntax;
    return tree.Nodes.empty() ? SgfStatus::Empty : SgfStatus::Ok;
}

std::string SgfEscape(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        if (c == '\\' || c == ']')
            out += '\\';
        out += c;
    }
    return out;
}

} // namespace zel
