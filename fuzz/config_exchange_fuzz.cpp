// Configuration replies of any shape, cut into reads at arbitrary points.
// The first byte chooses the stored banner state; each later byte pair gives
// a read length. No reply may crash, overrun or leave the exchange running
// after the link was closed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "core/app/ConfigExchange.h"
#include "core/app/ServerListText.h"
#include "core/ports/FileStore.h"
#include "core/ports/SettingsBackend.h"
#include "core/ports/Transport.h"

namespace {

class NullSettings : public zel::SettingsBackend {
public:
    std::optional<std::string> Read(const std::string&, const std::string&) override { return std::nullopt; }
    void Write(const std::string&, const std::string&, const std::string&) override {}
};

class Files : public zel::FileStore {
public:
    bool Read(const std::string& n, std::string& out) override
    {
        auto it = files.find(n);
        if (it == files.end())
            return false;
        out = it->second;
        return true;
    }
    bool Write(const std::string& n, const std::string& d) override
    {
        files[n] = d;
        return true;
    }
    bool Remove(const std::string& n) override { return files.erase(n) > 0; }
    bool Exists(const std::string& n) override { return files.count(n) > 0; }
    long long Size(const std::string& n) override
    {
        auto it = files.find(n);
        return it == files.end() ? -1 : static_cast<long long>(it->second.size());
    }
    std::vector<std::string> List(const std::string&) override { return {}; }
    std::map<std::string, std::string> files;
};

class Link : public zel::Transport {
public:
    void SetEvents(zel::TransportEvents*) override {}
    void Open(const std::string&, std::uint16_t) override { open = true; }
    std::size_t Send(const std::uint8_t*, std::size_t size) override
    {
        sent += size;
        return open ? size : 0;
    }
    void Close() override { open = false; }
    bool IsConnected() const override { return open; }
    bool IsOpen() const override { return open; }
    bool open = false;
    std::size_t sent = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    NullSettings settings;
    zel::TZelStatus status(settings);
    status.host.adFileCount = data[0] % 4;
    Files files;
    Link link;
    link.Open("h", 1);
    zel::TConfigExchange exchange(link, files, status);
    exchange.Start();

    std::size_t at = 1;
    std::size_t chunk = 1 + data[0] / 4;
    while (at < size) {
        std::size_t n = size - at < chunk ? size - at : chunk;
        zel::TConfigExchange::Result r = exchange.Feed(data + at, n);
        if (r != zel::TConfigExchange::Result::Pending && (link.open || exchange.Running()))
            std::abort();
        at += n;
        chunk = 1 + (data[at - 1] % 64);
    }
    exchange.Abandon();
    if (link.open)
        std::abort();

    zel::HostInfo host;
    zel::ServerListText::Parse(std::string_view(reinterpret_cast<const char*>(data), size), host);
    if (host.hostCount > zel::HostInfo::kMax)
        std::abort();
    return 0;
}
