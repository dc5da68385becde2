#pragma once
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "core/app/LobbyApp.h"
#include "core/app/GameLink.h"
#include "core/app/LobbyView.h"
#include "client/base/DockPage.h"

class QLabel;
class QSplitter;
class QToolButton;
class QTreeView;

namespace zel {

class BannerLabel;
class TDockController;
class DirFileStore;
class TBackDraw;
class TLobbyLink;
class TEditPanel;
class TGameWiring;
class TLobbyController;
class TZelGoMainForm;
class TQtHanjaPainter;
class TTerminal;
class QtClock;
class QtPrompts;
class QtTransport;
class TZelStatus;

// The lobby window and program's main window: top bar, room list, terminal
// and chat input, user list, status bar. It owns the three connections and
// the connection logic, which its main timer ticks every 200 ms.
class TZel4HvnForm : public QMainWindow, public LobbyView, public TDockPage {
    Q_OBJECT
public:
    // A non-empty `recordPath` (the joined command line) opens no connection.
    TZel4HvnForm(TZelStatus& status, QtPrompts& prompts, const std::string& recordPath, QWidget* parent = nullptr);
    ~TZel4HvnForm() override;

    TLobbyApp& App() { return *app_; }
    TLobbyLink& Link() { return *link_; }
    TLobbyController& Lobby() { return *lobby_; }
    TGameWiring& Game() { return *gameWiring_; }
    TTerminal& Terminal() { return *terminal_; }
    TBackDraw& BackDraw() { return *backDraw_; }
    // The game window, created on first use.
    TZelGoMainForm& GoMainForm();
    // Docking of this window and the game window into one tabbed window.
    TDockController& Dock() { return *dock_; }
    // A line typed in the chat input (or a single control character).
    std::function<void(const std::string&)> OnChatLine;
    QString PanelText(int index) const;
    // "기보 보기": picks a "*.zel" file in "gibodir" and views it in the game window.
    void sbVGiboClick();
    // Views the record file at `path` in the game window; refused with a
    // notice while a game is open.
    bool ViewRecord(const std::string& path);
    // True, after a notice, while a game (not a viewed record) is open.
    bool GameBlocksViewing();
    // "도움말": the first banner link when it is a web page, else the local help page.
    void sbHelpClick();
    std::string HelpAddress() const;
    // Seams for tests; unset, a file dialog asks and the system browser opens.
    std::function<QString(const QString& dir)> ChooseRecordFile;
    std::function<void(const std::string& url)> OpenAddress;
    static constexpr int kPanelCount = 15;

    // LobbyView
    void SetPanel(int index, const std::string& text) override;
    void EnableConnect(bool enabled) override;
    void SetConnectGlyph(bool connected) override;
    void EnableRoom(bool enabled) override;
    void PrintLine(const std::string& line) override;
    bool OpenLoginDialog() override;
    void OpenPersonalInfo() override;
    void LoadBanners() override;
    void CloseWindow() override;

    void setVisible(bool visible) override;
    QWidget* DockFocus() const override;

    QToolButton* sbConn;
    QToolButton* sbVGame;
    QToolButton* sbVGibo;
    QToolButton* sbStudy;
    QToolButton* sbJoseki;
    QToolButton* sbEnvS;
    QToolButton* sbHelp;
    QToolButton* sbExit;
    QToolButton* sbRoom;
    QToolButton* sbMyRI;
    QToolButton* sbFind;
    QToolButton* sbInfo;
    QTreeView* SlotLBox;
    QTreeView* UserLBox;
    TEditPanel* ChatBox;
    QSplitter* MainSplitter;
    QTimer MainTimer;
    // Keeps game messages moving while a dialog opened by a main-timer tick waits.
    QTimer GameQueueTimer;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* BuildTopPanel();
    QWidget* BuildMainPanel();
    QWidget* BuildCtrlPanel();
    void BuildStatusBar();
    void ApplyColours();
    void FormShow();
    void MainTimerTimer();
    void SaveWindowInfo();
    void CloseWhenFree();
    GameLinkHooks GameHooks();
    // The game window's questions to the lobby: room, chat rules, members.
    void WireGameWindow();

    TZelStatus& status_;
    QtPrompts& prompts_;
    std::string recordPath_;
    std::unique_ptr<QtClock> clock_;
    QtTransport* game_;
    QtTransport* probe_;
    QtTransport* config_;
    std::unique_ptr<DirFileStore> banners_;
    std::unique_ptr<DirFileStore> program_;
    std::unique_ptr<DirFileStore> records_;
    std::unique_ptr<TLobbyApp> app_;
    std::unique_ptr<TGameWiring> gameWiring_;
    std::unique_ptr<TLobbyLink> link_;
    TLobbyController* lobby_ = nullptr;
    std::unique_ptr<TBackDraw> backDraw_;
    std::unique_ptr<TQtHanjaPainter> hanja_;
    QString fontError_;
    TTerminal* terminal_ = nullptr;
    QWidget* userButtons_ = nullptr;
    std::array<QLabel*, kPanelCount> panels_{};
    std::array<BannerLabel*, 3> bannerImages_{};
    bool firstShow_ = true;
    bool inMainTick_ = false;
    TZelGoMainForm* goMainForm_ = nullptr;
    std::unique_ptr<TDockController> dock_;
};

} // namespace zel
