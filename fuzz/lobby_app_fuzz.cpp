// The connection logic under any sequence of peer behaviour, user clicks and
// timer ticks, with any bytes from the three servers. Nothing may crash, and
// sending stays within what the logic allows.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/app/LobbyApp.h"
#include "core/app/LobbyView.h"
#include "core/ports/Clock.h"
#include "core/ports/FileStore.h"
#include "core/ports/Prompts.h"
#include "core/ports/SettingsBackend.h"
#include "core/ports/Transport.h"
#include "core/settings/ZelStatus.h"

namespace {

class NullSettings : public zel::SettingsBackend {
public:
    std::optional<std::string> Read(const std::string&, const std::string&) override { return std::nullopt; }
    void Write(const std::string&, const std::string&, const std::string&) override {}
};

class Files : public zel::FileStore {
public:
    bool Read(const std::string&, std::string&) override { return false; }
    bool Write(const std::string&, const std::string&) override { return true; }
    bool Remove(const std::string&) override { return true; }
    bool Exists(const std::string&) override { return false; }
    long long Size(const std::string&) override { return -1; }
    std::vector<std::string> List(const std::string&) override { return {}; }
};

class VirtualClock : public zel::Clock {
public:
    std::int32_t Now() const override { return now; }
    std::int32_t now = 1000;
};

class Silent : public zel::Prompts, public zel::LobbyView {
public:
    void Notify(const std::string&, int) override {}
    void Alert(const std::string&) override {}
    bool Confirm(const std::string&, const std::string&, const std::string&) override { return true; }
    void SetPanel(int, const std::string&) override {}
    void EnableConnect(bool) override {}
    void SetConnectGlyph(bool) override {}
    void EnableRoom(bool) override {}
    void PrintLine(const std::string&) override {}
    bool OpenLoginDialog() override { return answer = !answer; }
    void OpenPersonalInfo() override {}
    void LoadBanners() override {}
    void CloseWindow() override {}
    bool answer = false;
};

class Link : public zel::Transport {
public:
    void SetEvents(zel::TransportEvents* e) override { events = e; }
    void Open(const std::string&, std::uint16_t) override { open = true, connected = false; }
    std::size_t Send(const std::uint8_t*, std::size_t size) override { return connected ? size : 0; }
    void Close() override
    {
        bool was = open;
        open = connected = false;
        if (was && events)
            events->OnClosed();
    }
    bool IsConnected() const override { return connected; }
    bool IsOpen() const override { return open; }

    void Accept()
    {
        if (open && !connected && events) {
            connected = true;
            events->OnConnected();
        }
    }
    void Bytes(const std::uint8_t* p, std::size_t n)
    {
        if (connected && events)
            events->OnBytes(p, n);
    }
    void Drop()
    {
        if (open && events) {
            open = connected = false;
            events->OnClosed();
        }
    }
    void Fail(zel::TransportError e)
    {
        if (open && !connected && events) {
            open = false;
            events->OnError(e);
        }
    }
    zel::TransportEvents* events = nullptr;
    bool open = false, connected = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    NullSettings settings;
    zel::TZelStatus status(settings);
    VirtualClock clock;
    Link game, probe, config;
    Files files;
    Silent ui;
    zel::TLobbyApp app(status, {clock, game, probe, config, files, ui, ui});
    app.FormShow("");

    std::size_t at = 0;
    while (at < size) {
        std::uint8_t op = data[at++];
        std::size_t n = op >> 4;
        const std::uint8_t* body = data + at;
        std::size_t len = size - at < n * 4 ? size - at : n * 4;
        Link* links[] = {&game, &probe, &config};
        Link& link = *links[op % 3];
        switch ((op >> 2) % 8) {
        case 0:
            clock.now += 200 * static_cast<std::int32_t>(n + 1) * 10;
            app.Tick(clock.now);
            break;
        case 1:
            link.Accept();
            break;
        case 2:
            link.Bytes(body, len);
            at += len;
            break;
        case 3:
            link.Drop();
            break;
        case 4:
            link.Fail(n % 2 ? zel::TransportError::Refused : zel::TransportError::Other);
            break;
        case 5:
            app.ConnTBClick();
            break;
        case 6:
            app.sbExitClick();
            break;
        default:
            app.FormCloseQuery();
            app.SendProfileChange();
            clock.now += 200;
            app.Tick(clock.now);
            break;
        }
    }
    return 0;
}
