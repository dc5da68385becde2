// Draws the program's icon: part of a wooden board with one black and one
// white stone, as PNG files <out>/<N>x<N>/apps/<name>.png for each size.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>
#include <QString>

#include <cstdio>

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr int kLines = 3; // grid lines each way

QImage DrawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QRectF board(s * 0.04, s * 0.04, s * 0.92, s * 0.92);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xdc, 0xb3, 0x5c));
    p.drawRoundedRect(board, s * 0.1, s * 0.1);

    // Three lines each way run off the edges, as on a part of a larger board.
    const qreal step = s * 0.3;
    const auto at = [&](int i) { return s * 0.2 + step * i; };
    p.setPen(QPen(QColor(0x3a, 0x2a, 0x10), qMax(1.0, s / 48.0)));
    for (int i = 0; i < kLines; ++i) {
        p.drawLine(QPointF(at(i), board.top()), QPointF(at(i), board.bottom()));
        p.drawLine(QPointF(board.left(), at(i)), QPointF(board.right(), at(i)));
    }

    const qreal radius = step * 0.48;
    const auto stone = [&](QPointF centre, QColor light, QColor dark) {
        QRadialGradient g(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.4);
        g.setColorAt(0, light);
        g.setColorAt(1, dark);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(centre, radius, radius);
    };
    stone(QPointF(at(1), at(1)), QColor(0x70, 0x70, 0x70), QColor(0x08, 0x08, 0x08));
    stone(QPointF(at(2), at(0)), QColor(0xff, 0xff, 0xff), QColor(0xb8, 0xb8, 0xb0));
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: icongen OUTDIR NAME\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : kSizes) {
        const QString dir = QString("%1/%2x%2/apps").arg(out).arg(size);
        const QString file = dir + "/" + name + ".png";
        if (!QDir().mkpath(dir) || !DrawIcon(size).save(file, "PNG")) {
            std::fprintf(stderr, "icongen: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
