#include "client/engine/GoPaintBox.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "client/base/QtText.h"

namespace zel {

namespace {

const QColor kNavy(0, 0, 0x80);
const QColor kYellow(0xFF, 0xFF, 0);
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kGrey(0x80, 0x80, 0x80);

// The faces the board asks for, each followed by an installed look-alike.
const QStringList kSerifFace{"Times New Roman", "Liberation Serif", "DejaVu Serif"};
const QStringList kSmallSerifFace{"MS Serif", "Liberation Serif", "DejaVu Serif"};
const QStringList kNarrowFace{"Impact", "Liberation Sans Narrow", "DejaVu Sans Condensed"};
const QStringList kLongNumberFace{"MS Sans Serif", "Liberation Sans Narrow", "DejaVu Sans Condensed"};
const QStringList kHangulFace{QString::fromUtf8("굴림체"), "NanumGothicCoding", "NanumGothic"};

// A font of `size` points as the board measures them (96 dpi).
QFont BoardFont(const QStringList& faces, int size, bool bold = false)
{
    QFont font;
    font.setFamilies(faces);
    font.setPixelSize(std::max(1, (size * 96 + 36) / 72));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// Largest size below 18 at which `fits` holds; 0 when none does.
template <typename Fits> int FitSize(Fits fits)
{
    int size = 18;
    do {
        --size;
    } while (size > 0 && !fits(size));
    return size;
}

bool ValidColour(std::uint8_t c)
{
    return c == kBlack || c == kWhite;
}

// Joins a mask sheet (white = board shows) and a stone sheet into one
// premultiplied picture; null when either is not a full sheet.
QImage JoinSprites(const QImage& mask, const QImage& stone)
{
    if (mask.width() < TPaintGeometry::kSpriteSheetWidth || mask.height() < TPaintGeometry::kSpriteSheetHeight ||
        stone.width() < TPaintGeometry::kSpriteSheetWidth || stone.height() < TPaintGeometry::kSpriteSheetHeight)
        return {};
    const QImage m = mask.convertToFormat(QImage::Format_RGB32);
    const QImage s = stone.convertToFormat(QImage::Format_RGB32);
    QImage out(TPaintGeometry::kSpriteSheetWidth, TPaintGeometry::kSpriteSheetHeight,
               QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.height(); ++y) {
        const auto* mr = reinterpret_cast<const QRgb*>(m.constScanLine(y));
        const auto* sr = reinterpret_cast<const QRgb*>(s.constScanLine(y));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int alpha = 255 - qGray(mr[x]);
            o[x] = qRgba(std::min(qRed(sr[x]), alpha), std::min(qGreen(sr[x]), alpha), std::min(qBlue(sr[x]), alpha),
                         alpha);
        }
    }
    return out;
}

} // namespace

TGoPaintBox::TGoPaintBox(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFixedSize(Geometry_.ControlSide(), Geometry_.ControlSide());
    ResizeCanvas();
    Constructed_ = true;
    FitFonts();
    RedrawAll();
}

void TGoPaintBox::SetBoardImage(const QImage& image)
{
    BoardImage_ = image.convertToFormat(QImage::Format_RGB32);
    RedrawAll();
}

void TGoPaintBox::SetStoneMask(const QImage& image)
{
    StoneMask_ = image;
    PrepareSprites();
    RedrawAll();
}

void TGoPaintBox::SetBlackStone(const QImage& image)
{
    BlackStone_ = image;
    PrepareSprites();
    RedrawAll();
}

void TGoPaintBox::SetWhiteStone(const QImage& image)
{
    WhiteStone_ = image;
    PrepareSprites();
    RedrawAll();
}

void TGoPaintBox::LoadDefaultPictures()
{
    BoardImage_ = QImage(":/board/board.bmp").convertToFormat(QImage::Format_RGB32);
    StoneMask_ = QImage(":/board/stonemask.bmp");
    BlackStone_ = QImage(":/board/blackstone.bmp");
    WhiteStone_ = QImage(":/board/whitestone.bmp");
    PrepareSprites();
    RedrawAll();
}

void TGoPaintBox::PrepareSprites()
{
    BlackSprites_ = JoinSprites(StoneMask_, BlackStone_);
    WhiteSprites_ = JoinSprites(StoneMask_, WhiteStone_);
}

void TGoPaintBox::SetSzBoard(int size)
{
    if (!Geometry_.SetBoard(size))
        return;
    setFixedSize(Geometry_.ControlSide(), Geometry_.ControlSide());
    ResizeCanvas();
    if (Constructed_)
        FitFonts();
    RedrawAll();
}

void TGoPaintBox::ResizeCanvas()
{
    Canvas_ = QImage(Geometry_.ControlSide(), Geometry_.ControlSide(), QImage::Format_ARGB32_Premultiplied);
    Canvas_.fill(Qt::transparent);
}

void TGoPaintBox::FitFonts()
{
    const int room = Cell() - Cell() / 3;
    SizeNum3_ =
        FitSize([&](int s) { return QFontMetrics(BoardFont(kNarrowFace, s)).horizontalAdvance("000") <= room; });
    SizeNum2_ = FitSize([&](int s) { return QFontMetrics(BoardFont(kSerifFace, s)).horizontalAdvance("00") <= room; });
    SizeHangul_ = FitSize([&](int s) {
        return QFontMetrics(BoardFont(kSerifFace, s)).horizontalAdvance(QString::fromUtf8("가")) <= room;
    });
    SizeLetter_ = FitSize([&](int s) { return QFontMetrics(BoardFont(kSerifFace, s)).height() <= room; });
}

std::uint8_t TGoPaintBox::Colour(int x, int y) const
{
    return TPaintGeometry::IsOnBoard(x, y) ? Colours_[PointIndex(x, y)] : kEmpty;
}

int TGoPaintBox::Mark(int x, int y) const
{
    return TPaintGeometry::IsOnBoard(x, y) ? Marks_[PointIndex(x, y)] : 0;
}

void TGoPaintBox::Touch(int x, int y)
{
    const TPixelRect r = Geometry_.PointRect(x, y);
    update(r.Left, r.Top, r.Side, r.Side);
}

void TGoPaintBox::PaintEmptyCell(int x, int y, bool withGrid)
{
    const TPixelRect r = Geometry_.PointRect(x, y);
    QPainter p(&Canvas_);
    if (BoardImage_.isNull()) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(r.Left, r.Top, r.Side, r.Side, Qt::transparent);
    } else {
        // The texture tiles from the top left, so the cell's source wraps.
        const int w = BoardImage_.width();
        const int h = BoardImage_.height();
        for (int dy = 0; dy < r.Side;) {
            const int sy = (r.Top + dy) % h;
            const int ch = std::min(r.Side - dy, h - sy);
            for (int dx = 0; dx < r.Side;) {
                const int sx = (r.Left + dx) % w;
                const int cw = std::min(r.Side - dx, w - sx);
                p.drawImage(QPoint(r.Left + dx, r.Top + dy), BoardImage_, QRect(sx, sy, cw, ch));
                dx += cw;
            }
            dy += ch;
        }
    }
    if (!withGrid)
        return;
    const int cx = Geometry_.CentreX(x);
    const int cy = Geometry_.CentreY(y);
    const int left = x == 1 ? cx : r.Left;
    const int right = x == 19 ? cx + 1 : r.Left + r.Side;
    const int top = y == 1 ? cy : r.Top;
    const int bottom = y == 19 ? cy + 1 : r.Top + r.Side;
    p.fillRect(left, cy, right - left, 1, Qt::black);
    p.fillRect(cx, top, 1, bottom - top, Qt::black);
    p.end();
    if (TPaintGeometry::IsStarPoint(x, y))
        PaintRuns(Geometry_.StarPointRuns(x, y), Qt::black);
}

