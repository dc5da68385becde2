#include "client/app/DockController.h"

#include <QApplication>
#include <QCursor>
#include <QMainWindow>
#include <QMouseEvent>
#include <QRubberBand>
#include <QScreen>
#include <algorithm>

#include "client/app/TabDockHost.h"
#include "client/base/DockPage.h"
#include "core/ports/Clock.h"

namespace zel {
namespace {

constexpr int kDragTickMs = 100;
// Where a page dragged off the tab bar lands, from the pointer.
const QPoint kTearGrab(40, 12);

TDockRect ToDock(const QRect& r)
{
    return r.isEmpty() ? TDockRect{} : TDockRect{r.left(), r.top(), r.width(), r.height()};
}

} // namespace

TDockController::TDockController(QMainWindow& lobby, TDockPage& lobbyPage, const Clock& clock)
    : lobby_(lobby), lobbyPage_(lobbyPage), clock_(clock), preview_(new QRubberBand(QRubberBand::Rectangle))
{
    preview_->setObjectName("DockPreview");
    lobbyPage_.VisibilityHook = [this](bool visible) { return LobbyVisibility(visible); };
    lobby_.installEventFilter(this);
    dragTimer_.setInterval(kDragTickMs);
    connect(&dragTimer_, &QTimer::timeout, this, &TDockController::DragTick);
}

TDockController::~TDockController()
{
    if (Docked())
        TearDown(false, nullptr, std::nullopt);
    if (watchingRelease_)
        qApp->removeEventFilter(this);
    lobby_.removeEventFilter(this);
    lobbyPage_.VisibilityHook = nullptr;
    if (gamePage_)
        gamePage_->VisibilityHook = nullptr;
    delete preview_;
}

void TDockController::SetGameWindow(QMainWindow* game, TDockPage* page)
{
    if (game_ || !game || !page)
        return;
    game_ = game;
    gamePage_ = page;
    gameShown_ = game->isVisible();
    game_->installEventFilter(this);
    gamePage_->VisibilityHook = [this](bool visible) { return GameVisibility(visible); };
}

void TDockController::Dock(const QRect& geometry, QWidget* current)
{
    if (Docked() || !game_)
        return;
    busy_ = true;
    drag_.Cancel();
    DragFinished(false);
    lobbyPage_.UndockedGeometry = lobby_.geometry();
    gamePage_->UndockedGeometry = game_->geometry();
    host_ = std::make_unique<TTabDockHost>();
    // The host asks from inside its own events; it may go only after them.
    host_->OnCloseRequest = [this] {
        QMetaObject::invokeMethod(
            this, [this] { lobby_.close(); }, Qt::QueuedConnection);
    };
    host_->OnUndock = [this](QWidget* window, std::optional<QPoint> at) {
        QMetaObject::invokeMethod(
            this,
            [this, window, at] {
                if (host_ && host_->IndexOf(window) >= 0)
                    Undock(window, at);
            },
            Qt::QueuedConnection);
    };
    host_->setGeometry(OnScreen(geometry));
    host_->AddPage(&lobby_, &lobbyPage_);
    host_->AddPage(game_, gamePage_);
    host_->Select(current ? current : &lobby_);
    host_->show();
    host_->raise();
    gameShown_ = true;
    gameWanted_ = true;
    busy_ = false;
    if (OnDockChanged)
        OnDockChanged(true);
}

void TDockController::Undock(QWidget* dragged, std::optional<QPoint> at)
{
    if (!Docked())
        return;
    TearDown(true, dragged, at);
    if (OnDockChanged)
        OnDockChanged(false);
}

void TDockController::Dismantle()
{
    if (!Docked())
        return;
    TearDown(false, nullptr, std::nullopt);
    if (OnDockChanged)
        OnDockChanged(false);
}

void TDockController::TearDown(bool show, QWidget* dragged, std::optional<QPoint> at)
{
    busy_ = true;
    QRect lobbyFrame = lobbyPage_.UndockedGeometry.value_or(lobby_.geometry());
    QRect gameFrame = gamePage_->UndockedGeometry.value_or(game_->geometry());
    // A game window the session hid while docked stays hidden, unless the
    // user pulled its tab out.
    const bool showGame = gameWanted_ || dragged == game_;
    QWidget* front = dragged ? dragged : host_->Current();
    if (front == game_ && !showGame)
        front = &lobby_;
    host_->TakePage(game_, &lobby_);
    host_->TakePage(&lobby_, nullptr);
    lobbyPage_.UndockedGeometry.reset();
    gamePage_->UndockedGeometry.reset();
    if (at && dragged == &lobby_)
        lobbyFrame.moveTopLeft(*at - kTearGrab);
    if (at && dragged == game_)
        gameFrame.moveTopLeft(*at - kTearGrab);
    lobby_.setGeometry(OnScreen(lobbyFrame));
    game_->setGeometry(OnScreen(gameFrame));

    std::unique_ptr<TTabDockHost> host = std::move(host_);
    host->OnCloseRequest = nullptr;
    host->OnUndock = nullptr;
    // Gone at once: a host kept for later could still be activated. Its own
    // requests reach here queued, never from inside its events.
    host->hide();
    host.reset();

    if (show) {
        lobby_.show();
        if (showGame)
            game_->show();
        if (front) {
            front->raise();
            front->activateWindow();
        }
    }
    busy_ = false;
}

QRect TDockController::OnScreen(QRect frame)
{
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return frame;
    const QRect room = screen->availableGeometry();
    frame.setWidth(std::min(frame.width(), room.width()));
    frame.setHeight(std::min(frame.height(), room.height()));
    frame.moveLeft(std::clamp(frame.left(), room.left(), room.right() + 1 - frame.width()));
    frame.moveTop(std::clamp(frame.top(), room.top(), room.bottom() + 1 - frame.height()));
    return frame;
}

bool TDockController::LobbyVisibility(bool visible)
{
    if (busy_ || !Docked())
        return false;
    if (visible) {
        host_->Select(&lobby_);
        host_->show();
        host_->raise();
    } else {
        host_->hide();
    }
    return true;
}

bool TDockController::GameVisibility(bool visible)
{
    if (busy_)
        return false;
    if (Docked()) {
        gameWanted_ = visible;
        if (visible) {
            host_->Select(game_);
            host_->show();
            host_->raise();
        } else if (host_->Current() == game_) {
            host_->Select(&lobby_);
        }
        return true;
    }
    if (!visible) {
        dockPending_ = false;
        return false;
    }
    if (dockPending_)
        return true;
    if (!gameShown_ && !game_->isVisible() && lobby_.isWindow() && lobby_.isVisible() && DockAtFirstShow &&
        DockAtFirstShow()) {
        // The caller may be inside the lobby's own show or a handler of it:
        // the windows move into the host once that is over.
        dockPending_ = true;
        QMetaObject::invokeMethod(this, &TDockController::FirstShowDock, Qt::QueuedConnection);
        return true;
    }
    return false;
}

void TDockController::FirstShowDock()
{
    if (!dockPending_)
        return;
    dockPending_ = false;
    if (Docked() || game_->isVisible())
        return;
    if (lobby_.isWindow() && lobby_.isVisible()) {
        // The host opens where the lobby is, large enough for either window.
        Dock(QRect(lobby_.geometry().topLeft(), lobby_.size().expandedTo(game_->size())), game_);
        return;
    }
    busy_ = true;
    game_->show();
    busy_ = false;
}

QRect TDockController::SiteRect() const
{
    if (!game_ || Docked() || !game_->isWindow() || !game_->isVisible() || game_->isMinimized())
        return {};
    return QRect(game_->mapToGlobal(QPoint(0, 0)), game_->size());
}

QRect TDockController::PreviewRect() const
{
    return preview_->isVisible() ? preview_->geometry() : QRect();
}

void TDockController::LobbyMoved(const QRect& frame, QPoint cursor)
{
    if (Docked() || busy_)
        return;
    drag_.Moved(clock_.Now(), ToDock(frame), {cursor.x(), cursor.y()}, ToDock(SiteRect()));
    ShowPreview();
    if (!drag_.Following())
        return;
    if (!dragTimer_.isActive())
        dragTimer_.start();
    if (!watchingRelease_) {
        qApp->installEventFilter(this);
        watchingRelease_ = true;
    }
}

void TDockController::PointerReleased(QPoint cursor)
{
    if (!drag_.Following())
        return;
    DragFinished(drag_.Released({cursor.x(), cursor.y()}));
}

void TDockController::DragTick()
{
    if (drag_.Tick(clock_.Now()))
        DragFinished(true);
    else if (!drag_.Following())
        DragFinished(false);
}

void TDockController::DragFinished(bool drop)
{
    dragTimer_.stop();
    if (watchingRelease_) {
        qApp->removeEventFilter(this);
        watchingRelease_ = false;
    }
    preview_->hide();
    if (!drop)
        return;
    // Docked once the event that dropped is over, if the site is still there.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!SiteRect().isEmpty())
                Dock(game_->geometry(), &lobby_);
        },
        Qt::QueuedConnection);
}

void TDockController::ShowPreview()
{
    const TDockRect zone = drag_.Preview();
    if (zone.Empty()) {
        preview_->hide();
        return;
    }
    preview_->setGeometry(zone.left, zone.top, zone.width, zone.height);
    preview_->show();
    preview_->raise();
}

bool TDockController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &lobby_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        if (!Docked() && !busy_ && lobby_.isWindow() && lobby_.isVisible())
            LobbyMoved(lobby_.frameGeometry(), QCursor::pos());
    } else if (watched == game_ && event->type() == QEvent::Show) {
        gameShown_ = true;
    } else if (watchingRelease_ && event->type() == QEvent::MouseButtonRelease) {
        PointerReleased(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zel
