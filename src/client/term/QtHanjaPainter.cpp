#include "client/term/QtHanjaPainter.h"

#include <QImage>
#include <QPainter>

#include "client/base/QtText.h"
#include "client/term/TermText.h"

namespace zel {

TQtHanjaPainter::TQtHanjaPainter() : font_(TermFontFamily())
{
    font_.setPixelSize(15);
}

void TQtHanjaPainter::DrawHanja(TPixmap& target, int x, int y, std::string_view cp949, std::uint32_t colour)
{
    QImage cell(16, 16, QImage::Format_RGB32);
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            cell.setPixel(c, r, 0xFF000000u | target.Pixel(x + c, y + r));
    {
        QPainter p(&cell);
        p.setFont(font_);
        p.setPen(QColor::fromRgb(0xFF000000u | colour));
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, ToQ(std::string(cp949)));
    }
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            if (target.Contains(x + c, y + r))
                target.SetPixel(x + c, y + r, cell.pixel(c, r) & 0x00FFFFFFu);
}

} // namespace zel
