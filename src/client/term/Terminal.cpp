#include "client/term/Terminal.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "client/base/QtText.h"
#include "client/term/TermText.h"

namespace zel {
namespace {

constexpr int kOffWidth = 1000, kOffHeight = 860;

QColor ToColor(std::uint32_t rgb)
{
    return QColor::fromRgb(0xFF000000u | rgb);
}

} // namespace

TTerminal::TTerminal(TBackDraw& draw, QWidget* parent)
    : TTermView(draw, kOffWidth, kOffHeight, parent), font_(TermFontFamily())
{
    setMouseTracking(true);
    model_.OnLine = [this](const std::string& s) {
        if (OnLine)
            OnLine(s);
    };
    model_.OnPacket = [this](const std::string& s) {
        if (OnPacket)
            OnPacket(s);
    };
    model_.OnChange = [this] {
        if (OnChange)
            OnChange();
    };
    FillAll(model_.EmulBGC());
}

TTermColours TTerminal::Colours() const
{
    return TTermColours{model_.EmulFGC(), model_.EmulBGC(), baseDraw_};
}

void TTerminal::Feed(std::string_view bytes)
{
    if (!model_.ViewAtEnd())
        model_.SetSBarPos(model_.SBarMax());
    model_.Feed(bytes);
    if (hotRow_ && model_.RowDirty(hotRow_))
        hotRow_ = 0;
    RepaintDirty(false);
}

void TTerminal::PrintLine(const std::string& cp949)
{
    if (!model_.ViewAtEnd())
        model_.SetSBarPos(model_.SBarMax());
    model_.WriteLocal(cp949);
    if (hotRow_ && model_.RowDirty(hotRow_))
        hotRow_ = 0;
    RepaintDirty(false);
}

void TTerminal::RepaintDirty(bool all)
{
    for (int r = 1; r <= model_.Rows(); ++r) {
        if (!all && !model_.RowDirty(r))
            continue;
        const int y = (r - 1) * cellH_;
        if (smallFont_)
            DrawSmallRow(model_.ViewRow(r), y);
        else
            DrawRow(model_.ViewRow(r), model_.Columns(), y, Colours());
        update(0, y, width(), cellH_);
    }
    model_.ClearDamage();
    UpdateScrollBar(model_.SBarMax(), model_.SBarPos());
    if (caretOn_)
        update();
}

// The small-font mode writes runs with the system font instead of the bitmaps.
void TTerminal::DrawSmallRow(const TTermLine& line, int y)
{
    QPainter p(&image_);
    p.setFont(font_);
    p.fillRect(0, y, image_.width(), cellH_, ToColor(draw_.Colour(model_.EmulBGC())));
    for (int c = 0; c < model_.Columns();) {
        const TTermCell& cell = line[static_cast<std::size_t>(c)];
        if (cell.ch == 0) {
            ++c;
            continue;
        }
        const int width = cell.ch >= 0x80 && c + 1 < kTermColumns ? 2 : 1;
        std::string ch(1, static_cast<char>(cell.ch));
        if (width == 2)
            ch.push_back(static_cast<char>(line[static_cast<std::size_t>(c + 1)].ch));
        const QRect box(c * cellW_, y, width * cellW_, cellH_);
        if (!baseDraw_)
            p.fillRect(box, ToColor(draw_.Colour(cell.bg)));
        p.setPen(ToColor(draw_.Colour(cell.fg)));
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, ToQ(ch));
        c += width;
    }
}

void TTerminal::SetColours(int fore, int back)
{
    model_.SetColours(fore, back);
    // The strip below the last whole row takes the new background too.
    FillAll(model_.EmulBGC());
    RepaintDirty(true);
}

void TTerminal::SetFontName(const QString& name)
{
    font_.setFamily(name);
    resizeEvent(nullptr);
}

void TTerminal::SetIMBtnColours(int fore, int back)
{
    imBtnFc_ = std::clamp(fore, 0, 16);
    imBtnBc_ = std::clamp(back, 0, 16);
    update();
}

void TTerminal::SetCaretOn(bool on)
{
    caretOn_ = on;
    update();
}

void TTerminal::SetBaseDraw(bool on)
{
    baseDraw_ = on;
    FillAll(model_.EmulBGC());
    RepaintDirty(true);
}

void TTerminal::SetSBarPos(int pos)
{
    ScrollTo(pos);
}

void TTerminal::ScrollTo(int pos)
{
    model_.SetSBarPos(pos);
    hotRow_ = 0;
    RepaintDirty(true);
}

