#include "os/SteadyClock.h"

#include <ctime>

namespace zel {

SteadyClock::SteadyClock() : start_(std::chrono::steady_clock::now())
{
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    base_ = static_cast<std::int32_t>(((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000 + ms);
}

std::int32_t SteadyClock::Now() const
{
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
    return static_cast<std::int32_t>((base_ + elapsed.count()) % 86400000);
}

} // namespace zel