void TGoPaintBox::PaintRuns(const std::vector<TPixelRun>& runs, const QColor& colour)
{
    QPainter p(&Canvas_);
    for (const TPixelRun& run : runs)
        p.fillRect(run.X1, run.Y, run.X2 - run.X1 + 1, 1, colour);
}

void TGoPaintBox::PaintStone(std::uint8_t colour, int x, int y)
{
    // Start from the clean cell so that drawing a stone twice looks the same.
    PaintEmptyCell(x, y, true);
    const TPixelRect r = Geometry_.PointRect(x, y);
    const QImage& sprites = colour == kBlack ? BlackSprites_ : WhiteSprites_;
    QPainter p(&Canvas_);
    if (Geometry_.HasSprite() && !sprites.isNull()) {
        const TPixelRect s = Geometry_.SpriteSource();
        p.drawImage(QPoint(r.Left, r.Top), sprites, QRect(s.Left, s.Top, s.Side, s.Side));
        return;
    }
    const QColor c = colour == kBlack ? Qt::black : Qt::white;
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(c);
    p.setBrush(c);
    p.drawEllipse(QRectF(r.Left + 0.5, r.Top + 0.5, r.Side - 1.0, r.Side - 1.0));
}

void TGoPaintBox::PaintText(int x, int y, const QFont& font, const QColor& colour, const QString& text)
{
    const TPixelRect r = Geometry_.PointRect(x, y);
    QPainter p(&Canvas_);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRect(r.Left, r.Top, r.Side, r.Side), Qt::AlignCenter, text);
}

