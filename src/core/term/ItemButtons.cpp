#include "core/term/ItemButtons.h"

#include <algorithm>
#include <cctype>

#include "core/base/Cp949.h"

namespace zel {
namespace {

// The row as text: one byte per column, empty cells as blanks, single-byte
// characters lowercased (trail bytes of double-byte characters untouched).
struct RowText {
    std::string s;
    std::vector<bool> start; // true where a character begins

    explicit RowText(const TTermLine& line, int columns)
    {
        const int n = std::clamp(columns, 1, kTermColumns);
        start.assign(static_cast<std::size_t>(n), true);
        for (int i = 0; i < n; ++i) {
            auto ch = line[static_cast<std::size_t>(i)].ch;
            if (ch == 0)
                ch = ' ';
            if (ch >= 0x80 && i + 1 < n) {
                s.push_back(static_cast<char>(ch));
                const auto trail = line[static_cast<std::size_t>(i + 1)].ch;
                s.push_back(static_cast<char>(trail ? trail : ' '));
                start[static_cast<std::size_t>(i + 1)] = false;
                ++i;
                continue;
            }
            s.push_back(static_cast<char>(std::tolower(ch)));
        }
    }
    int Size() const { return static_cast<int>(s.size()); }
    char At(int i) const { return i >= 0 && i < Size() ? s[static_cast<std::size_t>(i)] : '\0'; }
    // First occurrence of `what` at or after `from` that begins on a character.
    int Find(const std::string& what, int from = 0) const
    {
        for (auto pos = s.find(what, static_cast<std::size_t>(std::max(from, 0))); pos != std::string::npos;
             pos = s.find(what, pos + 1))
            if (start[pos])
                return static_cast<int>(pos);
        return -1;
    }
};

bool IsAlnum(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}
bool IsAlpha(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string Trim(const std::string& t)
{
    const auto a = t.find_first_not_of(' ');
    if (a == std::string::npos)
        return {};
    return t.substr(a, t.find_last_not_of(' ') - a + 1);
}

void Add(std::vector<TItemButton>& out, std::string text, int first, int last)
{
    if (out.size() >= kMaxItemButtons || first > last)
        return;
    ++first;
    ++last;
    for (const auto& b : out)
        if (first <= b.last && b.first <= last)
            return;
    text.resize(Cp949PrefixLength(text, kMaxItemText));
    out.push_back(TItemButton{std::move(text), first, last});
}

bool IsEnterWord(const std::string& t)
{
    return t == KS("엔터") || t == KS("리턴") || t == KS("엔터키") || t == KS("리턴키");
}

// 1: a menu number at the start of the row.
bool FindNumber(const RowText& r, std::vector<TItemButton>& out)
{
    int i = 0;
    while (i < 8 && (r.At(i) == ' ' || r.At(i) == '#' || r.At(i) == '['))
        ++i;
    const int digits = i;
    while (IsDigit(r.At(i)) && i - digits < 19)
        ++i;
    const int len = i - digits;
    if (len < 1 || len > 18 || (r.At(i) != ' ' && r.At(i) != ']'))
        return false;
    Add(out, r.s.substr(static_cast<std::size_t>(digits), static_cast<std::size_t>(len)), 0, r.Size() - 1);
    return true;
}

// 2: entries such as "1.Lobby  2.Rooms" or "a. list": the short token before a
// '.' is the item; its button reaches to the next item.
bool FindDotted(const RowText& r, std::vector<TItemButton>& out)
{
    struct Item {
        int first, dot;
    };
    std::vector<Item> items;
    for (int i = 1; i < r.Size(); ++i) {
        if (r.At(i) != '.' || !IsAlnum(r.At(i - 1)))
            continue;
        int a = i - 1;
        while (a > 0 && IsAlnum(r.At(a - 1)))
            --a;
        const char before = r.At(a - 1);
        if (i - a > 3 || (a > 0 && before != ' ' && before != '(' && before != '[') || IsDigit(r.At(i + 1)))
            continue;
        items.push_back(Item{a, i});
    }
    for (std::size_t k = 0; k < items.size(); ++k) {
        int last = k + 1 < items.size() ? items[k + 1].first - 1 : r.Size() - 1;
        while (last > items[k].dot && r.At(last) == ' ')
            --last;
        Add(out,
            r.s.substr(static_cast<std::size_t>(items[k].first),
                       static_cast<std::size_t>(items[k].dot - items[k].first)),
            items[k].first, last);
    }
    return !items.empty();
}

struct Prompt {
    const std::string& word;
    std::string text;
};

std::vector<Prompt> Prompts()
{
    return {{KS("'y'"), "y"},   {KS("enter"), ""}, {KS("엔터키"), ""},
            {KS("리턴키"), ""}, {KS("엔터"), ""},  {KS("리턴"), ""}};
}

// 3: option lists in parentheses, plus the Enter and help prompts of the row.
bool FindOptions(const RowText& r, std::vector<TItemButton>& out)
{
    bool found = false;
    int open = r.Find("(");
    while (open >= 0) {
        const int close = r.Find(")", open + 1);
        if (close < 0)
            break;
        int a = open + 1;
        for (int i = open + 1; i <= close; ++i) {
            const char c = r.At(i);
            if (i < close && ((c != ',' && c != '/') || !r.start[static_cast<std::size_t>(i)]))
                continue;
            const std::string raw = r.s.substr(static_cast<std::size_t>(a), static_cast<std::size_t>(i - a));
            std::string item = Trim(raw);
            if (!item.empty()) {
                const int first = a + static_cast<int>(raw.find_first_not_of(' '));
                const int last = first + static_cast<int>(item.size()) - 1;
                if (IsEnterWord(item))
                    item.clear();
                else if (item.rfind("go ", 0) == 0)
                    item = item.substr(0, item.find(':'));
                Add(out, item, first, last);
                found = true;
            }
            a = i + 1;
        }
        open = r.Find("(", close + 1);
    }
    if (!found)
        return false;
    for (const auto& p : Prompts()) {
        for (int at = r.Find(p.word); at >= 0; at = r.Find(p.word, at + static_cast<int>(p.word.size())))
            Add(out, p.text, at, at + static_cast<int>(p.word.size()) - 1);
    }
    const std::string help = KS("도움말:h");
    for (int at = r.Find(help); at >= 0; at = r.Find(help, at + static_cast<int>(help.size())))
        Add(out, "h", at, at + static_cast<int>(help.size()) - 1);
    return true;
}

// 4: a "go <word>" command, else the first Enter prompt of the row.
bool FindGoOrPrompt(const RowText& r, std::vector<TItemButton>& out)
{
    for (int at = r.Find("go "); at >= 0 && at < 76; at = r.Find("go ", at + 1)) {
        if (at > 0 && r.At(at - 1) != '(' && r.At(at - 1) != ' ')
            continue;
        if (!IsAlpha(r.At(at + 3)))
            continue;
        int end = at + 3;
        while (end < r.Size() && IsAlnum(r.At(end)))
            ++end;
        if (end < r.Size() && r.At(end) != ' ' && r.At(end) != ')')
            continue;
        Add(out, r.s.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(end - at)), at, end - 1);
        return true;
    }
    int best = -1;
    const Prompt* hit = nullptr;
    const auto prompts = Prompts();
    for (const auto& p : prompts) {
        const int at = r.Find(p.word);
        if (at >= 0 && (best < 0 || at < best)) {
            best = at;
            hit = &p;
        }
    }
    if (!hit)
        return false;
    Add(out, hit->text, best, best + static_cast<int>(hit->word.size()) - 1);
    return true;
}

// 5: "^c Cancel ^q Quit": each ^letter up to the next caret sends that control code.
bool FindControlHints(const RowText& r, std::vector<TItemButton>& out)
{
    bool found = false;
    for (int i = 0; i + 1 < r.Size(); ++i) {
        const char letter = r.At(i + 1);
        if (r.At(i) != '^' || letter < 'a' || letter > 'z')
            continue;
        int last = r.Find("^", i + 1);
        last = last < 0 ? r.Size() - 1 : last - 1;
        while (last > i + 1 && r.At(last) == ' ')
            --last;
        Add(out, std::string(1, static_cast<char>(letter - 96)), i, last);
        found = true;
    }
    return found;
}

} // namespace

std::vector<TItemButton> FindItemButtons(const TTermLine& line, int columns)
{
    const RowText row(line, columns);
    std::vector<TItemButton> out;
    if (FindNumber(row, out) || FindDotted(row, out) || FindOptions(row, out) || FindGoOrPrompt(row, out))
        return out;
    FindControlHints(row, out);
    return out;
}

} // namespace zel
