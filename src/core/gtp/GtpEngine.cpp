#include "core/gtp/GtpEngine.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/engine/ScoreCount.h"
#include "core/record/GiboList.h"
#include "core/record/GoNode.h"
#include "core/record/RecordHeader.h"
#include "core/record/SgfRecord.h"
#include "core/record/SgfTree.h"

namespace zel {

namespace {

constexpr int kSide = 19;
constexpr int kMinHandicap = 2;
constexpr int kMaxHandicap = 9;
constexpr double kMaxKomi = 1000;
constexpr std::size_t kRecordLineMin = 4;
constexpr char kColumns[] = "ABCDEFGHJKLMNOPQRST";

constexpr std::array<const char*, 19> kCommands = {
    "protocol_version",  "name",           "version", "known_command", "list_commands",  "quit",      "boardsize",
    "clear_board",       "komi",           "play",    "undo",          "fixed_handicap", "showboard", "loadsgf",
    "final_status_list", "estimate_score", "genmove", "reg_genmove",   "get_komi",
};

bool IsKnown(std::string_view name)
{
    for (const char* c : kCommands)
        if (name == c)
            return true;
    return false;
}

bool ReadNumber(const std::string& text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size() && std::isfinite(value);
}

bool ReadInteger(const std::string& text, int& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::string NumberText(double value)
{
    std::string text = std::to_string(value);
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

} // namespace

TGtpEngine::TGtpEngine(TGtpFileReader& files) : files_(files), analysis_(std::make_unique<TPositionAnalysis>()) {}

std::string TGtpEngine::Handle(std::string_view line)
{
    TGtpCommand command;
    switch (ReadGtpLine(line, command)) {
    case TGtpLineStatus::Empty:
        return {};
    case TGtpLineStatus::TooLong:
        return GtpReplyText(false, std::nullopt, "command too long");
    case TGtpLineStatus::Command:
        break;
    }
    const TAnswer answer = Answer(command);
    return GtpReplyText(answer.Ok, command.Id, answer.Text);
}

TGtpEngine::TAnswer TGtpEngine::Answer(const TGtpCommand& command)
{
    const std::string& name = command.Name;
    const auto& args = command.Args;
    if (name == "protocol_version")
        return {true, "2"};
    if (name == "name")
        return {true, "zelgtp"};
    if (name == "version")
        return {true, "1.0"};
    if (name == "known_command")
        return {true, !args.empty() && IsKnown(args[0]) ? "true" : "false"};
    if (name == "list_commands") {
        std::string text;
        for (const char* c : kCommands)
            text += std::string(c) + "\n";
        return {true, text};
    }
    if (name == "quit") {
        quit_ = true;
        return {true, ""};
    }
    if (name == "boardsize") {
        int size = 0;
        if (args.empty() || !ReadInteger(args[0], size))
            return {false, "boardsize not an integer"};
        if (size != kSide)
            return {false, "unacceptable size"};
        board_ = TGoBoard();
        return {true, ""};
    }
    if (name == "clear_board") {
        board_ = TGoBoard();
        return {true, ""};
    }
    if (name == "komi") {
        double komi = 0;
        if (args.empty() || !ReadNumber(args[0], komi) || std::fabs(komi) > kMaxKomi)
            return {false, "komi not a float"};
        komi_ = komi;
        return {true, ""};
    }
    if (name == "get_komi")
        return {true, NumberText(komi_)};
    if (name == "play")
        return Play(command);
    if (name == "undo") {
        if (board_.MoveCount() == 0)
            return {false, "cannot undo"};
        board_.Undo();
        return {true, ""};
    }
    if (name == "fixed_handicap")
        return FixedHandicap(command);
    if (name == "showboard")
        return {true, "\n" + ShowBoard()};
    if (name == "loadsgf")
        return LoadSgf(command);
    if (name == "final_status_list")
        return FinalStatusList(command);
    if (name == "estimate_score")
        return EstimateScore();
    if (name == "genmove" || name == "reg_genmove")
        return {false, "cannot"};
    return {false, "unknown command"};
}

TGtpEngine::TAnswer TGtpEngine::Play(const TGtpCommand& command)
{
    int x = 0, y = 0;
    const int colour = command.Args.size() == 2 ? ReadGtpColour(command.Args[0]) : 0;
    if (colour == 0 || !ReadGtpVertex(command.Args[1], x, y))
        return {false, "invalid color or coordinate"};
    // The board alternates colours; a move out of turn follows a pass.
    const bool passFirst = !board_.IsToMove(static_cast<std::uint8_t>(colour));
    const int before = board_.MoveCount();
    const bool played = (!passFirst || board_.PlayPass()) && (x == 0 ? board_.PlayPass() : board_.PlayAt(x, y));
    if (!played) {
        while (board_.MoveCount() > before)
            board_.Undo();
        return {false, "illegal move"};
    }
    return {true, ""};
}

TGtpEngine::TAnswer TGtpEngine::FixedHandicap(const TGtpCommand& command)
{
    int count = 0;
    if (command.Args.empty() || !ReadInteger(command.Args[0], count) || count < kMinHandicap || count > kMaxHandicap)
        return {false, "invalid handicap"};
    for (int y = 1; y <= kSide; ++y)
        for (int x = 1; x <= kSide; ++x)
            if (board_.Colour(x, y) != kEmpty)
                return {false, "board not empty"};
    if (board_.MoveCount() != 0)
        return {false, "board not empty"};
    board_.SetHandicap(count, 0);
    std::string text;
    for (int y = 1; y <= kSide; ++y)
        for (int x = 1; x <= kSide; ++x)
            if (board_.Colour(x, y) == kBlack)
                text += (text.empty() ? "" : " ") + GtpVertexText(x, y);
    return {true, text};
}

TGtpEngine::TAnswer TGtpEngine::LoadSgf(const TGtpCommand& command)
{
    const auto& args = command.Args;
    int stopAt = 0; // play the moves before this number; 0 all of them
    if (args.empty() || args.size() > 2 || (args.size() == 2 && (!ReadInteger(args[1], stopAt) || stopAt < 1)))
        return {false, "syntax error"};
    std::string sgf;
    if (!files_.ReadFile(args[0], kSgfMaxBytes, sgf))
        return {false, "cannot load file"};
    std::string recordText;
    const SgfImportStatus status = SgfToRecordText(sgf, recordText);
    if (status != SgfImportStatus::Ok)
        return {false, std::string("cannot load file: ") + SgfImportStatusText(status)};
    TGiboList list;
    if (!AddRecordText(recordText, list, kRecordLineMin))
        return {false, "cannot load file"};
    const TRecordHeader header = ParseRecordHeader(list.Head()->Data);

    TGoBoard board;
    if (header.Handicap >= kMinHandicap)
        board.SetHandicap(header.Handicap, 0);
    list.SetCurrent(list.Head());
    for (int number = 1; list.NextMove() && (stopAt == 0 || number < stopAt); ++number) {
        const int x = list.StepX, y = list.StepY;
        if (x == 0 && y == 0 ? !board.PlayPass() : !board.PlayAt(x, y))
            return {false, "cannot load file: illegal move " + std::to_string(number)};
    }
    board_ = board;
    const double komi = header.Komi > 0 ? header.Komi + 0.5 : 0;
    komi_ = header.KomiSide == 'A' ? komi : -komi;
    return {true, board_.ColourToMove() == kBlack ? "black" : "white"};
}

void TGtpEngine::Analyse()
{
    analysis_->ResetAnalysis();
    analysis_->AnalysePosition(Position(), board_.ColourToMove() == kBlack ? 'B' : 'W');
}

TGtpEngine::TAnswer TGtpEngine::FinalStatusList(const TGtpCommand& command)
{
    const std::string status = command.Args.size() == 1 ? command.Args[0] : "";
    if (status != "dead" && status != "alive" && status != "seki")
        return {false, "invalid status"};
    if (status == "seki")
        return {true, ""};
    Analyse();
    std::string text;
    for (int y = 1; y <= kSide; ++y)
        for (int x = 1; x <= kSide; ++x)
            if (board_.Colour(x, y) != kEmpty && analysis_->IsDead(y, x) == (status == "dead"))
                text += (text.empty() ? "" : " ") + GtpVertexText(x, y);
    return {true, text};
}

TGtpEngine::TAnswer TGtpEngine::EstimateScore()
{
    Analyse();
    TDeadMask dead{};
    for (int r = 1; r <= kSide; ++r)
        for (int c = 1; c <= kSide; ++c)
            dead[static_cast<std::size_t>((r - 1) * kSide + c - 1)] = analysis_->IsDead(r, c);
    const TScoreCount count = CountPosition(Position(), dead, board_.BlackPrisoners(), board_.WhitePrisoners(),
                                            TCountingRules::Territory, komi_);
    return {true, MarginText(count.Margin())};
}

std::string TGtpEngine::Position() const
{
    std::string p;
    for (int y = 1; y <= kSide; ++y)
        for (int x = 1; x <= kSide; ++x)
            p += board_.Colour(x, y) == kBlack ? 'B' : board_.Colour(x, y) == kWhite ? 'W' : '-';
    return p;
}

std::string TGtpEngine::ShowBoard() const
{
    std::string columns = "   ";
    for (char c : std::string_view(kColumns))
        columns += std::string(1, c) + " ";
    columns.pop_back();
    std::string text = columns + "\n";
    for (int y = 1; y <= kSide; ++y) {
        const int row = kSide + 1 - y;
        const std::string label = (row < 10 ? " " : "") + std::to_string(row);
        text += label;
        for (int x = 1; x <= kSide; ++x)
            text += board_.Colour(x, y) == kBlack ? " X" : board_.Colour(x, y) == kWhite ? " O" : " .";
        text += " " + label + "\n";
    }
    text += columns + "\n";
    text += "Black (X) has captured " + std::to_string(board_.BlackPrisoners()) + " stones, White (O) has captured " +
            std::to_string(board_.WhitePrisoners()) + " stones";
    return text;
}

} // namespace zel
