#pragma once
// A GTP engine (GNU Go) run as a child process for cross-checking the board.
// Commands may be queued and sent together; replies are read in order.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace zel::test {

// Path of the gnugo program, or nullptr when it is not installed.
inline const char* GnuGoPath()
{
    for (const char* c : {"/usr/games/gnugo", "/usr/bin/gnugo", "/usr/local/bin/gnugo"})
        if (access(c, X_OK) == 0)
            return c;
    return nullptr;
}

class GtpEngine {
public:
    // Starts the first GNU Go found; Running() tells whether that worked.
    GtpEngine()
    {
        std::signal(SIGPIPE, SIG_IGN);
        const char* path = GnuGoPath();
        if (!path)
            return;
        int toChild[2], fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(toChild[0], 0);
            dup2(fromChild[1], 1);
            close(toChild[1]);
            close(fromChild[0]);
            execl(path, "gnugo", "--mode", "gtp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        in_ = fdopen(toChild[1], "w");
        out_ = fdopen(fromChild[0], "r");
    }

    ~GtpEngine()
    {
        if (in_) {
            std::fputs("quit\n", in_);
            std::fclose(in_);
        }
        if (out_)
            std::fclose(out_);
        if (pid_ > 0)
            waitpid(pid_, nullptr, 0);
    }

    GtpEngine(const GtpEngine&) = delete;
    GtpEngine& operator=(const GtpEngine&) = delete;

    bool Running() const { return in_ && out_ && pid_ > 0; }

    // Queues a command; Flush sends everything queued.
    void Queue(const std::string& command) { pending_ += command + "\n"; }
    void Flush()
    {
        std::fputs(pending_.c_str(), in_);
        std::fflush(in_);
        pending_.clear();
    }

    // The next reply without its "= " or "? " prefix; ok tells which it was.
    std::string Reply(bool* ok = nullptr)
    {
        std::string reply;
        char* line = nullptr;
        std::size_t size = 0;
        bool first = true;
        while (getline(&line, &size, out_) > 0) {
            std::string text(line);
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
                text.pop_back();
            if (text.empty()) {
                if (first)
                    continue;
                break;
            }
            if (first) {
                if (ok)
                    *ok = text[0] == '=';
                text = text.size() > 2 ? text.substr(2) : "";
                first = false;
            } else {
                reply += ' ';
            }
            reply += text;
        }
        std::free(line);
        return reply;
    }

    // Sends one command and returns its reply.
    std::string Ask(const std::string& command, bool* ok = nullptr)
    {
        Queue(command);
        Flush();
        return Reply(ok);
    }

    // GTP vertex of board point (x, y): x the column from the left, y the
    // row from the top; (0, 0) is "pass".
    static std::string Vertex(int x, int y)
    {
        if (x == 0 && y == 0)
            return "pass";
        return std::string(1, "ABCDEFGHJKLMNOPQRST"[x - 1]) + std::to_string(20 - y);
    }

private:
    pid_t pid_ = -1;
    FILE* in_ = nullptr;
    FILE* out_ = nullptr;
    std::string pending_;
};

} // namespace zel::test
