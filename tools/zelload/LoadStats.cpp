#include "LoadStats.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace zel::load {

double TLatency::Ms(double p)
{
    if (samples_.empty())
        return 0;
    std::sort(samples_.begin(), samples_.end());
    std::size_t at = static_cast<std::size_t>(p / 100.0 * static_cast<double>(samples_.size() - 1) + 0.5);
    return static_cast<double>(samples_[std::min(at, samples_.size() - 1)]) / 1000.0;
}

double TLatency::MaxMs()
{
    return Ms(100);
}

long RssKb(int pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

long CpuMs(int pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t close = text.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    long utime = 0, stime = 0;
    // Fields after the command: state is field 3, utime 14, stime 15.
    for (int n = 3; n <= 15 && fields >> field; ++n) {
        if (n == 14)
            utime = std::stol(field);
        else if (n == 15)
            stime = std::stol(field);
    }
    long hz = sysconf(_SC_CLK_TCK);
    return hz > 0 ? (utime + stime) * 1000 / hz : 0;
}

} // namespace zel::load
