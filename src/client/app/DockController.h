#pragma once
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "core/app/DockDrag.h"

class QMainWindow;
class QRubberBand;

namespace zel {

class Clock;
class TDockPage;
class TTabDockHost;

// Docks the lobby window and the game window together into a tab dock host
// and takes them out again. The game window is the only dock site and the
// lobby the only window that docks: a drag of the lobby window (seen from
// its moves and the pointer) that ends in the middle of the game window
// docks both. While docked, showing a page selects its tab and hiding the
// game window selects the lobby's tab instead.
class TDockController : public QObject {
    Q_OBJECT
public:
    TDockController(QMainWindow& lobby, TDockPage& lobbyPage, const Clock& clock);
    ~TDockController() override;

    // The game window, once it exists; it stays a page site for good.
    void SetGameWindow(QMainWindow* game, TDockPage* page);
    // Docks at the game window's first show (once the current event is
    // over) when this answers true.
    std::function<bool()> DockAtFirstShow;
    // Told whenever the windows were docked or undocked.
    std::function<void(bool docked)> OnDockChanged;

    bool Docked() const { return host_ != nullptr; }
    TTabDockHost* Host() const { return host_.get(); }
    // Both windows into a new host with the frame `geometry`; the lobby's
    // page first, `current` selected.
    void Dock(const QRect& geometry, QWidget* current);
    // Both pages out as windows at their places before docking; the page
    // `dragged`, when given, comes out at the pointer `at`.
    void Undock(QWidget* dragged = nullptr, std::optional<QPoint> at = std::nullopt);
    // Pages out, hidden, and the host gone: for closing the program.
    void Dismantle();

    // The lobby window moved (its frame is now `frame`) with the pointer at
    // `cursor`, and a mouse release there; what a real drag and the test
    // hook both feed.
    void LobbyMoved(const QRect& frame, QPoint cursor);
    void PointerReleased(QPoint cursor);
    // The game window's client area on the screen, empty when it cannot be
    // a dock site now.
    QRect SiteRect() const;
    // The drop preview shown now (empty when none).
    QRect PreviewRect() const;
    QRubberBand* Preview() const { return preview_; }
    // True while the lobby's moves are being followed as a possible drag.
    bool Following() const { return drag_.Following(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool LobbyVisibility(bool visible);
    bool GameVisibility(bool visible);
    void FirstShowDock();
    void DragTick();
    void DragFinished(bool drop);
    void ShowPreview();
    void TearDown(bool show, QWidget* dragged, std::optional<QPoint> at);
    static QRect OnScreen(QRect frame);

    QMainWindow& lobby_;
    TDockPage& lobbyPage_;
    const Clock& clock_;
    QMainWindow* game_ = nullptr;
    TDockPage* gamePage_ = nullptr;
    std::unique_ptr<TTabDockHost> host_;
    QRubberBand* preview_;
    QTimer dragTimer_;
    TDockDrag drag_;
    bool busy_ = false;
    bool gameShown_ = false;
    bool gameWanted_ = false; // the session shows the game page while docked
    bool dockPending_ = false;
    bool watchingRelease_ = false;
};

} // namespace zel
