// zelcli: a headless lobby client. Reads commands from a script file or from
// standard input and prints every event as one line on standard output.
#include "CliClient.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <unistd.h>

namespace {

const char* kHelp = R"(usage: zelcli [--host H] [--port P] [--script FILE] [--utf8] [--wait-ms MS]

Commands (one per line, from FILE or standard input; '#' starts a comment):
  login <id> <nick> [level]  connect and log in (level 0..38, default 18)
  make <title>               make a room;  multi <title>: a multi-game room
  title <text>               change the current room's title
  enter <room>               enter a room (0: back to the waiting room)
  say <text>                 room text "nick [rank] : text"
  raw <text>                 room text as given
  notice <text>              notice to everyone
  tell <id> <text>           private text;  memo <id> <text>: as a memo
  queue <text>               a message through the text message queue ("XA" + text)
  invite <id>                invite to the current room;  ginvite <id>: game-request invitation
  request <id>               game request to a user in the room
  accept | refuse [text]     answer the open invitation (it refuses itself after 10 s)
  wait <regex> [ms]          wait for an output line matching regex (default 5000 ms);
                             a time-out prints "! timeout ..." and ends with status 2
  sleep <ms>                 pause the commands
  users | rooms              list the lobby model
  echo <text>                print a line
  quit                       leave (21020) and wait for the server to close

Output lines: connected, closed, login user=U room=R size=N, lobby,
  recv code=C len=L arg=A, room from=U <text>, private from=U memo=M <text>,
  notice from=U <text>, print <line>, queue <message>, arrive/depart user=U id=ID,
  enter user=U id=ID room=R, exit user=U id=ID, invitation ..., ! <problem>.
With --utf8 command texts are taken and printed as UTF-8, else as CP949 bytes.
)";

std::string inputBuffer;

bool ReadStdin(zel::cli::CliClient& client)
{
    char buf[4096];
    ssize_t n = ::read(0, buf, sizeof buf);
    if (n <= 0) {
        if (!inputBuffer.empty())
            client.Command(inputBuffer);
        inputBuffer.clear();
        client.EndOfInput();
        return false;
    }
    inputBuffer.append(buf, static_cast<std::size_t>(n));
    std::size_t at;
    while ((at = inputBuffer.find('\n')) != std::string::npos) {
        client.Command(inputBuffer.substr(0, at));
        inputBuffer.erase(0, at + 1);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    zel::cli::Options options;
    std::string script;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "zelcli: %s needs a value\n", a.c_str());
                std::exit(64);
            }
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (a == "--host") {
            options.host = value();
        } else if (a == "--port") {
            options.port = static_cast<std::uint16_t>(std::atoi(value().c_str()));
        } else if (a == "--script") {
            script = value();
        } else if (a == "--utf8") {
            options.utf8 = true;
        } else if (a == "--wait-ms") {
            options.defaultWaitMs = std::atoi(value().c_str());
        } else {
            std::fprintf(stderr, "zelcli: unknown option %s\n%s", a.c_str(), kHelp);
            return 64;
        }
    }
    zel::cli::CliClient client(options);
    if (!script.empty()) {
        std::ifstream in(script, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "zelcli: cannot read %s\n", script.c_str());
            return 66;
        }
        for (std::string line; std::getline(in, line);)
            client.Command(line);
        client.EndOfInput();
        return client.Run(-1, nullptr);
    }
    return client.Run(0, &ReadStdin);
}
