// zelserver: the reference game server and configuration server.
#include <asio.hpp>
#include <iostream>
#include <memory>

#include "server/AdminConsole.h"
#include "server/AsioServer.h"
#include "server/ConfigService.h"
#include "server/GifWriter.h"
#include "server/RedisLink.h"
#include "server/ServerConfig.h"
#include "server/ServerCore.h"
#include "server/ServerOptions.h"

int main(int argc, char** argv)
{
    zel::TServerOptions options;
    std::string error;
    if (!options.Parse(argc, argv, error)) {
        std::cerr << "zelserver: " << error << "\n" << zel::TServerOptions::Usage();
        return 2;
    }
    zel::TServerConfig config;
    if (!options.confPath.empty() && !config.Load(options.confPath, error)) {
        std::cerr << "zelserver: " << options.confPath << ": " << error << "\n";
        return 2;
    }

    std::string list = config.ServerList(options.host, options.gamePort, options.configPort);
    std::vector<std::vector<std::uint8_t>> files;
    files.emplace_back(list.begin(), list.end());
    for (auto& banner : zel::MakeBanners())
        files.push_back(std::move(banner));

    // One thread runs every handler: the io_context may skip the locking that several would need.
    asio::io_context io(1);
    zel::TAsioServer server(io, options);
    zel::TServerCore core(server, {static_cast<std::size_t>(options.tableSize), config.graceMs, 60000});
    zel::TConfigService configService(server, config.configFlag, std::move(files));
    zel::TAdminConsole admin(core);
    server.Attach(core, configService, admin);
    std::unique_ptr<zel::TRedisLink> store;
    if (!options.redisHost.empty()) {
        store = std::make_unique<zel::TRedisLink>(io, server, core, options.redisHost, options.redisPort, options.node,
                                                  options.tableSize);
        if (!store->Start(error)) {
            std::cerr << "zelserver: " << error << "\n";
            return 1;
        }
        core.AttachCluster(*store);
    }
    if (!server.Start(error)) {
        std::cerr << "zelserver: " << error << "\n";
        return 1;
    }
    asio::signal_set signals(io, SIGINT, SIGTERM);
    signals.async_wait([&io](const asio::error_code&, int) { io.stop(); });
    io.run();
    return 0;
}
