#pragma once
#include <QImage>
#include <QScrollBar>
#include <QWidget>

#include "core/term/BackDraw.h"
#include "core/term/Pixmap.h"
#include "core/term/TermRender.h"

namespace zel {

// What the two terminal widgets share: the off-screen pixel buffer that the
// bitmap fonts draw into, its mirror image for painting, and the scroll bar.
class TTermView : public QWidget {
    Q_OBJECT
public:
    TTermView(TBackDraw& draw, int offWidth, int offHeight, QWidget* parent);

    // The pixels on screen, for tests and screenshots.
    const QImage& Image() const { return image_; }
    int ScrollBarWidth() const;

protected:
    // Draws a row of cells into the off-screen buffer at pixel row y and
    // mirrors it; `width` pixels of the row are repainted.
    void DrawRow(const TTermLine& line, int columns, int y, const TTermColours& colours);
    void FillAll(int colourIndex);
    void Mirror(int y, int h);
    void PlaceScrollBar();
    void UpdateScrollBar(int max, int pos);
    // Called when the user moves the scroll bar.
    virtual void ScrollTo(int pos) = 0;

    void paintEvent(QPaintEvent* event) override;

    TBackDraw& draw_;
    TPixmap off_;
    QImage image_;
    QScrollBar* bar_;
    bool settingBar_ = false;
};

} // namespace zel