void TGoPaintBox::PaintSquare(int x, int y, int sizeClass, bool blackFill)
{
    const int f = Geometry_.SquareExtent(sizeClass);
    const int cx = Geometry_.CentreX(x);
    const int cy = Geometry_.CentreY(y);
    const QColor fill = blackFill ? Qt::black : Qt::white;
    QPainter p(&Canvas_);
    // A framed square from (l, t) to (r, b), right and bottom exclusive.
    auto framed = [&](int l, int t, int rr, int b, const QColor& pen) {
        p.fillRect(l, t, rr - l, b - t, pen);
        if (rr - l > 2 && b - t > 2)
            p.fillRect(l + 1, t + 1, rr - l - 2, b - t - 2, fill);
    };
    p.fillRect(cx - f, cy - f, 2 * f, 2 * f, fill);
    if (sizeClass >= 3)
        framed(cx - f - 2, cy - f - 2, cx + f + 2, cy + f + 2, kGrey);
    else
        framed(cx - f - 1, cy - f - 1, cx + f + 1, cy + f + 1, kGrey);
}

void TGoPaintBox::PaintMark(int x, int y, int mark)
{
    const std::uint8_t colour = Colour(x, y);
    const bool large = Cell() >= 20;
    QFont font = large ? BoardFont(kSerifFace, SizeNum2_, true) : BoardFont(kSmallSerifFace, SizeNum2_);
    int size = SizeNum2_;
    switch (ClassifyMark(mark)) {
    case TMarkKind::None:
        return;
    case TMarkKind::Number:
        break;
    case TMarkKind::LongNumber:
        size = SizeNum3_;
        font = BoardFont(kLongNumberFace, size, large);
        break;
    case TMarkKind::LastMove:
        PaintRuns(Geometry_.TriangleRuns(x, y), colour == kBlack ? kYellow : kNavy);
        return;
    case TMarkKind::Letter:
        size = SizeLetter_;
        font = large ? BoardFont(kSerifFace, size, true) : BoardFont(kSmallSerifFace, size);
        break;
    case TMarkKind::Hangul:
        size = SizeHangul_;
        font = BoardFont(kHangulFace, size, large);
        break;
    case TMarkKind::BlackPoint:
    case TMarkKind::WhitePoint:
        PaintSquare(x, y, 3, mark == kMarkBlackPoint);
        return;
    }
    if (size <= 0)
        return;
    QColor ink = kNavy;
    if (colour == kBlack)
        ink = Qt::white;
    else if (colour == kWhite)
        ink = Qt::black;
    else
        PaintEmptyCell(x, y, false);
    PaintText(x, y, font, ink, ToQ(MarkText(mark)));
}

void TGoPaintBox::DrawPoint(std::uint8_t colour, int x, int y, int mark)
{
    if (!TPaintGeometry::IsOnBoard(x, y))
        return;
    if (!ValidColour(colour))
        colour = kEmpty;
    Colours_[PointIndex(x, y)] = colour;
    Marks_[PointIndex(x, y)] = mark;
    if (colour == kEmpty)
        PaintEmptyCell(x, y, true);
    else
        PaintStone(colour, x, y);
    DrawMark(x, y, false, mark);
    PaintSuggestion(x, y);
    Touch(x, y);
}

void TGoPaintBox::DrawMark(int x, int y, bool clear, int mark)
{
    if (!TPaintGeometry::IsOnBoard(x, y))
        return;
    if (clear && Mark(x, y) > 0) {
        DrawPoint(Colour(x, y), x, y, 0);
        return;
    }
    if (mark <= 0)
        return;
    Marks_[PointIndex(x, y)] = mark;
    PaintMark(x, y, mark);
    Touch(x, y);
}

