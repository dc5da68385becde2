#include "server/ConfigService.h"

#include <charconv>
#include <cstdio>

namespace zel {

namespace {

std::string Field10(long long v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%10lld", v);
    return buf;
}

// The first "%10d" field of an answer; -1 when it is not a number.
long long FirstField(const std::string& answer)
{
    std::string field = answer.substr(0, 10);
    std::size_t b = field.find_first_not_of(' ');
    if (b == std::string::npos)
        return -1;
    long long v = -1;
    auto [end, ec] = std::from_chars(field.data() + b, field.data() + field.size(), v);
    if (ec != std::errc() || end != field.data() + field.size())
        return -1;
    return v;
}

} // namespace

TConfigService::TConfigService(TServerIo& io, int flag, std::vector<std::vector<std::uint8_t>> files)
    : io_(io), flag_(flag), files_(std::move(files))
{
}

std::string TConfigService::Announcement() const
{
    std::string text = Field10(flag_) + Field10(static_cast<long long>(files_.size()));
    for (const auto& file : files_)
        text += Field10(static_cast<long long>(file.size()));
    return text;
}

void TConfigService::OnConnected(ConnId conn)
{
    sessions_[conn] = Session{};
    std::string text = Announcement();
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    io_.Send(conn, std::move(bytes));
}

void TConfigService::OnBytes(ConnId conn, const std::uint8_t* data, std::size_t size)
{
    auto it = sessions_.find(conn);
    if (it == sessions_.end())
        return;
    Session& s = it->second;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] != 0) {
            s.answer += static_cast<char>(data[i]);
            if (s.answer.size() > kMaxAnswer) {
                if (io_.Logging())
                    io_.Log("config conn=" + std::to_string(conn) + " flag=" + std::to_string(flag_) +
                            " files=" + std::to_string(files_.size()) + " answer=garbage");
                sessions_.erase(it);
                io_.Close(conn, false);
                return;
            }
            continue;
        }
        long long answer = FirstField(s.answer);
        s.answer.clear();
        ++s.answers;
        if (io_.Logging())
            io_.Log("config conn=" + std::to_string(conn) + " flag=" + std::to_string(flag_) +
                    " files=" + std::to_string(files_.size()) + " answer=" + std::to_string(answer));
        // Only the first answer may ask for the files; later ones end the exchange.
        if (s.answers == 1 && answer == kWantFiles && flag_ != 0) {
            for (const auto& file : files_)
                io_.Send(conn, file);
        }
    }
}

void TConfigService::OnClosed(ConnId conn)
{
    sessions_.erase(conn);
}

} // namespace zel
