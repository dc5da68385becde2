#include "core/app/ServerListText.h"

#include <optional>
#include <string>
#include <vector>

#include "core/settings/ZelStatus.h"

namespace zel {
namespace {

std::vector<std::string_view> SplitFields(std::string_view text)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find("\\#", start);
        if (end == std::string_view::npos)
            break;
        fields.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return fields;
}

std::optional<long> ToNumber(std::string_view field, long min, long max)
{
    while (!field.empty() && field.front() == ' ')
        field.remove_prefix(1);
    while (!field.empty() && field.back() == ' ')
        field.remove_suffix(1);
    bool negative = !field.empty() && field.front() == '-';
    if (negative)
        field.remove_prefix(1);
    if (field.empty() || field.size() > 9)
        return std::nullopt;
    long value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

class FieldReader {
public:
    explicit FieldReader(std::vector<std::string_view> fields) : fields_(std::move(fields)) {}
    bool Text(std::string& out)
    {
        if (next_ >= fields_.size())
            return false;
        out = std::string(fields_[next_++]);
        return true;
    }
    bool Number(long& out, long min, long max)
    {
        if (next_ >= fields_.size())
            return false;
        std::optional<long> v = ToNumber(fields_[next_++], min, max);
        if (!v)
            return false;
        out = *v;
        return true;
    }

private:
    std::vector<std::string_view> fields_;
    std::size_t next_ = 0;
};

constexpr long kMaxCount = 1000;

} // namespace

bool ServerListText::Parse(std::string_view text, HostInfo& out)
{
    FieldReader in(SplitFields(text));
    HostInfo parsed = out;
    long number = 0;
    if (!in.Text(parsed.advHost) || !in.Number(number, 1, 65535))
        return false;
    parsed.advPort = static_cast<std::int32_t>(number);

    long hosts = 0;
    if (!in.Number(hosts, 1, kMaxCount))
        return false;
    parsed.hosts.fill({});
    parsed.ports.fill(0);
    for (long i = 0; i < hosts; ++i) {
        std::string host;
        if (!in.Text(host) || !in.Number(number, 1, 65535))
            return false;
        if (i < HostInfo::kMax) {
            parsed.hosts[static_cast<std::size_t>(i)] = host;
            parsed.ports[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(number);
        }
    }
    parsed.hostCount = static_cast<std::int32_t>(hosts < HostInfo::kMax ? hosts : HostInfo::kMax);

    long links = 0;
    if (!in.Number(links, 0, kMaxCount))
        return false;
    parsed.adUrls.fill({});
    for (long i = 0; i < links; ++i) {
        std::string url;
        if (!in.Text(url))
            return false;
        if (i < HostInfo::kMax)
            parsed.adUrls[static_cast<std::size_t>(i)] = url;
    }

    if (in.Number(number, -99999, 99999)) {
        parsed.noteType = static_cast<std::int32_t>(number);
        for (std::string& note : parsed.noteMsgs) {
            if (!in.Text(note))
                note.clear();
        }
    }
    out = parsed;
    return true;
}

} // namespace zel
