#pragma once
// Two game sessions joined by a direct link: what one sends reaches the
// other as the lobby would hand it over (marker and queue key removed).
#include <memory>
#include <string>
#include <vector>

#include "Fakes.h"
#include "GameFakes.h"
#include "MemoryFileStore.h"
#include "core/game/BBS2Zel.h"
#include "core/game/ElmGoInfo.h"
#include "core/record/HelpList.h"

namespace zel::test {

struct SessionSide {
    SessionSide(ManualClock& clock, Random& random, const std::string& id)
        : session(
              TSessionServices{clock, random, prompts, window, lobby, dialogs, files, pending, &sound, &countdownVoice})
    {
        session.MyId = id;
        session.OnSendGame = [this](const std::string& text) { outbox.push_back(text); };
    }
    OpenPrompts prompts;
    RecordingWindow window;
    RecordingLobby lobby;
    ScriptedDialogs dialogs;
    MemoryFileStore files;
    THelpList pending;
    RecordingSound sound;
    bool countdownVoice = true;
    TBBS2Zel session;
    std::vector<std::string> outbox; // everything sent, in order
    std::size_t delivered = 0;       // outbox entries already passed on
};

class SessionDuo {
public:
    explicit SessionDuo(std::int32_t start = 36000000)
        : clock(start), random(7), a(clock, random, "alice"), b(clock, random, "bob")
    {
    }

    // Passes on what each side sent since the last call.
    void Deliver()
    {
        Pass(a, b);
        Pass(b, a);
    }
    // Advances the clock in steps of `step` ms, ticking and delivering.
    void Run(std::int32_t ms, std::int32_t step = 50)
    {
        for (std::int32_t t = 0; t < ms; t += step) {
            clock.Set((clock.Now() + step) % kDayMs);
            a.session.Tick(clock.Now());
            b.session.Tick(clock.Now());
            Deliver();
        }
    }
    // Alice asks Bob for a game in which she is black; Bob accepts.
    void StartGame()
    {
        a.dialogs.setup = [](TGameSetModel& m) { m.ColourClicked(TGameSetModel::Colour::Black); };
        a.session.RequestGame("bob");
        Run(1000);
    }
    // The side's message to the other as the lobby would hand it over.
    static std::string Handed(const std::string& sent) { return sent.size() > 2 ? sent.substr(2) : std::string(); }

    ManualClock clock;
    SeededRandom random;
    SessionSide a, b;

private:
    static void Pass(SessionSide& from, SessionSide& to)
    {
        while (from.delivered < from.outbox.size())
            to.session.OnGameData(Handed(from.outbox[from.delivered++]));
    }
};

} // namespace zel::test
