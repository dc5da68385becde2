#pragma once
// A TServerIo that records what the server logic asks for, for tests.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/base/Bytes.h"
#include "server/ServerIo.h"

namespace zel::test {

struct SentPacket {
    std::uint16_t code = 0;
    std::uint16_t arg = 0;
    std::vector<std::uint8_t> data;
    std::uint16_t U16(std::size_t offset) const
    {
        (void)data.at(offset + 1);
        return GetU16(&data[offset]);
    }
    std::int32_t I32(std::size_t offset) const
    {
        (void)data.at(offset + 3);
        return GetI32(&data[offset]);
    }
};

class RecordingIo : public TServerIo {
public:
    using TServerIo::Send;
    void Send(ConnId conn, const std::uint8_t* data, std::size_t size) override
    {
        sent[conn].emplace_back(data, data + size);
    }
    void Close(ConnId conn, bool flush) override { closed[conn] = flush; }
    void Log(const std::string& line) override { log.push_back(line); }
    bool Logging() const override { return logging; }

    // The packets sent to a connection since the last call, cut at their lengths.
    std::vector<SentPacket> Take(ConnId conn)
    {
        std::vector<SentPacket> out;
        for (const auto& bytes : sent[conn]) {
            std::size_t at = 0;
            while (at + 6 <= bytes.size()) {
                std::uint16_t length = GetU16(&bytes[at + 2]);
                if (length < 6 || at + length > bytes.size())
                    break;
                SentPacket p;
                p.code = GetU16(&bytes[at]);
                p.arg = GetU16(&bytes[at + 4]);
                p.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                              bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
                out.push_back(std::move(p));
                at += length;
            }
        }
        sent[conn].clear();
        return out;
    }
    std::vector<std::uint16_t> Codes(ConnId conn)
    {
        std::vector<std::uint16_t> codes;
        for (const SentPacket& p : Take(conn))
            codes.push_back(p.code);
        return codes;
    }
    std::string RawText(ConnId conn)
    {
        std::string text;
        for (const auto& bytes : sent[conn])
            text.append(bytes.begin(), bytes.end());
        sent[conn].clear();
        return text;
    }

    std::map<ConnId, std::vector<std::vector<std::uint8_t>>> sent;
    std::map<ConnId, bool> closed; // conn -> flush requested
    std::vector<std::string> log;
    bool logging = true;
};

} // namespace zel::test