void TGoPaintBox::RedrawAll()
{
    Canvas_.fill(Qt::transparent);
    const int side = szBoard();
    if (!BoardImage_.isNull()) {
        QPainter p(&Canvas_);
        const int tw = std::min(BoardImage_.width(), side);
        const int th = std::min(BoardImage_.height(), side);
        for (int ty = 0; ty < side; ty += th)
            for (int tx = 0; tx < side; tx += tw)
                p.drawImage(QPoint(tx, ty), BoardImage_, QRect(0, 0, std::min(tw, side - tx), std::min(th, side - ty)));
    }
    {
        QPainter p(&Canvas_);
        const int half = Half();
        const int end = Geometry_.LineEnd();
        for (int i = 0; i < 19; ++i) {
            const int at = i * Cell() + half;
            p.fillRect(half, at, end - half, 1, Qt::black);
            p.fillRect(at, half, 1, end - half, Qt::black);
        }
    }
    for (int y = 4; y <= 16; y += 6)
        for (int x = 4; x <= 16; x += 6)
            PaintRuns(Geometry_.StarPointRuns(x, y), Qt::black);
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const int i = PointIndex(x, y);
            if (Colours_[i] != kEmpty) {
                PaintStone(Colours_[i], x, y);
                PaintMark(x, y, Marks_[i]);
            } else if (Marks_[i] > 0) {
                PaintMark(x, y, Marks_[i]);
            }
            PaintSuggestion(x, y);
        }
    }
    PaintCoordinates();
    if (AnalysisShown_)
        PaintOverlay();
    if (HoverMode_ && TPaintGeometry::IsOnBoard(HoverX_, HoverY_))
        PaintHover(HoverX_, HoverY_);
    update();
}

void TGoPaintBox::PaintCoordinates()
{
    const int size = Geometry_.CoordinateFontSize();
    const QFont font = Cell() >= 20 ? BoardFont(kSerifFace, size) : BoardFont(kSmallSerifFace, size);
    const QFontMetrics fm(font);
    const int edge = szBoard() + TPaintGeometry::kMargin;
    QPainter p(&Canvas_);
    p.setFont(font);
    p.setPen(LNColor_);
    for (int i = 0; i < 19; ++i) {
        const QString row = QString::asprintf("%2d", i + 1);
        const int rowX = std::min(edge - fm.height(), edge - fm.horizontalAdvance(row));
        const int rowY = i * Cell() + (Cell() - fm.height()) / 2 + 1;
        p.drawText(rowX, rowY + fm.ascent(), row);
        const QString column(QChar(i + 65));
        const int colX = i * Cell() + (Cell() - fm.horizontalAdvance(column)) / 2 + 1;
        p.drawText(colX, edge - fm.height() + fm.ascent(), column);
    }
}

void TGoPaintBox::SetColours(const TPointColours& colours)
{
    for (int i = 0; i < kPointCount; ++i)
        Colours_[i] = ValidColour(colours[i]) ? colours[i] : kEmpty;
    Marks_.fill(0);
    RedrawAll();
}

void TGoPaintBox::SetColours(const TColourGrid& board)
{
    TPointColours colours{};
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            colours[PointIndex(x, y)] = board[y][x];
    SetColours(colours);
}

void TGoPaintBox::GetColours(TPointColours& colours) const
{
    colours = Colours_;
}

void TGoPaintBox::SetMarks(const TPointValues& marks)
{
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const int old = Mark(x, y);
            const int mark = marks[PointIndex(x, y)];
            // A mark replacing another starts from a clean point so that the
            // two never show on top of each other.
            if (old > 0 && old != mark)
                DrawPoint(Colour(x, y), x, y, mark);
            else
                Marks_[PointIndex(x, y)] = mark;
            if (old <= 0 && mark > 0)
                DrawMark(x, y, false, mark);
        }
    }
}

void TGoPaintBox::ClearMarks()
{
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            if (Colour(x, y) != kEmpty || Mark(x, y) != 0)
                DrawPoint(Colour(x, y), x, y, 0);
}

void TGoPaintBox::ClearLabels()
{
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            if (IsLabelMark(Mark(x, y)))
                DrawPoint(Colour(x, y), x, y, 0);
}

std::string TGoPaintBox::TakeLabels()
{
    const std::string text = LabelListText(Marks_);
    ClearLabels();
    return text;
}

