#include "core/gtp/GtpClient.h"

#include <cctype>

#include "core/gtp/GtpText.h"

namespace zel {

std::string TGtpClient::CommandLine(std::string_view command)
{
    bool blank = true;
    for (char c : command) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127)
            return {};
        blank = blank && c == ' ';
    }
    if (blank)
        return {};
    return std::to_string(nextId_++) + " " + std::string(command) + "\n";
}

void TGtpClient::Feed(std::string_view bytes)
{
    for (char c : bytes)
        if (c != '\r')
            buffer_ += c;
}

TGtpReadStatus TGtpClient::NextReply(TGtpReply& reply)
{
    // Blank lines between replies carry nothing.
    std::size_t start = 0;
    while (start < buffer_.size() && (buffer_[start] == '\n' || buffer_[start] == ' ' || buffer_[start] == '\t'))
        ++start;
    buffer_.erase(0, start);
    const std::size_t end = buffer_.find("\n\n");
    if (end == std::string::npos) {
        if (buffer_.size() <= kMaxReplyBytes)
            return TGtpReadStatus::Incomplete;
        buffer_.clear();
        return TGtpReadStatus::Overflow;
    }
    std::string text = buffer_.substr(0, end);
    buffer_.erase(0, end + 2);
    if (text[0] != '=' && text[0] != '?')
        return TGtpReadStatus::Malformed;
    reply = {};
    reply.Ok = text[0] == '=';
    std::size_t i = 1;
    long id = 0;
    bool digits = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        id = id * 10 + (text[i++] - '0');
        digits = true;
        if (id > kGtpMaxId)
            return TGtpReadStatus::Malformed;
    }
    reply.Id = digits ? id : -1;
    if (i < text.size() && text[i] == ' ')
        ++i;
    reply.Text = text.substr(i);
    return TGtpReadStatus::Reply;
}

} // namespace zel
