#include "client/app/TabDockHost.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "client/base/DockPage.h"
#include "client/base/UiFont.h"

namespace zel {

TTabDockHost::TTabDockHost() : QWidget(nullptr, Qt::Window)
{
    setObjectName("TTabDockHost");
    setFont(UiFont(9));
    // The lobby ends the program, not this frame around it.
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("DockTabs");
    tabs_->setDocumentMode(true);
    tabs_->tabBar()->setObjectName("DockTabBar");
    tabs_->tabBar()->installEventFilter(this);
    tabs_->tabBar()->setContextMenuPolicy(Qt::CustomContextMenu);
    column->addWidget(tabs_);

    menu_ = new QMenu(this);
    menu_->setObjectName("DockTabMenu");
    QAction* undock = menu_->addAction(QString::fromUtf8("분리"));
    undock->setObjectName("UndockAction");
    connect(undock, &QAction::triggered, this, [this] { RequestUndock(menuIndex_, std::nullopt); });
    connect(tabs_->tabBar(), &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int index = tabs_->tabBar()->tabAt(at);
        if (index >= 0)
            TabMenu(index)->popup(tabs_->tabBar()->mapToGlobal(at));
    });
    connect(tabs_, &QTabWidget::currentChanged, this, &TTabDockHost::CurrentChanged);
}

TTabDockHost::~TTabDockHost()
{
    // Pages still here are not ours to delete.
    for (const Entry& e : entries_) {
        e.window->removeEventFilter(this);
        e.window->setParent(nullptr);
    }
}

void TTabDockHost::AddPage(QWidget* window, TDockPage* page)
{
    if (!window || IndexOf(window) >= 0)
        return;
    auto* container = new QWidget;
    container->setObjectName("DockPage");
    auto* column = new QVBoxLayout(container);
    column->setContentsMargins(0, 0, 0, 0);
    window->setParent(container, Qt::Widget);
    column->addWidget(window);
    window->show();
    entries_.push_back({window, page, container});
    window->installEventFilter(this);
    tabs_->addTab(container, window->windowTitle());
    FollowCaption(window);
}

void TTabDockHost::TakePage(QWidget* window, QWidget* parent)
{
    const int index = IndexOf(window);
    if (index < 0)
        return;
    Entry entry = entries_[static_cast<std::size_t>(index)];
    entries_.erase(entries_.begin() + index);
    window->removeEventFilter(this);
    tabs_->removeTab(index);
    window->setParent(parent, Qt::Window);
    delete entry.container;
}

int TTabDockHost::Count() const
{
    return static_cast<int>(entries_.size());
}

int TTabDockHost::IndexOf(const QWidget* window) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].window == window)
            return static_cast<int>(i);
    return -1;
}

QWidget* TTabDockHost::Page(int index) const
{
    return index >= 0 && index < Count() ? entries_[static_cast<std::size_t>(index)].window : nullptr;
}

QWidget* TTabDockHost::Current() const
{
    return Page(tabs_->currentIndex());
}

void TTabDockHost::Select(const QWidget* window)
{
    const int index = IndexOf(window);
    if (index >= 0)
        tabs_->setCurrentIndex(index);
}

QMenu* TTabDockHost::TabMenu(int index)
{
    menuIndex_ = index;
    return menu_;
}

void TTabDockHost::CurrentChanged(int index)
{
    QWidget* window = Page(index);
    if (!window)
        return;
    setWindowTitle(window->windowTitle());
    TDockPage* page = entries_[static_cast<std::size_t>(index)].page;
    if (QWidget* focus = page ? page->DockFocus() : nullptr)
        focus->setFocus(Qt::TabFocusReason);
}

void TTabDockHost::RequestUndock(int index, std::optional<QPoint> at)
{
    QWidget* window = Page(index);
    if (window && OnUndock)
        OnUndock(window, at);
}

void TTabDockHost::FollowCaption(const QWidget* window)
{
    const int index = IndexOf(window);
    if (index < 0)
        return;
    tabs_->setTabText(index, window->windowTitle());
    if (index == tabs_->currentIndex())
        setWindowTitle(window->windowTitle());
}

void TTabDockHost::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (OnCloseRequest)
        OnCloseRequest();
}

bool TTabDockHost::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowTitleChange && watched->isWidgetType()) {
        FollowCaption(static_cast<QWidget*>(watched));
        return false;
    }
    QTabBar* bar = tabs_->tabBar();
    if (watched != bar)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int index = bar->tabAt(mouse->position().toPoint());
        if (index >= 0) {
            pressedTab_ = -1;
            RequestUndock(index, std::nullopt);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        pressedTab_ = mouse->button() == Qt::LeftButton ? bar->tabAt(mouse->position().toPoint()) : -1;
        break;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QRect keep = bar->rect().adjusted(-kTearDistance, -kTearDistance, kTearDistance, kTearDistance);
        if (pressedTab_ >= 0 && (mouse->buttons() & Qt::LeftButton) && !keep.contains(mouse->position().toPoint())) {
            const int index = pressedTab_;
            pressedTab_ = -1;
            RequestUndock(index, mouse->globalPosition().toPoint());
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        pressedTab_ = -1;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zel
