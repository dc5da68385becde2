#pragma once
#include <QPoint>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QMenu;
class QTabWidget;

namespace zel {

class TDockPage;

// The tabbed dock host: one top-level window with a tab per docked window,
// captions following the windows' captions. It never closes by itself: its
// close box and the ways out of a tab (dragging it off the bar, a double
// click, the menu item "분리") are reported to its owner from inside the
// host's events: the owner must not delete the host before they are over.
class TTabDockHost : public QWidget {
    Q_OBJECT
public:
    TTabDockHost();
    ~TTabDockHost() override;

    // Takes `window` in as the last page and shows it there.
    void AddPage(QWidget* window, TDockPage* page);
    // Gives `window` back as a hidden top-level window under `parent`.
    void TakePage(QWidget* window, QWidget* parent);

    int Count() const;
    int IndexOf(const QWidget* window) const;
    QWidget* Page(int index) const;
    QWidget* Current() const;
    void Select(const QWidget* window);
    QTabWidget* Tabs() const { return tabs_; }
    // The context menu of tab `index`; its one item "분리" undocks the page.
    QMenu* TabMenu(int index);

    // The close box was pressed.
    std::function<void()> OnCloseRequest;
    // A page asks to leave; `at` is the pointer when its tab was dragged off.
    std::function<void(QWidget* window, std::optional<QPoint> at)> OnUndock;

    // How far the pointer may leave the tab bar before the tab comes off.
    static constexpr int kTearDistance = 24;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QWidget* window;
        TDockPage* page;
        QWidget* container;
    };
    void CurrentChanged(int index);
    void RequestUndock(int index, std::optional<QPoint> at);
    void FollowCaption(const QWidget* window);

    QTabWidget* tabs_;
    QMenu* menu_;
    int menuIndex_ = -1;
    int pressedTab_ = -1;
    std::vector<Entry> entries_;
};

} // namespace zel
