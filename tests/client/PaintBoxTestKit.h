#pragma once
// Helpers of the board drawing tests: pixel sampling on the control's canvas.
#include <QColor>
#include <QImage>

#include "QtTestApp.h"
#include "client/engine/GoPaintBox.h"

namespace zel::test {

// A base of fixtures whose members are widgets: the application exists first.
struct AppFirst {
    AppFirst() { App(); }
};

inline QColor PixelAt(const TGoPaintBox& box, int px, int py)
{
    return QColor::fromRgba(box.Canvas().pixel(px, py));
}

inline QColor CentreOf(const TGoPaintBox& box, int x, int y)
{
    return PixelAt(box, (x - 1) * box.Cell() + box.Half(), (y - 1) * box.Cell() + box.Half());
}

// The canvas pixels of one point's cell.
inline QImage CellImage(const TGoPaintBox& box, int x, int y)
{
    return box.Canvas().copy((x - 1) * box.Cell(), (y - 1) * box.Cell(), box.Cell(), box.Cell());
}

// How many pixels of a point's cell satisfy `test`.
template <typename Test> int CountInCell(const TGoPaintBox& box, int x, int y, Test test)
{
    const QImage cell = CellImage(box, x, y);
    int n = 0;
    for (int py = 0; py < cell.height(); ++py)
        for (int px = 0; px < cell.width(); ++px)
            if (test(QColor::fromRgba(cell.pixel(px, py))))
                ++n;
    return n;
}

inline bool IsNavy(const QColor& c)
{
    return c.blue() > 90 && c.red() < 70 && c.green() < 70;
}

inline bool IsYellow(const QColor& c)
{
    return c.red() > 200 && c.green() > 200 && c.blue() < 80;
}

inline bool IsDark(const QColor& c)
{
    return c.lightness() < 60;
}

inline bool IsLight(const QColor& c)
{
    return c.lightness() > 200;
}

} // namespace zel::test
