#pragma once
// A lobby on a virtual clock: fake transports, settings, files and window.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/app/LobbyApp.h"
#include "core/app/LobbyView.h"
#include "core/base/Bytes.h"
#include "core/net/PacketListener.h"
#include "core/settings/ZelStatus.h"
#include "support/Fakes.h"
#include "support/MemoryFileStore.h"

namespace zel::test {

class RecordingView : public LobbyView {
public:
    void SetPanel(int index, const std::string& text) override { panels[index] = text; }
    void EnableConnect(bool enabled) override { connectEnabled = enabled; }
    void SetConnectGlyph(bool connected) override { disconnectGlyph = connected; }
    void EnableRoom(bool enabled) override { roomEnabled = enabled; }
    void PrintLine(const std::string& line) override { lines.push_back(line); }
    bool OpenLoginDialog() override
    {
        ++loginDialogs;
        return loginAnswer;
    }
    void OpenPersonalInfo() override
    {
        ++infoWindows;
        if (infoAnswered)
            infoAnswered();
    }
    void LoadBanners() override { ++bannerLoads; }
    void CloseWindow() override { ++closes; }

    std::map<int, std::string> panels;
    std::vector<std::string> lines;
    bool connectEnabled = false, disconnectGlyph = false, roomEnabled = false, loginAnswer = true;
    int loginDialogs = 0, infoWindows = 0, bannerLoads = 0, closes = 0;
    // Runs when the personal-information window opens; unset, it stays open.
    std::function<void()> infoAnswered;
};

class RecordingListener : public PacketListener {
public:
    void OnPacket(const std::uint8_t* packet, std::size_t) override { codes.push_back(GetU16(packet)); }
    void OnConnectionCleanup() override { ++cleanups; }
    std::vector<std::uint16_t> codes;
    int cleanups = 0;
};

// A packet of `length` bytes with the given header and zero body.
inline std::vector<std::uint8_t> Packet(std::uint16_t code, std::uint16_t length = 6, std::uint16_t argument = 0)
{
    std::vector<std::uint8_t> p(length, 0);
    PutU16(p.data(), code);
    PutU16(p.data() + 2, length);
    PutU16(p.data() + 4, argument);
    return p;
}

inline std::vector<std::uint8_t> Bytes(const std::string& s)
{
    return {s.begin(), s.end()};
}

struct LobbyFixture {
    LobbyFixture()
        : status(settings), clock(10 * 3600 * 1000),
          app(status, TLobbyApp::Ports{clock, game, probe, config, banners, prompts, view, &program, &records})
    {
        status.login.userId = "tester";
        status.login.nickname = "nick";
        app.SetListener(&listener);
        // The first start's personal-information window is closed at once.
        view.infoAnswered = [this] { app.PersonalInfoClosed(); };
    }

    // Advances the virtual clock by `ms` in main-timer steps of 200 ms.
    void Advance(std::int32_t ms)
    {
        for (std::int32_t t = 0; t < ms; t += 200) {
            clock.Advance(200);
            app.Tick(clock.Now());
        }
    }

    // Start-up through a configuration reply of "nothing new" to the open game connection.
    void ToLoginConnect()
    {
        app.FormShow("");
        Advance(200);
        config.PeerAccepts();
        config.PeerSends(Bytes(std::string("         0") + '\0'));
        Advance(200);
    }

    // ... and on to the lobby with user `user` in room `room`.
    void ToLobby(std::uint16_t user = 7, std::uint16_t room = 0)
    {
        ToLoginConnect();
        game.PeerAccepts();
        game.PeerSends(Packet(21000));
        std::vector<std::uint8_t> accepted = Packet(21030, 12);
        PutU16(accepted.data() + 4, user);
        PutU16(accepted.data() + 6, room);
        PutU16(accepted.data() + 8, 100);
        game.PeerSends(accepted);
        game.PeerSends(Packet(25020));
        game.sent.clear();
    }

    // The packets the client wrote on `t`, as code sequence.
    static std::vector<std::uint16_t> SentCodes(const FakeTransport& t)
    {
        std::vector<std::uint16_t> codes;
        for (std::size_t at = 0; at + 6 <= t.sent.size();) {
            codes.push_back(GetU16(&t.sent[at]));
            std::uint16_t length = GetU16(&t.sent[at + 2]);
            if (length < 6)
                break;
            at += length;
        }
        return codes;
    }

    MemorySettings settings;
    TZelStatus status;
    ManualClock clock;
    FakeTransport game, probe, config;
    MemoryFileStore banners, program, records;
    RecordingPrompts prompts;
    RecordingView view;
    RecordingListener listener;
    TLobbyApp app;
};

} // namespace zel::test
