#include "os/GtpProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <sys/wait.h>
#include <unistd.h>

namespace zel {

namespace {

constexpr std::size_t kMaxHistory = 2000;
constexpr int kKillWaitMs = 2000;

bool WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Commands after which the engine's position starts afresh.
bool ClearsHistory(const std::string& command)
{
    return command.rfind("clear_board", 0) == 0 || command.rfind("boardsize", 0) == 0;
}

} // namespace

TGtpProcess::TGtpProcess(std::vector<std::string> argv, int timeoutMs) : argv_(std::move(argv)), timeoutMs_(timeoutMs)
{
    std::signal(SIGPIPE, SIG_IGN);
}

TGtpProcess::~TGtpProcess()
{
    if (toEngine_ >= 0)
        WriteAll(toEngine_, "quit\n");
    Stop(true);
}

bool TGtpProcess::Start()
{
    if (argv_.empty())
        return false;
    int toChild[2], fromChild[2];
    if (pipe(toChild) != 0)
        return false;
    if (pipe(fromChild) != 0) {
        close(toChild[0]);
        close(toChild[1]);
        return false;
    }
    std::vector<char*> args;
    for (auto& a : argv_)
        args.push_back(a.data());
    args.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
#ifdef __linux__
        // An engine still thinking when its program is killed would go on
        // for minutes: it goes with the thread that started it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
#endif
        dup2(toChild[0], 0);
        dup2(fromChild[1], 1);
        close(toChild[0]);
        close(toChild[1]);
        close(fromChild[0]);
        close(fromChild[1]);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    if (pid < 0) {
        close(toChild[1]);
        close(fromChild[0]);
        return false;
    }
    fcntl(toChild[1], F_SETFD, FD_CLOEXEC);
    fcntl(fromChild[0], F_SETFD, FD_CLOEXEC);
    {
        std::lock_guard<std::mutex> lock(pidMutex_);
        pid_ = pid;
        if (aborted_)
            kill(pid, SIGKILL);
    }
    toEngine_ = toChild[1];
    fromEngine_ = fromChild[0];
    client_.Clear();
    ++starts_;
    return true;
}

void TGtpProcess::Stop(bool politely)
{
    if (toEngine_ >= 0)
        close(toEngine_);
    toEngine_ = -1;
    int pid = -1;
    {
        // Abort() must not signal a process id that may be reused once reaped.
        std::lock_guard<std::mutex> lock(pidMutex_);
        std::swap(pid, pid_);
    }
    if (pid > 0) {
        // A polite end first (the pipe closed, quit perhaps sent), then a kill.
        int status = 0;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(politely ? kKillWaitMs : 0);
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > until) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                break;
            }
            usleep(10000);
        }
    }
    if (fromEngine_ >= 0)
        close(fromEngine_);
    fromEngine_ = -1;
}

TGtpProcess::TExchange TGtpProcess::Exchange(const std::string& line, TGtpReply& reply)
{
    if (pid_ <= 0)
        return TExchange::Lost;
    const long id = client_.LastId();
    if (!WriteAll(toEngine_, line))
        return TExchange::Lost;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs_);
    for (;;) {
        const TGtpReadStatus status = client_.NextReply(reply);
        if (status == TGtpReadStatus::Reply && reply.Id == id)
            return TExchange::Answered;
        if (status == TGtpReadStatus::Malformed || status == TGtpReadStatus::Overflow)
            return TExchange::Lost;
        if (status == TGtpReadStatus::Reply)
            continue; // a late reply to an earlier command
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            return TExchange::Lost;
        pollfd p{fromEngine_, POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return TExchange::Lost;
        char buffer[4096];
        const ssize_t n = read(fromEngine_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return TExchange::Lost; // the engine closed its output: dead
        client_.Feed(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
}

bool TGtpProcess::Restart()
{
    Stop(false);
    if (!Start())
        return false;
    TGtpReply answer;
    for (const std::string& earlier : history_)
        if (Exchange(client_.CommandLine(earlier), answer) != TExchange::Answered)
            return false;
    return true;
}

void TGtpProcess::Abort()
{
    std::lock_guard<std::mutex> lock(pidMutex_);
    aborted_ = true;
    if (pid_ > 0)
        kill(pid_, SIGKILL);
}

TGtpRunStatus TGtpProcess::Run(const std::string& command, std::string& reply)
{
    reply.clear();
    if (client_.CommandLine(command).empty())
        return TGtpRunStatus::BadInput;
    // The id taken above is spent; the exchanges below number their own lines.
    TGtpReply answer;
    for (int attempt = 0; attempt < 2 && !aborted_; ++attempt) {
        if ((attempt > 0 || pid_ <= 0) && !Restart())
            continue;
        if (Exchange(client_.CommandLine(command), answer) == TExchange::Answered) {
            if (answer.Ok && ClearsHistory(command))
                history_.clear();
            if (answer.Ok && history_.size() < kMaxHistory && command.rfind("quit", 0) != 0)
                history_.push_back(command);
            reply = answer.Text;
            return answer.Ok ? TGtpRunStatus::Ok : TGtpRunStatus::Refused;
        }
    }
    Stop(false);
    return TGtpRunStatus::Failed;
}

std::vector<std::string> GnuGoCommand(int level)
{
    const char* program = access("/usr/games/gnugo", X_OK) == 0 ? "/usr/games/gnugo" : "gnugo";
    return {program, "--mode", "gtp", "--level", std::to_string(level)};
}

} // namespace zel
