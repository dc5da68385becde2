#include "core/app/ClockText.h"

namespace zel {
namespace {

void AppendTwo(std::string& out, int value)
{
    out.push_back(static_cast<char>('0' + value / 10 % 10));
    out.push_back(static_cast<char>('0' + value % 10));
}

} // namespace

std::string ClockText(std::int32_t msSinceMidnight)
{
    constexpr std::int32_t kDay = 24 * 3600 * 1000;
    std::int32_t ms = msSinceMidnight % kDay;
    if (ms < 0)
        ms += kDay;
    int seconds = ms / 1000;
    int hour = seconds / 3600;
    if (hour > 12)
        hour -= 12;
    std::string out;
    AppendTwo(out, hour);
    out.push_back(':');
    AppendTwo(out, seconds / 60 % 60);
    out.push_back(':');
    AppendTwo(out, seconds % 60);
    return out;
}

} // namespace zel
