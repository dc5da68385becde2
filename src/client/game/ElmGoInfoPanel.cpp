#include "client/game/ElmGoInfoPanel.h"

#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "client/base/QtText.h"
#include "core/base/Cp949.h"
#include "core/ports/Clock.h"

namespace zel {

namespace {

constexpr int kFace = 34;
constexpr int kClockText = 136;

QString Padded(const QString& text)
{
    return text.leftJustified(30, QLatin1Char(' '));
}

} // namespace

QColor BgrColour(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

TElmGoInfoPanel::TElmGoInfoPanel(const Clock& clock, QWidget* parent)
    : QWidget(parent), clock_(clock), timer_(new QTimer(this))
{
    setObjectName("GameInfo");
    setAutoFillBackground(false);
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, &TElmGoInfoPanel::Tick);
    Listen(own_);
    SetFonts(QString::fromUtf8("굴림체"), 9, true);
}

TElmGoInfoPanel::~TElmGoInfoPanel()
{
    shown_->OnChanged = nullptr;
}

void TElmGoInfoPanel::Listen(TElmGoInfo& model)
{
    model.OnChanged = [this] { Refresh(); };
}

void TElmGoInfoPanel::ShowModel(TElmGoInfo* model)
{
    TElmGoInfo* next = model ? model : &own_;
    if (next != shown_)
        shown_->OnChanged = nullptr;
    shown_ = next;
    Listen(*shown_);
    Refresh();
}

void TElmGoInfoPanel::SetColours(int blackFace, int blackHands, int whiteHands, int whiteFace)
{
    blackFace_ = BgrColour(blackFace);
    blackHands_ = BgrColour(blackHands);
    whiteHands_ = BgrColour(whiteHands);
    whiteFace_ = BgrColour(whiteFace);
    update();
}

void TElmGoInfoPanel::SetFonts(const QString& family, int size, bool bold)
{
    font_ = QFont(family, size);
    font_.setBold(bold);
    font_.setStyleHint(QFont::TypeWriter);
    Refresh();
}

void TElmGoInfoPanel::Refresh()
{
    setMinimumHeight(sizeHint().height());
    setMaximumHeight(sizeHint().height());
    SyncTimer();
    update();
}

void TElmGoInfoPanel::SyncTimer()
{
    const bool on = Model().TmEnabled() && Model().Running();
    if (on && !timer_->isActive())
        timer_->start();
    else if (!on && timer_->isActive())
        timer_->stop();
}

int TElmGoInfoPanel::LineHeight() const
{
    return QFontMetrics(font_).height() + 2;
}

QSize TElmGoInfoPanel::sizeHint() const
{
    return {273, StripHeight() + 6 + Model().Rows() * LineHeight() + 4};
}

QString TElmGoInfoPanel::RowLabel(int row)
{
    static const char* const labels[9] = {"  흑  ", "  백  ", "방  법", "현재수", "잡은돌",
                                          "결  과", "일  시", "명  칭", "시  간"};
    return row >= 1 && row <= 9 ? QString::fromUtf8(labels[row - 1]) : QString();
}

QString TElmGoInfoPanel::RowText(int row) const
{
    switch (row) {
    case 1:
        return ToQ(Model().BPlayer);
    case 2:
        return ToQ(Model().WPlayer);
    case 3:
        return ToQ(Model().Method);
    case 4:
        return ToQ(Model().SeqRowText());
    case 5:
        return QString::fromUtf8("흑(") + ToQ(Model().nWSDied) + QString::fromUtf8(") / 백(") + ToQ(Model().nBSDied) +
               ")";
    case 6:
        return ToQ(Model().PResult);
    case 7:
        return ToQ(Model().PlayDate);
    case 8:
        return ToQ(Model().PlayName);
    default:
        return {};
    }
}

void TElmGoInfoPanel::PaintClockFace(QPainter& p, const QRect& r, const QColor& face, const QColor& hands, int used,
                                     bool sector)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc = QRectF(r).adjusted(1.5, 1.5, -1.5, -1.5);
    const QPointF centre = disc.center();
    const double radius = disc.width() / 2;
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    p.setBrush(face);
    p.drawEllipse(disc);
    if (sector) {
        // Qt counts sixteenths of a degree anticlockwise from 3 o'clock.
        const int span = -((used % 60) * 6) * 16;
        p.setPen(Qt::NoPen);
        p.setBrush(hands);
        p.drawPie(disc.adjusted(2, 2, -2, -2), 90 * 16, span == 0 ? -16 : span);
    } else {
        auto hand = [&](double value, double length, double width) {
            const double angle = (value + 45) * 2 * std::numbers::pi / 60;
            p.setPen(QPen(hands, width, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(centre, centre + QPointF(std::cos(angle), std::sin(angle)) * radius * length);
        };
        hand(used / 60, 0.7, 2.0);
        hand(used % 60, 0.9, 1.0);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(hands);
    p.drawEllipse(centre, 2.0, 2.0);
    p.restore();
}

void TElmGoInfoPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    p.setFont(font_);
    const QFontMetrics fm(font_);
    const int line = LineHeight();
    int top = 3;

    if (Model().TmEnabled()) {
        const int whole = kFace * 2 + kClockText;
        const bool faces = width() >= whole + 10;
        const int left = faces ? (width() - whole) / 2 : (width() - kClockText) / 2;
        const int textLeft = faces ? left + kFace : left;
        const TSideClock& b = Model().Side(1);
        const TSideClock& w = Model().Side(2);
        const bool running = Model().Running() && Model().InfoMode == 0;
        if (faces) {
            PaintClockFace(p, QRect(left, top, kFace, kFace), blackFace_, blackHands_, b.Used,
                           b.InByoyomi && running && Model().NowStone() == 1);
            PaintClockFace(p, QRect(textLeft + kClockText, top, kFace, kFace), whiteFace_, whiteHands_, w.Used,
                           w.InByoyomi && running && Model().NowStone() == 2);
        }
        auto remain = [](const TSideClock& c) {
            const int left = std::abs(static_cast<int>(c.Limit) - static_cast<int>(c.Used));
            return QString::fromUtf8("%1분%2초").arg(left / 60).arg(left % 60, 2);
        };
        auto byo = [](const TSideClock& c) { return QString::fromUtf8("%1초%2회").arg(c.PeriodLen).arg(c.Periods, 2); };
        const QRect upper(textLeft + 3, top, kClockText - 6, kFace / 2);
        const QRect lower(textLeft + 3, top + kFace / 2, kClockText - 6, kFace / 2);
        p.setPen(BgrColour(0x400000));
        p.drawText(upper, Qt::AlignLeft | Qt::AlignVCenter, remain(b));
        p.drawText(upper, Qt::AlignRight | Qt::AlignVCenter, remain(w));
        p.setPen(BgrColour(0xFF0000));
        p.drawText(lower, Qt::AlignLeft | Qt::AlignVCenter, byo(b));
        p.drawText(lower, Qt::AlignRight | Qt::AlignVCenter, byo(w));
        top += kFace + 3;
    }

    const int labelWidth = 2 * fm.height() + 15;
    for (int row = 1; row <= Model().Rows() && row <= 9; ++row) {
        const QRect label(2, top, labelWidth, line);
        const QRect value(labelWidth + 4, top, width() - labelWidth - 6, line);
        p.fillRect(label.adjusted(0, 0, 0, -1), palette().color(QPalette::Mid));
        p.fillRect(value.adjusted(0, 0, 0, -1), palette().color(QPalette::Base));
        p.setPen(palette().color(QPalette::ButtonText));
        p.drawText(label, Qt::AlignCenter, RowLabel(row).trimmed());
        p.setPen(palette().color(QPalette::Text));
        p.drawText(value.adjusted(8, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, Padded(RowText(row)));
        top += line;
    }
}

void TElmGoInfoPanel::Tick()
{
    // A model kept by the game session is ticked there; the panel only
    // redraws it.
    if (shown_ == &own_)
        own_.Tick(clock_.Now());
    update();
}

} // namespace zel
