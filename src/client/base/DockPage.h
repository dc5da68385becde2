#pragma once
#include <QRect>
#include <functional>
#include <optional>

class QWidget;

namespace zel {

// A top-level window that a tab dock host can take in as a page. While it is
// a page, the dock asks first on every show and hide, and the window keeps
// the geometry it had as a window for saving and for its way out again.
class TDockPage {
public:
    virtual ~TDockPage() = default;

    // Asked on every show (true) and hide (false); true when it took the call.
    std::function<bool(bool visible)> VisibilityHook;
    // The window's geometry as a top-level window, set while it is a page.
    std::optional<QRect> UndockedGeometry;

    // The widget that takes the focus when the page is brought forward.
    virtual QWidget* DockFocus() const = 0;

protected:
    bool HookVisibility(bool visible) { return VisibilityHook && VisibilityHook(visible); }
};

} // namespace zel
