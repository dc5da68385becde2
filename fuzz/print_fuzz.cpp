// Printing a record with any print options: the options as a settings file
// or the print dialog may give them (margins, board cell, page size and
// resolution, method, range text, split and diagrams per page), the record
// and its commentaries from arbitrary bytes.
// Input: 24 option bytes, then the range's two fields as text up to a
// newline each, then the record text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/print/PrintJob.h"
#include "core/record/GiboList.h"

namespace {

// A signed 16-bit option from two input bytes; wide enough for hostile sizes.
int Option(const std::uint8_t* p)
{
    std::int16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::string_view TakeLine(std::string_view& rest)
{
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kOptionBytes = 24;
    if (size < kOptionBytes)
        return 0;
    zel::TPageSetup setup;
    setup.Width = Option(data);
    setup.Height = Option(data + 2);
    setup.Resolution = Option(data + 4);
    setup.TopMargin = Option(data + 6);
    setup.LeftMargin = Option(data + 8);
    setup.Cell = Option(data + 10);
    zel::TPrintRequest request;
    request.Method = Option(data + 12);
    request.From = Option(data + 14);
    request.To = Option(data + 16);
    request.SplitNo = Option(data + 18);
    request.PerPage = Option(data + 20);

    std::string_view rest(reinterpret_cast<const char*>(data) + kOptionBytes, size - kOptionBytes);
    const std::string_view from = TakeLine(rest);
    const std::string_view to = TakeLine(rest);

    zel::TGiboList record;
    zel::AddRecordText(rest, record, 9);
    const zel::TPrintSource source = zel::TPrintSource::FromRecord(record, "fuzz.zel");

    int first = 0, last = 0;
    if (zel::ReadPrintRange(from, to, source.Moves.Last, first, last)) {
        if (first < 1 || first > last || last > source.Moves.Last)
            __builtin_trap();
    }
    for (const zel::TPrintCommentary& c : source.Commentaries)
        (void)zel::ParsePrintVariation(c);
    (void)zel::PrintMethodText(source.Header());

    (void)zel::PlanPrint(setup, request, source, "2026-12-08 12:00");
    return 0;
}
