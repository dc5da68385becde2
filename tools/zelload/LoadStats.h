#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zel::load {

// Latency samples in microseconds; percentiles are read after the run.
class TLatency {
public:
    void Add(std::int64_t us) { samples_.push_back(us < 0 ? 0 : us); }
    std::size_t Count() const { return samples_.size(); }
    // The p-th percentile (0..100) in milliseconds; 0 without samples.
    double Ms(double p);
    double MaxMs();
    void Clear() { samples_.clear(); }

private:
    std::vector<std::int64_t> samples_;
    bool sorted_ = false;
};

// Resident set size of a process in kB from /proc/<pid>/status; 0 when unknown.
long RssKb(int pid);
// User plus system CPU time of a process in ms from /proc/<pid>/stat; 0 when unknown.
long CpuMs(int pid);

} // namespace zel::load
