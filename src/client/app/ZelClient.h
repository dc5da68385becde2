#pragma once
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "client/app/EnvSetForm.h"
#include "client/app/LobbyFormPorts.h"
#include "client/app/QtClock.h"
#include "client/base/QtBrowser.h"
#include "client/lobby/LobbyGame.h"
#include "client/net/QtTransport.h"
#include "client/print/RecordPrint.h"
#include "client/record/RecordPrinter.h"
#include "client/term/QtHanjaPainter.h"
#include "core/app/GameLink.h"
#include "core/term/BackDraw.h"
#include "os/DirFileStore.h"

namespace zel {

class QtPrompts;
class TDockController;
class TGameWiring;
class TLobbyApp;
class TLobbyController;
class TLobbyLink;
class TTerminal;
class TZel4HvnForm;
class TZelGoMainForm;
class TZelStatus;

// The client program in one object, and the one place where it is wired: it
// builds the ports' implementations (clock, sockets, record and banner
// directories, fonts), the core objects, both windows and the adapters
// between them, and connects them. Members are built in the order they are
// declared and torn down in reverse. main() makes one; widget tests too.
class TZelClient : private TLobbyFormPorts,
                   private TLobbyGame,
                   private TGameLinkHost,
                   private TRecordPrinter,
                   private TEnvSetTargets {
public:
    // A non-empty `recordPath` (the joined command line) opens no connection
    // and views that record.
    TZelClient(TZelStatus& status, QtPrompts& prompts, const std::string& recordPath);
    ~TZelClient() override;
    TZelClient(const TZelClient&) = delete;
    TZelClient& operator=(const TZelClient&) = delete;

    TZel4HvnForm& Form() { return *form_; }
    TZelGoMainForm& GoMainForm() { return *goMain_; }
    TLobbyApp& App() { return *app_; }
    TLobbyLink& Link() { return *link_; }
    TLobbyController& Lobby() { return *lobby_; }
    TGameWiring& Game() { return *game_; }
    TDockController& Dock() { return *dock_; }
    TRecordPrint& RecordPrint() { return print_; }
    TTerminal& Terminal();
    TBackDraw& BackDraw() { return backDraw_; }

    // "기보 보기": picks a "*.zel" file in "gibodir" and views it in the game window.
    void sbVGiboClick();
    // "기보 복기": the session opens a review of a record the user picks.
    void sbStudyClick();
    // Views the record file at `path` in the game window; refused with a
    // notice while a game is open.
    bool ViewRecord(const std::string& path);
    // True, after a notice, while a game (not a viewed record) is open.
    bool GameBlocksViewing();
    // "도움말": the help page of the program directory; without one, the
    // first banner link when it is a web page.
    void sbHelpClick();
    std::string HelpAddress() const;
    // The address a click on the banner of downloaded file `file` opens;
    // empty unless it is a web page.
    std::string BannerAddress(int file) const;

    // The environment window (hidden until "환경설정" opens it).
    TEnvSetForm& EnvSetForm() { return *envSet_; }
    // Where help and banner clicks open their addresses; the system's browser
    // until a test or the test hook hands in another (which must outlive this).
    void UseBrowser(Browser& browser) { browser_ = &browser; }

    // Seam for tests. Its default is written out: a file dialog asks for the record.
    std::function<QString(const QString& dir)> ChooseRecordFile;

    // The lobby's main timer: first tick after 250 ms, then every 200 ms.
    QTimer MainTimer;
    // Keeps game messages moving while a dialog opened by a main-timer tick waits.
    QTimer GameQueueTimer;

private:
    // TLobbyFormPorts
    void FormShown() override;
    bool MayClose() override;
    void Closing() override;
    void ChatLine(const std::string& line) override;
    void PanelClicked(int index) override;
    bool MacroKey(int index) override;
    void LinePrinted(const std::string& line) override;
    void PanelChanged(int index, const std::string& text) override;
    void OpenPersonalInfo() override;
    void OpenEnvironment() override;
    void BannerClicked(int file) override;
    void BannersLoaded() override;

    // TEnvSetTargets
    void Recolour(int baseColor) override;
    void ApplyBoardPattern(int pattern) override;
    void MacrosChanged() override;
    void ColourMemos();

    // TLobbyGame
    bool GameInProgress() const override;
    bool GameWindowOpen() const override;
    void CloseGameWindow() override;
    void CancelPendingRequest() override;
    void SetMultiHost(const std::string& id) override;
    void GameCommand(const std::string& line) override;
    void StopGame(const std::string& word, const std::string& id) override;
    void ClearMultiBoards() override;

    // TGameLinkHost
    void RunCommand(const std::string& line) override;
    std::string DateText() const override;
    std::string DateSuffix() const override;
    void GameSessionStarted() override;
    void GameSessionEnded(int previousKind) override;

    // TRecordPrinter
    void PrintRecord(const TPrintSource& source, QWidget& window, QLabel& statusCell) override;

    void MainTimerTimer();
    void WireButtons();
    void WireGameWindow();

    TZelStatus& status_;
    QtPrompts& prompts_;
    std::string recordPath_;
    QtClock clock_;
    QtTransport gameSocket_;
    QtTransport probeSocket_;
    QtTransport configSocket_;
    DirFileStore banners_;
    DirFileStore program_;
    DirFileStore records_;
    TBackDraw backDraw_;
    TQtHanjaPainter hanja_;
    QString fontError_;
    TRecordPrint print_;
    std::unique_ptr<TZel4HvnForm> form_;
    TZelGoMainForm* goMain_ = nullptr; // a child window of the lobby window
    TEnvSetForm* envSet_ = nullptr;    // a child window of the lobby window
    QtBrowser systemBrowser_;
    Browser* browser_ = &systemBrowser_;
    std::unique_ptr<TDockController> dock_;
    std::unique_ptr<TLobbyApp> app_;
    std::unique_ptr<TGameWiring> game_;
    std::unique_ptr<TLobbyLink> link_;
    std::unique_ptr<TLobbyController> lobby_;
    bool inMainTick_ = false;
};

} // namespace zel
