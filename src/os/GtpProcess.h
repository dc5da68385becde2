#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "core/gtp/GtpClient.h"

namespace zel {

enum class TGtpRunStatus {
    Ok,       // the engine answered "="
    Refused,  // the engine answered "?"
    BadInput, // the command was empty or held a control character; nothing sent
    Failed,   // no reply even after one restart (start failure, death, time-out, garbage)
};

// A GTP engine run as a child process over pipes. A command that finds the
// engine dead, hung past the time-out or talking nonsense is tried once more
// on a restarted engine, after the commands that had succeeded before it
// were replayed; a second failure is reported as Failed, and the next
// command restarts the engine the same way.
class TGtpProcess {
public:
    // argv: the program and its arguments (searched on PATH).
    TGtpProcess(std::vector<std::string> argv, int timeoutMs);
    ~TGtpProcess();
    TGtpProcess(const TGtpProcess&) = delete;
    TGtpProcess& operator=(const TGtpProcess&) = delete;

    // Sends command and waits for its reply (its text in reply).
    TGtpRunStatus Run(const std::string& command, std::string& reply);
    // How often the engine has been started.
    int Starts() const { return starts_; }
    // From any thread: the engine is killed, a command under way fails at
    // once without a restart, and every later one fails unsent. For shutting
    // down while an engine thinks.
    void Abort();

private:
    enum class TExchange { Answered, Lost };
    bool Start();
    // A fresh engine given the commands that had succeeded; false when it fails.
    bool Restart();
    // Closes the pipes and reaps the engine; politely gives it a moment to end.
    void Stop(bool politely);
    TExchange Exchange(const std::string& command, TGtpReply& reply);

    std::vector<std::string> argv_;
    int timeoutMs_;
    int pid_ = -1; // written by the owning thread under pidMutex_
    std::mutex pidMutex_;
    std::atomic<bool> aborted_{false};
    int toEngine_ = -1;
    int fromEngine_ = -1;
    int starts_ = 0;
    TGtpClient client_;
    std::vector<std::string> history_; // commands answered "=" since clear_board
};

// GNU Go in GTP mode at level: the engine command line used when none is given.
std::vector<std::string> GnuGoCommand(int level);

} // namespace zel
