#pragma once
#include <string>
#include <string_view>

namespace zel {

// One engine reply.
struct TGtpReply {
    bool Ok = false;  // "=" rather than "?"
    long Id = -1;     // the id the reply carries, -1 without one
    std::string Text; // after the marker, the id and one blank; lines joined by LF
};

enum class TGtpReadStatus {
    Reply,      // a complete reply was taken out
    Incomplete, // wait for more bytes
    Malformed,  // not starting with "=" or "?", or an id above kGtpMaxId; its bytes are dropped
    Overflow,   // more than kMaxReplyBytes without the closing blank line; all dropped
};

// The controller's side of the protocol, without any process: numbers the
// commands it formats and cuts the engine's output into replies.
class TGtpClient {
public:
    static constexpr std::size_t kMaxReplyBytes = 1 << 20;

    // The line to send for command ("name args"), with the next id; empty when
    // command is empty or holds a control character (it would split or end
    // the line), which also takes no id.
    std::string CommandLine(std::string_view command);
    long LastId() const { return nextId_ - 1; }

    // Engine output as it arrives; CR bytes are dropped.
    void Feed(std::string_view bytes);
    // Takes out the next reply, in the order the engine wrote them.
    TGtpReadStatus NextReply(TGtpReply& reply);
    // Forgets any partial reply (after the engine was restarted).
    void Clear() { buffer_.clear(); }

private:
    std::string buffer_;
    long nextId_ = 1;
};

} // namespace zel