void TGoPaintBox::SetHoverMode(bool enabled)
{
    if (TPaintGeometry::IsOnBoard(HoverX_, HoverY_))
        DrawPoint(Colour(HoverX_, HoverY_), HoverX_, HoverY_, Mark(HoverX_, HoverY_));
    HoverX_ = HoverY_ = -1;
    HoverMode_ = enabled;
    setCursor(enabled ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TGoPaintBox::PaintHover(int x, int y)
{
    const int cx = (x - 1) * Cell() + Cell() / 2;
    const int cy = (y - 1) * Cell() + Cell() / 2;
    const int r = Geometry_.HoverRadius();
    QPainter p(&Canvas_);
    p.fillRect(cx - r, cy - r, 2 * r + 1, 2 * r + 1, kNavy);
    if (r >= 2)
        p.fillRect(cx - r + 2, cy - r + 2, 2 * r - 3, 2 * r - 3, Qt::white);
    Touch(x, y);
}

TAnalysisCounts TGoPaintBox::ShowAnalysis(const TPointValues& values)
{
    Analysis_ = values;
    AnalysisShown_ = true;
    const TAnalysisCounts counts = BuildAnalysisOverlay(Analysis_, Colours_).Counts;
    PaintOverlay();
    return counts;
}

void TGoPaintBox::PaintOverlay()
{
    const TAnalysisOverlay overlay = BuildAnalysisOverlay(Analysis_, Colours_);
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const TAnalysisSquare& sq = overlay.Squares[PointIndex(x, y)];
            if (sq.SizeClass > 0) {
                PaintSquare(x, y, sq.SizeClass, sq.BlackFill);
                Touch(x, y);
            }
        }
    }
}

void TGoPaintBox::ShowSuggestion(const std::vector<std::pair<int, int>>& points)
{
    Suggested_.fill(false);
    for (const auto& [x, y] : points)
        if (TPaintGeometry::IsOnBoard(x, y))
            Suggested_[static_cast<std::size_t>(PointIndex(x, y))] = true;
    RedrawAll();
}

void TGoPaintBox::ClearSuggestion()
{
    bool any = false;
    for (bool b : Suggested_)
        any = any || b;
    if (!any)
        return;
    Suggested_.fill(false);
    RedrawAll();
}

bool TGoPaintBox::Suggested(int x, int y) const
{
    return TPaintGeometry::IsOnBoard(x, y) && Suggested_[static_cast<std::size_t>(PointIndex(x, y))];
}

void TGoPaintBox::PaintSuggestion(int x, int y)
{
    // Only a stone still standing is suggested.
    if (!Suggested(x, y) || Colour(x, y) == kEmpty)
        return;
    const TPixelRect r = Geometry_.PointRect(x, y);
    const qreal inset = r.Side * 0.28;
    QPainter p(&Canvas_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xE0, 0x20, 0x20), std::max(2.0, r.Side / 9.0), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(r.Left + inset, r.Top + inset), QPointF(r.Left + r.Side - inset, r.Top + r.Side - inset));
    p.drawLine(QPointF(r.Left + r.Side - inset, r.Top + inset), QPointF(r.Left + inset, r.Top + r.Side - inset));
    Touch(x, y);
}

void TGoPaintBox::HideAnalysis()
{
    AnalysisShown_ = false;
    RedrawAll();
}

void TGoPaintBox::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (const QRect& r : event->region())
        p.drawImage(r.topLeft(), Canvas_, r);
}

void TGoPaintBox::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    DownCol_ = Geometry_.PointAtPixel(at.x());
    DownRow_ = Geometry_.PointAtPixel(at.y());
}

void TGoPaintBox::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const int col = Geometry_.PointAtPixel(at.x());
    const int row = Geometry_.PointAtPixel(at.y());
    if (col == DownCol_ && row == DownRow_ && col >= 1 && row >= 1)
        emit MouseDown(event->button(), event->modifiers(), col, row);
}

void TGoPaintBox::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const int col = Geometry_.PointAtPixel(at.x());
    const int row = Geometry_.PointAtPixel(at.y());
    emit MouseMove(event->modifiers(), col, row);
    if (!HoverMode_ || !TPaintGeometry::IsOnBoard(col, row))
        return;
    if ((col != HoverX_ || row != HoverY_) && TPaintGeometry::IsOnBoard(HoverX_, HoverY_))
        DrawPoint(Colour(HoverX_, HoverY_), HoverX_, HoverY_, Mark(HoverX_, HoverY_));
    HoverX_ = col;
    HoverY_ = row;
    PaintHover(col, row);
}

} // namespace zel
