#pragma once
// Test doubles for the core's ports.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/ports/Clock.h"
#include "core/ports/Prompts.h"
#include "core/ports/Random.h"
#include "core/ports/SettingsBackend.h"
#include "core/ports/Transport.h"

namespace zel::test {

// A clock that moves only when told.
class ManualClock : public Clock {
public:
    explicit ManualClock(std::int32_t start = 0) : now_(start) {}
    std::int32_t Now() const override { return now_; }
    void Set(std::int32_t ms) { now_ = ms; }
    void Advance(std::int32_t ms) { now_ += ms; }

private:
    std::int32_t now_;
};

// Deterministic generator (xorshift), seeded per test.
class SeededRandom : public Random {
public:
    explicit SeededRandom(std::uint64_t seed = 1) : state_(seed ? seed : 1) {}
    std::uint32_t Next(std::uint32_t bound) override
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return bound ? static_cast<std::uint32_t>(state_ % bound) : 0;
    }

private:
    std::uint64_t state_;
};

// Settings kept in a map: section -> key -> value.
class MemorySettings : public SettingsBackend {
public:
    std::optional<std::string> Read(const std::string& section, const std::string& key) override
    {
        auto s = values.find(section);
        if (s == values.end())
            return std::nullopt;
        auto k = s->second.find(key);
        if (k == s->second.end())
            return std::nullopt;
        return k->second;
    }
    void Write(const std::string& section, const std::string& key, const std::string& value) override
    {
        values[section][key] = value;
        ++writes;
    }
    std::map<std::string, std::map<std::string, std::string>> values;
    int writes = 0;
};

// Records what the core asked for; answers confirmations with `confirmAnswer`.
class RecordingPrompts : public Prompts {
public:
    void Notify(const std::string& text, int ms) override { notices.emplace_back(text, ms); }
    void Alert(const std::string& text) override { alerts.push_back(text); }
    bool Confirm(const std::string& text, const std::string&, const std::string&) override
    {
        questions.push_back(text);
        return confirmAnswer;
    }
    std::vector<std::pair<std::string, int>> notices;
    std::vector<std::string> alerts;
    std::vector<std::string> questions;
    bool confirmAnswer = true;
};

// A transport whose peer is the test: it sees what was sent and pushes events.
class FakeTransport : public Transport {
public:
    void SetEvents(TransportEvents* events) override { events_ = events; }
    void Open(const std::string& host, std::uint16_t port) override
    {
        ++opens;
        lastHost = host;
        lastPort = port;
        open_ = true;
        connected_ = false;
    }
    std::size_t Send(const std::uint8_t* data, std::size_t size) override
    {
        if (!connected_)
            return 0;
        std::size_t n = size < acceptPerWrite ? size : acceptPerWrite;
        sent.insert(sent.end(), data, data + n);
        ++writes;
        return n;
    }
    void Close() override
    {
        ++closes;
        bool was = open_;
        open_ = connected_ = false;
        if (was && events_)
            events_->OnClosed();
    }
    bool IsConnected() const override { return connected_; }
    bool IsOpen() const override { return open_; }

    // Test side.
    void PeerAccepts()
    {
        connected_ = true;
        if (events_)
            events_->OnConnected();
    }
    void PeerSends(const std::vector<std::uint8_t>& bytes)
    {
        if (events_)
            events_->OnBytes(bytes.data(), bytes.size());
    }
    void PeerCloses()
    {
        open_ = connected_ = false;
        if (events_)
            events_->OnClosed();
    }
    void Fails(TransportError e)
    {
        open_ = connected_ = false;
        if (events_)
            events_->OnError(e);
    }

    std::vector<std::uint8_t> sent;
    std::size_t acceptPerWrite = static_cast<std::size_t>(-1);
    int opens = 0, closes = 0, writes = 0;
    std::string lastHost;
    std::uint16_t lastPort = 0;

private:
    TransportEvents* events_ = nullptr;
    bool open_ = false;
    bool connected_ = false;
};

} // namespace zel::test
