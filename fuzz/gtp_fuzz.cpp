// GTP command streams of any origin through zelgtp's engine: every line gets
// either no reply or exactly one well-formed reply, which the controller's
// reader takes back as one reply with the same id. "loadsgf input" reads the
// stream itself as a record file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/gtp/GtpClient.h"
#include "core/gtp/GtpEngine.h"

namespace {

constexpr int kMaxLines = 200;

class TInputFile : public zel::TGtpFileReader {
public:
    explicit TInputFile(std::string_view text) : text_(text) {}
    bool ReadFile(const std::string& path, std::size_t limit, std::string& out) override
    {
        if (path != "input" || text_.size() > limit)
            return false;
        out.assign(text_);
        return true;
    }

private:
    std::string_view text_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TInputFile files(text);
    zel::TGtpEngine engine(files);
    zel::TGtpClient client;
    std::size_t start = 0;
    for (int n = 0; n < kMaxLines && start < text.size() && !engine.QuitRequested(); ++n) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string reply = engine.Handle(text.substr(start, end - start));
        start = end + 1;
        if (reply.empty())
            continue;
        if ((reply[0] != '=' && reply[0] != '?') || reply.find("\n\n") != reply.size() - 2)
            __builtin_trap();
        client.Feed(reply);
        zel::TGtpReply read;
        if (client.NextReply(read) != zel::TGtpReadStatus::Reply || read.Ok != (reply[0] == '='))
            __builtin_trap();
        if (client.NextReply(read) != zel::TGtpReadStatus::Incomplete)
            __builtin_trap();
    }
    return 0;
}