// Geometry: 8x16 cells from 80 pixels of height up, else the largest system
// font size that fits five rows.
void TTerminal::resizeEvent(QResizeEvent*)
{
    PlaceScrollBar();
    const int h = std::max(height(), 1);
    smallFont_ = h < 80 || !draw_.Loaded();
    if (smallFont_) {
        int size = 6;
        for (int s = 6; s <= 14; ++s) {
            QFont f(font_);
            f.setPixelSize(s);
            if (QFontMetrics(f).height() * 5 <= h)
                size = s;
        }
        font_.setPixelSize(size);
        const QFontMetrics fm(font_);
        cellH_ = std::max(fm.height(), 1);
        cellW_ = std::max(fm.horizontalAdvance('0'), 1);
    } else {
        cellW_ = 8;
        cellH_ = 16;
    }
    model_.Resize((width() - ScrollBarWidth()) / cellW_, h / cellH_);
    FillAll(model_.EmulBGC());
    RepaintDirty(true);
}

void TTerminal::paintEvent(QPaintEvent* event)
{
    TTermView::paintEvent(event);
    QPainter p(this);
    if (hotRow_ > 0 && !smallFont_) {
        TPixmap strip(kTermColumns * 8, 16, 0);
        const int y = (hotRow_ - 1) * 16;
        for (int x = 0; x < strip.Width(); ++x)
            for (int r = 0; r < 16; ++r)
                strip.SetPixel(x, r, off_.Pixel(x, y + r));
        RenderItemButton(draw_, strip, model_.Row(hotRow_), hot_, 0, imBtnFc_, imBtnBc_);
        QImage img(strip.Width(), 16, QImage::Format_RGB32);
        for (int r = 0; r < 16; ++r)
            for (int x = 0; x < strip.Width(); ++x)
                img.setPixel(x, r, 0xFF000000u | strip.Pixel(x, r));
        const int x0 = (hot_.first - 1) * 8, w = (hot_.last - hot_.first + 1) * 8;
        p.drawImage(x0, y, img, x0, 0, w, 16);
    } else if (hotRow_ > 0) {
        const QRect box((hot_.first - 1) * cellW_, (hotRow_ - 1) * cellH_, (hot_.last - hot_.first + 1) * cellW_,
                        cellH_);
        p.fillRect(box, ToColor(draw_.Colour(imBtnBc_)));
        p.setPen(ToColor(draw_.Colour(imBtnFc_)));
        p.setFont(font_);
        std::string text;
        for (int c = hot_.first; c <= hot_.last; ++c)
            text.push_back(static_cast<char>(model_.Cell(hotRow_, c).ch ? model_.Cell(hotRow_, c).ch : ' '));
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, ToQ(text));
    }
    if (caretOn_ && model_.ViewAtEnd()) {
        const QRect caret((model_.CsrXPos() - 1) * cellW_, (model_.CsrYPos() - 1) * cellH_ + cellH_ - 3, cellW_, 3);
        p.fillRect(caret, ToColor(draw_.Colour(model_.FGColor())));
    }
}

void TTerminal::Hover(QPoint pos)
{
    int row = 0;
    TItemButton found;
    if (model_.ViewAtEnd() && !dragged_ && pos.x() >= 0 && pos.y() >= 0) {
        const int r = pos.y() / cellH_ + 1, c = pos.x() / cellW_ + 1;
        if (r <= model_.Rows() && c <= model_.Columns()) {
            for (const auto& b : model_.Buttons(r))
                if (c >= b.first && c <= b.last) {
                    row = r;
                    found = b;
                    break;
                }
        }
    }
    if (row != hotRow_ || !(found == hot_)) {
        hotRow_ = row;
        hot_ = found;
        update();
    }
}

void TTerminal::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (pressed_ && (pos - pressPos_).manhattanLength() > 3)
        dragged_ = true;
    Hover(pos);
}

void TTerminal::mousePressEvent(QMouseEvent* event)
{
    pressed_ = true;
    dragged_ = false;
    pressPos_ = event->position().toPoint();
}

void TTerminal::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && !dragged_;
    pressed_ = dragged_ = false;
    if (!click || !OnSend)
        return;
    Hover(event->position().toPoint());
    OnSend(hotRow_ > 0 ? hot_.text : std::string());
}

void TTerminal::leaveEvent(QEvent*)
{
    if (hotRow_) {
        hotRow_ = 0;
        update();
    }
}

} // namespace zel
