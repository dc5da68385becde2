// zelgtp — our rules and position analysis as a GTP engine on standard input
// and output, so that any GTP controller can drive them. It plays no moves of
// its own: genmove is answered "? cannot".
#include <fstream>
#include <iostream>
#include <string>

#include "core/gtp/GtpEngine.h"

namespace {

// loadsgf reads the file the controller names, up to the size limit.
class TLocalFiles : public zel::TGtpFileReader {
public:
    bool ReadFile(const std::string& path, std::size_t limit, std::string& out) override
    {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return false;
        out.clear();
        char buffer[65536];
        while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
            out.append(buffer, static_cast<std::size_t>(in.gcount()));
            if (out.size() > limit)
                return false;
        }
        return true;
    }
};

// One line without its LF, kept to one byte beyond the engine's limit so that
// an overlong line is still refused whole; false at the end of the input.
bool ReadLine(std::istream& in, std::string& line)
{
    line.clear();
    int c = 0;
    bool any = false;
    while ((c = in.get()) != EOF) {
        any = true;
        if (c == '\n')
            return true;
        if (line.size() <= zel::kGtpMaxLine)
            line += static_cast<char>(c);
    }
    return any;
}

} // namespace

int main()
{
    TLocalFiles files;
    zel::TGtpEngine engine(files);
    std::string line;
    while (!engine.QuitRequested() && ReadLine(std::cin, line)) {
        const std::string reply = engine.Handle(line);
        if (!reply.empty()) {
            std::cout << reply;
            std::cout.flush();
        }
    }
    return 0;
}
