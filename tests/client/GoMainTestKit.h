#pragma once
// Shared set-up of the game window tests: a window on memory settings and a
// memory record store, and record texts built from real games.
#include <QTest>
#include <memory>
#include <string>

#include "QtTestApp.h"
#include "client/app/GameWindowLink.h"
#include "client/record/ZelGoMainForm.h"
#include "core/engine/GoBoard.h"
#include "core/engine/LetterCodes.h"
#include "core/record/RecordHeader.h"
#include "core/settings/ZelStatus.h"
#include "core/term/BackDraw.h"
#include "support/Fakes.h"
#include "support/MemoryFileStore.h"

namespace zel::test {

// The record printing port: what the window asked to print.
struct RecordingPrinter : TRecordPrinter {
    void PrintRecord(const TPrintSource& source, QWidget&, QLabel&) override { printed.push_back(source); }
    std::vector<TPrintSource> printed;
};

struct GoMainFixture {
    GoMainFixture() : status(settings), draw(StandardPalette)
    {
        App();
        form = std::make_unique<TZelGoMainForm>(status, prompts, draw, clock, printer);
        form->SetRecordStore(&store);
        form->CheckedQuestion = [this](TCheckedQuestion& q) {
            asked.push_back(q);
            q.DontAsk = tickDontAsk;
            return answer;
        };
        form->resize(820, 640);
    }

    // A record of `moves` (pairs of points) with the given extra lines; it is
    // stored as `name` and viewed.
    std::string RecordText(const std::vector<std::pair<int, int>>& moves, const std::string& extra = "") const
    {
        TGoBoard board;
        for (auto [x, y] : moves) {
            if (x == 0)
                board.PlayPass();
            else
                board.PlayAt(x, y);
        }
        TRecordHeader h;
        h.Black = "kim(kim) 3d";
        h.White = "lee(lee) 2d";
        h.Komi = 6;
        h.DateLine = "2026-12-07 21:30";
        h.Title = "test";
        h.Result = "W+R";
        return RecordHeaderLine(h) + "\r\n" + board.RecordLinesText() + extra;
    }

    void View(const std::string& text, const std::string& name = "20261207kimlee.zel")
    {
        store.files[name] = text;
        form->CurrentRecordName = name;
        TGoSnapshot empty;
        EmptySnapshot(empty);
        form->EnterMode(TZelGoMainForm::kViewing, empty);
        form->LoadRecordFile("", true);
    }

    MemorySettings settings;
    TZelStatus status;
    RecordingPrompts prompts;
    MemoryFileStore store;
    TBackDraw draw;
    ManualClock clock{36000000};
    RecordingPrinter printer;
    std::unique_ptr<TZelGoMainForm> form;
    std::vector<TCheckedQuestion> asked;
    bool answer = true;
    bool tickDontAsk = false;
};

// The lobby side of the game window's link: a private-chat partner when
// `partner` is set.
struct RecordingWindowLobby : TGameWindowLobby {
    bool SendToChatPartner(const std::string& line) override
    {
        if (partner < 0)
            return false;
        partnerLines.push_back(line);
        return true;
    }

    int partner = -1;
    std::vector<std::string> partnerLines;
};

// The first ten moves of a game without captures.
inline std::vector<std::pair<int, int>> TenMoves()
{
    return {{16, 4}, {4, 16}, {16, 16}, {4, 4}, {3, 14}, {17, 14}, {14, 17}, {6, 17}, {10, 4}, {10, 16}};
}

} // namespace zel::test
