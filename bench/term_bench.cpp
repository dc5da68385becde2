// Terminal-model throughput on 10 MB of recorded-looking server output (CP949
// text with colour and cursor sequences), side by side with libvterm fed the
// same text in UTF-8. Prints the throughput ratio at the end.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "core/base/Cp949.h"
#include "core/term/TermModel.h"

#ifdef ZEL_HAVE_VTERM
#include <vterm.h>
#endif

namespace {

constexpr std::size_t kStreamBytes = 10 * 1024 * 1024;
constexpr std::size_t kBlock = 4096;

// Deterministic generator (64-bit LCG); the same stream on every run.
struct Lcg {
    std::uint64_t s = 0x2545F4914F6CDD1Dull;
    std::uint32_t Next(std::uint32_t bound)
    {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>((s >> 33) % bound);
    }
};

std::string MakeStream()
{
    Lcg rng;
    std::string out;
    out.reserve(kStreamBytes + 256);
    static const char* words[] = {"go", "room", "user", "kibitz", "19x19", "pass", "W+R", "B+3.5", "[12]", "ok"};
    while (out.size() < kStreamBytes) {
        const auto kind = rng.Next(10);
        if (kind < 5) {
            // Hangul syllables from the KS X 1001 area.
            for (auto n = rng.Next(6) + 1; n > 0; --n) {
                out.push_back(static_cast<char>(0xB0 + rng.Next(0x19)));
                out.push_back(static_cast<char>(0xA1 + rng.Next(0x5E)));
            }
            out.push_back(' ');
        } else if (kind < 8) {
            out += words[rng.Next(10)];
            out.push_back(' ');
        } else if (kind == 8) {
            const auto colour = rng.Next(8);
            out += rng.Next(2) ? "\x1b[1;3" : "\x1b[3";
            out += std::to_string(colour) + "m";
        } else {
            switch (rng.Next(6)) {
            case 0:
                out += "\x1b[0m\r\n";
                break;
            case 1:
                out += "\r\n";
                break;
            case 2:
                out += "\x1b[" + std::to_string(rng.Next(24) + 1) + ";" + std::to_string(rng.Next(70) + 1) + "H";
                break;
            case 3:
                out += "\x1b[K";
                break;
            case 4:
                out += "\x1b[44m \x1b[0m";
                break;
            default:
                out += "\r\n\r\n";
                break;
            }
        }
    }
    return out;
}

const std::string& Cp949Stream()
{
    static const std::string s = MakeStream();
    return s;
}

const std::string& Utf8Stream()
{
    static const std::string s = zel::Cp949ToUtf8(Cp949Stream());
    return s;
}

void BM_ZelTermModel(benchmark::State& state)
{
    const std::string& data = Cp949Stream();
    for (auto _ : state) {
        zel::TTermModel term;
        for (std::size_t i = 0; i < data.size(); i += kBlock) {
            term.Feed(std::string_view(data).substr(i, kBlock));
            term.ClearDamage();
        }
        benchmark::DoNotOptimize(term.CsrXPos());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_ZelTermModel)->Unit(benchmark::kMillisecond);

#ifdef ZEL_HAVE_VTERM
void BM_LibVTerm(benchmark::State& state)
{
    const std::string& data = Utf8Stream();
    for (auto _ : state) {
        VTerm* vt = vterm_new(25, 80);
        vterm_set_utf8(vt, 1);
        VTermScreen* screen = vterm_obtain_screen(vt);
        vterm_screen_reset(screen, 1);
        for (std::size_t i = 0; i < data.size(); i += kBlock)
            vterm_input_write(vt, data.data() + i, std::min(kBlock, data.size() - i));
        VTermPos pos;
        vterm_state_get_cursorpos(vterm_obtain_state(vt), &pos);
        benchmark::DoNotOptimize(pos.col);
        vterm_free(vt);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Cp949Stream().size()));
}
BENCHMARK(BM_LibVTerm)->Unit(benchmark::kMillisecond);
#endif

// Keeps the mean time of each benchmark to print the ratio afterwards.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const auto& r : runs)
            if (r.run_type == Run::RT_Iteration)
                times[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Cp949Stream();
    Utf8Stream();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto zel = reporter.times.find("BM_ZelTermModel");
    const auto vt = reporter.times.find("BM_LibVTerm");
    if (zel != reporter.times.end() && vt != reporter.times.end() && zel->second > 0)
        std::printf("terminal model throughput / libvterm throughput: %.2f (same text, %zu bytes)\n",
                    vt->second / zel->second, Cp949Stream().size());
    benchmark::Shutdown();
    return 0;
}
