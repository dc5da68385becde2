#include "client/base/ToolGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include <cmath>

namespace zel {
namespace {

void Stone(QPainter& p, QPointF centre, qreal r, bool black)
{
    QRadialGradient g(centre - QPointF(r / 3, r / 3), r * 1.4);
    g.setColorAt(0, black ? QColor(110, 110, 110) : QColor(255, 255, 255));
    g.setColorAt(1, black ? QColor(10, 10, 10) : QColor(190, 190, 185));
    p.setPen(QPen(black ? QColor(0, 0, 0) : QColor(120, 120, 120), 0.8));
    p.setBrush(g);
    p.drawEllipse(centre, r, r);
}

void Board(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(QColor(120, 80, 30), 1));
    p.setBrush(QColor(222, 176, 98));
    p.drawRoundedRect(r, 2, 2);
    p.setPen(QPen(QColor(70, 45, 15), 0.8));
    for (int i = 1; i < 4; ++i) {
        qreal x = r.left() + r.width() * i / 4;
        qreal y = r.top() + r.height() * i / 4;
        p.drawLine(QPointF(x, r.top() + 2), QPointF(x, r.bottom() - 2));
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    }
}

void Disk(QPainter& p, const QRectF& r, QColor top, QColor bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(bottom.darker(130), 1));
    p.setBrush(g);
    p.drawEllipse(r);
}

void Page(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(QColor(90, 90, 110), 1));
    p.setBrush(QColor(250, 250, 245));
    p.drawRect(r);
    p.setPen(QPen(QColor(120, 130, 170), 1));
    for (qreal y = r.top() + 5; y < r.bottom() - 2; y += 4)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void Person(QPainter& p, QPointF at, qreal s, QColor c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(at + QPointF(0, -s * 0.55), s * 0.3, s * 0.3);
    QPainterPath body;
    body.moveTo(at + QPointF(-s * 0.55, s * 0.6));
    body.quadTo(at + QPointF(-s * 0.5, -s * 0.15), at + QPointF(0, -s * 0.15));
    body.quadTo(at + QPointF(s * 0.5, -s * 0.15), at + QPointF(s * 0.55, s * 0.6));
    body.closeSubpath();
    p.drawPath(body);
}

void House(QPainter& p, const QRectF& r)
{
    QPainterPath roof;
    roof.moveTo(r.left(), r.top() + r.height() * 0.45);
    roof.lineTo(r.center().x(), r.top());
    roof.lineTo(r.right(), r.top() + r.height() * 0.45);
    roof.closeSubpath();
    p.setPen(QPen(QColor(130, 40, 30), 1));
    p.setBrush(QColor(200, 70, 50));
    p.drawPath(roof);
    p.setPen(QPen(QColor(110, 90, 60), 1));
    p.setBrush(QColor(245, 230, 200));
    p.drawRect(QRectF(r.left() + r.width() * 0.15, r.top() + r.height() * 0.45, r.width() * 0.7, r.height() * 0.55));
}

void Power(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(Qt::white, r.width() / 9, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QRectF ring = r.adjusted(r.width() * 0.25, r.height() * 0.25, -r.width() * 0.25, -r.height() * 0.25);
    p.drawArc(ring, 120 * 16, 300 * 16);
    p.drawLine(QPointF(r.center().x(), r.top() + r.height() * 0.18), QPointF(r.center().x(), r.center().y()));
}

void Letter(QPainter& p, const QRectF& r, const QString& text)
{
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(static_cast<int>(r.height() * 0.7));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, text);
}

