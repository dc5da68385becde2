// Feeds arbitrary review traffic to a session: one run as the host of a
// review, one as a member who has not got the record yet and fetches it.
// Input: lines; the first byte of the input picks the run. A line beginning
// with '!' is handed over as it is; '>' is a room line (record pieces); 'T'
// a private text that may carry a review title; 'A' a member asking for the
// title; 'E' + digit an event of the review window with the rest as its
// text; 'J' a join by title; 'S' the record asked for by the user ID in the
// rest; any other line is a review message ("GB" + code + payload) from
// another member.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "SessionStubs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzstubs::TFuzzSession fuzz(50);
    zel::TBBS2Zel& session = fuzz.session;
    fuzzstubs::Stubs& stubs = fuzz.stubs;
    auto tick = [&](int n) { fuzz.Tick(n); };
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (!input.empty() && (input[0] & 1)) {
        stubs.files["fuzz.zel"] = "OOAAbob\\#alice\r\nPM01BDDDD\r\n";
        session.OpenReview();
    } else {
        // Not having the record, the member asks the room for it first.
        session.JoinReview("fuzz.zel");
    }
    tick(3);

    while (!input.empty()) {
        std::size_t end = input.find('\n');
        std::string line(input.substr(0, end));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        const std::string rest = line.empty() ? std::string() : line.substr(1);
        if (line.empty())
            continue;
        switch (line[0]) {
        case '!':
            session.OnGameData(rest);
            break;
        case '>':
            session.ReceiveChunk(line);
            break;
        case 'T':
            session.ReviewTitleMarker(rest);
            break;
        case 'E':
            if (!rest.empty())
                session.GiboEvent(rest[0] - '0', rest.substr(1));
            break;
        case 'A':
            session.ReviewTitleAsked(rest);
            break;
        case 'J':
            session.JoinReview(rest);
            break;
        case 'S':
            session.SendReviewRecord(rest);
            break;
        default:
            session.OnGameData("XXXXXX" + line);
            break;
        }
        tick(3);
    }
    tick(20);
    return 0;
}
