#include "client/term/TermView.h"

#include <QPainter>
#include <algorithm>

namespace zel {

TTermView::TTermView(TBackDraw& draw, int offWidth, int offHeight, QWidget* parent)
    : QWidget(parent), draw_(draw), off_(offWidth, offHeight, 0), image_(offWidth, offHeight, QImage::Format_RGB32),
      bar_(new QScrollBar(Qt::Vertical, this))
{
    image_.fill(Qt::black);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(bar_, &QScrollBar::valueChanged, this, [this](int v) {
        if (!settingBar_)
            ScrollTo(v);
    });
}

int TTermView::ScrollBarWidth() const
{
    return bar_->sizeHint().width();
}

void TTermView::DrawRow(const TTermLine& line, int columns, int y, const TTermColours& colours)
{
    RenderTermRow(draw_, off_, line, columns, y, off_.Width(), colours);
    Mirror(y, 16);
}

void TTermView::FillAll(int colourIndex)
{
    off_.Fill(draw_.Colour(colourIndex));
    Mirror(0, off_.Height());
}

void TTermView::Mirror(int y, int h)
{
    const int y0 = std::max(y, 0), y1 = std::min(y + h, off_.Height());
    for (int yy = y0; yy < y1; ++yy) {
        const std::uint32_t* src = off_.Line(yy);
        auto* dst = reinterpret_cast<QRgb*>(image_.scanLine(yy));
        for (int x = 0; x < off_.Width(); ++x)
            dst[x] = 0xFF000000u | src[x];
    }
}

void TTermView::PlaceScrollBar()
{
    const int w = ScrollBarWidth();
    bar_->setGeometry(width() - w, 0, w, height());
}

void TTermView::UpdateScrollBar(int max, int pos)
{
    settingBar_ = true;
    bar_->setRange(0, max);
    bar_->setValue(pos);
    settingBar_ = false;
}

void TTermView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, image_, 0, 0, width() - ScrollBarWidth(), height());
}

} // namespace zel