void Magnifier(QPainter& p, const QRectF& r)
{
    qreal s = r.width();
    p.setPen(QPen(QColor(60, 60, 70), s / 9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(r.left() + s * 0.62, r.top() + s * 0.62), QPointF(r.right() - 1, r.bottom() - 1));
    p.setPen(QPen(QColor(60, 60, 70), s / 14));
    p.setBrush(QColor(200, 230, 255, 220));
    p.drawEllipse(QRectF(r.left() + 1, r.top() + 1, s * 0.62, s * 0.62));
}

void Gear(QPainter& p, const QRectF& r)
{
    QPointF c = r.center();
    qreal outer = r.width() * 0.48, inner = r.width() * 0.36;
    QPainterPath path;
    for (int i = 0; i < 16; ++i) {
        qreal a = i * M_PI / 8;
        qreal rad = (i % 2 == 0) ? outer : inner;
        QPointF pt = c + QPointF(std::cos(a) * rad, std::sin(a) * rad);
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    p.setPen(QPen(QColor(60, 70, 90), 1));
    p.setBrush(QColor(130, 145, 170));
    p.drawPath(path);
    p.setBrush(QColor(235, 238, 245));
    p.drawEllipse(c, r.width() * 0.14, r.width() * 0.14);
}

void Arrow(QPainter& p, const QRectF& r, QColor c)
{
    QPainterPath a;
    qreal x = r.left(), y = r.top(), w = r.width(), h = r.height();
    a.moveTo(x, y + h * 0.35);
    a.lineTo(x + w * 0.5, y + h * 0.35);
    a.lineTo(x + w * 0.5, y + h * 0.1);
    a.lineTo(x + w, y + h * 0.5);
    a.lineTo(x + w * 0.5, y + h * 0.9);
    a.lineTo(x + w * 0.5, y + h * 0.65);
    a.lineTo(x, y + h * 0.65);
    a.closeSubpath();
    p.setPen(QPen(c.darker(140), 1));
    p.setBrush(c);
    p.drawPath(a);
}

} // namespace

QIcon ToolGlyphs::Icon(Kind kind, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QRectF full(1, 1, s - 2, s - 2);
    switch (kind) {
    case Connect:
        Disk(p, full, QColor(110, 210, 110), QColor(30, 130, 40));
        Power(p, full);
        break;
    case Disconnect:
        Disk(p, full, QColor(240, 120, 110), QColor(170, 30, 30));
        Power(p, full);
        break;
    case ViewGame:
        Board(p, full);
        Stone(p, QPointF(s * 0.38, s * 0.4), s * 0.16, true);
        Stone(p, QPointF(s * 0.63, s * 0.62), s * 0.16, false);
        break;
    case ViewRecord:
        Page(p, QRectF(s * 0.18, s * 0.08, s * 0.64, s * 0.84));
        Stone(p, QPointF(s * 0.7, s * 0.74), s * 0.17, true);
        break;
    case Study:
        Board(p, full);
        Stone(p, QPointF(s * 0.5, s * 0.5), s * 0.2, true);
        p.setPen(Qt::white);
        {
            QFont f = p.font();
            f.setPixelSize(static_cast<int>(s * 0.26));
            f.setBold(true);
            p.setFont(f);
        }
        p.drawText(QRectF(s * 0.3, s * 0.3, s * 0.4, s * 0.4), Qt::AlignCenter, "1");
        break;
    case Joseki:
        Board(p, full);
        Stone(p, QPointF(s * 0.26, s * 0.26), s * 0.13, true);
        Stone(p, QPointF(s * 0.5, s * 0.26), s * 0.13, false);
        Stone(p, QPointF(s * 0.26, s * 0.5), s * 0.13, false);
        break;
    case Environment:
        Gear(p, full);
        break;
    case Help:
        Disk(p, full, QColor(120, 170, 240), QColor(30, 80, 170));
        Letter(p, full, "?");
        break;
    case Exit:
        p.setPen(QPen(QColor(90, 60, 40), 1));
        p.setBrush(QColor(170, 120, 70));
        p.drawRect(QRectF(s * 0.08, s * 0.08, s * 0.45, s * 0.84));
        Arrow(p, QRectF(s * 0.38, s * 0.28, s * 0.58, s * 0.44), QColor(220, 60, 50));
        break;
    case MakeRoom:
        House(p, QRectF(s * 0.05, s * 0.08, s * 0.75, s * 0.8));
        Disk(p, QRectF(s * 0.55, s * 0.55, s * 0.42, s * 0.42), QColor(110, 210, 110), QColor(30, 130, 40));
        Letter(p, QRectF(s * 0.55, s * 0.53, s * 0.42, s * 0.42), "+");
        break;
    case LeaveRoom:
        House(p, QRectF(s * 0.05, s * 0.08, s * 0.7, s * 0.8));
        Arrow(p, QRectF(s * 0.45, s * 0.5, s * 0.52, s * 0.42), QColor(60, 120, 220));
        break;
    case Members:
        Person(p, QPointF(s * 0.35, s * 0.5), s * 0.45, QColor(70, 110, 190));
        Person(p, QPointF(s * 0.65, s * 0.58), s * 0.45, QColor(40, 150, 110));
        break;
    case Waiting:
        Person(p, QPointF(s * 0.5, s * 0.52), s * 0.6, QColor(190, 120, 40));
        break;
    case Find:
        Magnifier(p, full);
        break;
    case Info:
        Disk(p, full, QColor(150, 200, 160), QColor(40, 120, 70));
        Letter(p, full, "i");
        break;
    }
    p.end();
    return QIcon(pm);
}

} // namespace zel
