#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/settings/ZelStatus.h"

namespace zel {

class FileStore;
class Transport;

// The client's side of the configuration exchange (banners and server list).
// The server sends 10-digit decimal fields ended by a zero byte: a flag, the
// file count N and N sizes. Unless nothing changed, the client answers "500",
// receives the N files back to back into "ADVFile.Tmp", splits them into
// "ADVInfoA.gif".. in the banner directory, reads file 1 as the server list
// and saves "ADV & Host Info". Every ending sends the zero field and closes.
// Anything garbled, over a bound or cut short fails without touching HostInfo.
class TConfigExchange {
public:
    enum class Result { Pending, Finished, Failed };

    static constexpr std::size_t kFieldWidth = 10;
    static constexpr long kMaxFileSize = 10L * 1024 * 1024;
    static constexpr std::size_t kMaxHeader = kFieldWidth * (2 + HostInfo::kMax) + 1;

    TConfigExchange(Transport& link, FileStore& banners, TZelStatus& status);

    // A new exchange on a freshly connected link.
    void Start();
    // Feeds one read. Finished and Failed are final: the link is closed and
    // later bytes are ignored (Pending).
    Result Feed(const std::uint8_t* data, std::size_t size);
    // Ends an exchange that is still running as failed (closes the link).
    void Abandon();

    bool Running() const { return phase_ == Phase::Header || phase_ == Phase::Files; }
    // True when the last exchange stored new banner files.
    bool Downloaded() const { return downloaded_; }

    // "ADVInfo" + the letter with code 64 + index + ".gif", index 1..10.
    static std::string FileName(int index);

private:
    enum class Phase { Idle, Header, Files, Done };

    Result OnHeader();
    bool Unchanged() const;
    Result StoreFiles();
    Result Finish(Result result, bool answerZero);
    void Answer(const std::string& field);

    Transport& link_;
    FileStore& banners_;
    TZelStatus& status_;
    Phase phase_ = Phase::Idle;
    std::string header_;
    int count_ = 0;
    std::array<long, HostInfo::kMax> sizes_{};
    long long total_ = 0;
    std::string data_;
    bool downloaded_ = false;
};

} // namespace zel
