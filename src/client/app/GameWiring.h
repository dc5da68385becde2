#pragma once
#include <QString>
#include <memory>
#include <string>

#include "client/app/QtRandom.h"
#include "client/app/GameWindowLink.h"
#include "core/app/GameLink.h"

namespace zel {

class Clock;
class FileStore;
class Prompts;
class QtGameDialogs;
class QtGameWindow;
class TBBS2Zel;
class TDeadStoneAdvisor;
class TGameWindowLink;
class TLobbyApp;
class TLobbyChat;
class TLobbyLink;
class TStoneSound;
class TZelGoMainForm;
class TZelStatus;

// The directory of the spoken countdown's words: "voice" in the program directory.
QString VoiceDir(const TZelStatus& status);

// The client's one game session and what joins it to the lobby and the game
// window. Built in two steps: the game link first (the lobby link is made
// with it), the session once the dispatch and the game window exist.
class TGameWiring : private TGameWindowLobby {
public:
    TGameWiring(TZelStatus& status, const Clock& clock, TGameLinkHost& host);
    ~TGameWiring();
    TGameWiring(const TGameWiring&) = delete;
    TGameWiring& operator=(const TGameWiring&) = delete;

    TGameLink& Link() { return *link_; }
    // `chat`, `form` and `records` (the record directory) outlive this object.
    void Attach(TLobbyApp& app, TLobbyLink& lobby, TLobbyChat& chat, TZelGoMainForm& form, Prompts& prompts,
                FileStore& records);
    // Null before Attach.
    TBBS2Zel* Session() { return session_.get(); }
    // Null before Attach.
    TDeadStoneAdvisor* Advisor() { return advisor_.get(); }

    bool GameInProgress() const;
    // "/x": the running game stops on the word of `name`.
    void StopGame(const std::string& name, const std::string& id);
    // A line of the lobby's terminal, for the game window's chat.
    void TerminalLine(const std::string& line);
    // "/c" typed in the lobby or the game window. The session has no such
    // command yet: the user is told in the terminal.
    void GameCommand(const std::string& line);

private:
    // TGameWindowLobby
    bool SendToChatPartner(const std::string& line) override;

    TZelStatus& status_;
    const Clock& clock_;
    QtRandom random_;
    std::unique_ptr<TGameLink> link_;
    std::unique_ptr<QtGameWindow> window_;
    std::unique_ptr<QtGameDialogs> dialogs_;
    std::unique_ptr<TStoneSound> sound_;
    std::unique_ptr<TBBS2Zel> session_;
    std::unique_ptr<TDeadStoneAdvisor> advisor_;
    std::unique_ptr<TGameWindowLink> windowLink_;
    TLobbyApp* app_ = nullptr;
    TLobbyLink* lobby_ = nullptr;
    TLobbyChat* chat_ = nullptr;
};

} // namespace zel
