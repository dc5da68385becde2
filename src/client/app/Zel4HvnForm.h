#pragma once
#include <QMainWindow>
#include <array>
#include <string>

#include "client/app/LobbyWidgets.h"
#include "core/app/LobbyView.h"
#include "client/base/DockPage.h"

class QLabel;
class QSplitter;
class QToolButton;
class QTreeView;

namespace zel {

class BannerLabel;
class TBackDraw;
class TEditPanel;
class Prompts;
class TLobbyFormPorts;
class TTerminal;
class TZelStatus;

// The lobby window and the program's main window: top bar, room list,
// terminal and chat input, user list, status bar. It draws what the lobby
// tells it (LobbyView) and reports what the user does to its ports; the
// composition root (TZelClient) owns everything else.
class TZel4HvnForm : public QMainWindow, public LobbyView, public TDockPage, public TLobbyWidgets {
    Q_OBJECT
public:
    TZel4HvnForm(TZelStatus& status, Prompts& prompts, TBackDraw& backDraw, TLobbyFormPorts& ports,
                 QWidget* parent = nullptr);
    ~TZel4HvnForm() override;

    TTerminal& Terminal() { return *terminal_; }
    QString PanelText(int index) const;
    // Status-bar cells: nine macros, then these.
    static constexpr int kRoomPanel = 10;
    static constexpr int kPlacePanel = 11;
    static constexpr int kFriendPanel = 12;
    static constexpr int kMemoPanel = 13;
    static constexpr int kClockPanel = 14;
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

    // TLobbyWidgets
    QWidget& DialogParent() override { return *this; }
    LobbyView& View() override { return *this; }
    QTreeView& RoomList() override { return *SlotLBox; }
    QTreeView& UserList() override { return *UserLBox; }
    void EnableButtons(const LobbyButtons& enabled) override;
    bool WatchEnabled() const override;
    void ShowMemberView(bool members) override;
    void ShowInRoom(bool inRoom) override;
    void FocusChat() override;

    // Terminal, chat input and both lists in the colours of the settings.
    void ApplyColours();
    // The macro cells' hints show the macros of the settings.
    void ShowMacroHints();
    // The top banner showing downloaded file `file`, or null.
    BannerLabel* Banner(int file) const;

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* BuildTopPanel();
    QWidget* BuildMainPanel();
    QWidget* BuildCtrlPanel();
    void BuildStatusBar();
    void FormShow();
    void SaveWindowInfo();
    void CloseWhenFree();

    TZelStatus& status_;
    Prompts& prompts_;
    TBackDraw& backDraw_;
    TLobbyFormPorts& ports_;
    TTerminal* terminal_ = nullptr;
    QWidget* userButtons_ = nullptr;
    std::array<QLabel*, kPanelCount> panels_{};
    std::array<BannerLabel*, 3> bannerImages_{};
    static constexpr std::array<int, 3> kBannerFiles{2, 4, 3}; // logo panel, top banner, top logo
    bool firstShow_ = true;
};

} // namespace zel
