#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "core/engine/GoBoard.h"
#include "core/engine/PositionAnalysis.h"
#include "core/gtp/GtpText.h"

namespace zel {

// Where loadsgf reads its files: the whole file into out, false when it
// cannot be read or is larger than limit bytes.
class TGtpFileReader {
public:
    virtual ~TGtpFileReader() = default;
    virtual bool ReadFile(const std::string& path, std::size_t limit, std::string& out) = 0;
};

// Our rules and analysis as a GTP engine on a 19x19 board: one command line
// in, the complete reply out. It never generates moves.
class TGtpEngine {
public:
    explicit TGtpEngine(TGtpFileReader& files);

    // The reply to one line (without its LF); empty for an empty or comment
    // line, which gets no reply.
    std::string Handle(std::string_view line);
    // True once quit was answered.
    bool QuitRequested() const { return quit_; }

    const TGoBoard& Board() const { return board_; }

private:
    struct TAnswer {
        bool Ok;
        std::string Text;
    };

    TAnswer Answer(const TGtpCommand& command);
    TAnswer Play(const TGtpCommand& command);
    TAnswer FixedHandicap(const TGtpCommand& command);
    TAnswer LoadSgf(const TGtpCommand& command);
    TAnswer FinalStatusList(const TGtpCommand& command);
    TAnswer EstimateScore();
    std::string ShowBoard() const;
    std::string Position() const;
    void Analyse();

    TGtpFileReader& files_;
    TGoBoard board_;
    double komi_ = 0;
    bool quit_ = false;
    std::unique_ptr<TPositionAnalysis> analysis_;
};

} // namespace zel
