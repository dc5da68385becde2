#include <gtest/gtest.h>

#include "core/app/ClockText.h"

namespace zel {
namespace {

constexpr std::int32_t At(int h, int m, int s)
{
    return ((h * 60 + m) * 60 + s) * 1000;
}

TEST(ClockText, TwelveHourDialWithTwoDigitFields)
{
    struct Row {
        std::int32_t ms;
        const char* text;
    } rows[] = {
        {At(0, 5, 9), "00:05:09"},          {At(13, 5, 9), "01:05:09"},  {At(12, 0, 0), "12:00:00"},
        {At(23, 59, 59) + 999, "11:59:59"}, {At(9, 10, 11), "09:10:11"}, {At(11, 0, 0), "11:00:00"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ClockText(r.ms), r.text) << r.ms;
}

} // namespace
} // namespace zel
