#include "client/print/PrintPainter.h"

#include <QDateTime>
#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include "client/base/QtText.h"
#include "core/settings/ZelStatus.h"

namespace zel {
namespace {

// The Korean fixed-width face and the installed faces that stand in for it,
// as on the board and in the terminals.
QFont PrintFont(const TDrawOp& op)
{
    QFont font(ToQ(op.Font.Name));
    font.setFamilies({ToQ(op.Font.Name), QString::fromUtf8("굴림체"), "NanumGothicCoding", "NanumGothic"});
    font.setPixelSize(std::max(1, op.FontPx));
    font.setItalic((op.Font.Style & LFontDesc::kItalic) != 0);
    font.setBold((op.Font.Style & LFontDesc::kBold) != 0);
    return font;
}

int QtAlign(int align)
{
    int flags = 0;
    flags |= (align & TDrawOp::kHCentre) ? Qt::AlignHCenter
             : (align & TDrawOp::kRight) ? Qt::AlignRight
                                         : Qt::AlignLeft;
    flags |= (align & TDrawOp::kVCentre)  ? Qt::AlignVCenter
             : (align & TDrawOp::kBottom) ? Qt::AlignBottom
                                          : Qt::AlignTop;
    return flags;
}

// Draws the text's words at their places in the whole line: the PDF
// writer gives the blank glyph of the Korean faces no text, so blanks are
// left as gaps, which text extraction reads as blanks again.
void DrawWords(QPainter& painter, const QRect& rect, int align, const QString& text)
{
    const QFontMetrics metrics = painter.fontMetrics();
    const int width = metrics.horizontalAdvance(text);
    int x = rect.left();
    if (align & Qt::AlignHCenter)
        x = rect.left() + (rect.width() - width) / 2;
    else if (align & Qt::AlignRight)
        x = rect.right() + 1 - width;
    const int vertical = align & Qt::AlignVertical_Mask;
    qsizetype start = 0;
    while (start < text.size()) {
        while (start < text.size() && text[start] == ' ')
            ++start;
        qsizetype end = start;
        while (end < text.size() && text[end] != ' ')
            ++end;
        if (end > start) {
            const int left = x + metrics.horizontalAdvance(text.left(start));
            painter.drawText(QRect(left, rect.top(), rect.right() + 1 - left + width, rect.height()),
                             vertical | Qt::AlignLeft | Qt::TextDontClip, text.mid(start, end - start));
        }
        start = end;
    }
}

} // namespace

void PreparePrinter(QPrinter& printer)
{
    printer.setDocName("HvnZel Gibo");
    printer.setCreator("HvnZel");
    printer.setResolution(kPrintResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
}

TPageSetup PageSetupOf(const QPrinter& printer, const PrintOptionInfo& options)
{
    TPageSetup setup;
    const QRect page = printer.pageLayout().fullRectPixels(printer.resolution());
    setup.Width = page.width();
    setup.Height = page.height();
    setup.Resolution = printer.resolution();
    setup.TopMargin = options.tMargin;
    setup.LeftMargin = options.lMargin;
    setup.Cell = options.goGrid;
    return setup;
}

void PaintPage(QPainter& painter, const TPage& page)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const TDrawOp& op : page.Ops) {
        switch (op.Kind) {
        case TDrawOp::kLine:
            painter.setPen(QPen(Qt::black, op.Pen, Qt::SolidLine, Qt::SquareCap));
            painter.drawLine(op.X, op.Y, op.X + op.W, op.Y + op.H);
            break;
        case TDrawOp::kCircle:
            painter.setPen(QPen(Qt::black, op.Pen));
            painter.setBrush(op.Filled ? Qt::black : Qt::white);
            painter.drawEllipse(QRect(op.X, op.Y, op.W, op.H));
            break;
        case TDrawOp::kBar:
            painter.fillRect(QRect(op.X, op.Y, op.W, op.H), Qt::black);
            break;
        case TDrawOp::kPatch:
            painter.fillRect(QRect(op.X, op.Y, op.W, op.H), Qt::white);
            break;
        case TDrawOp::kText:
            painter.setFont(PrintFont(op));
            painter.setPen(op.White ? Qt::white : Qt::black);
            DrawWords(painter, QRect(op.X, op.Y, op.W, op.H), QtAlign(op.Align), ToQ(op.Text));
            break;
        }
    }
    painter.restore();
}

bool PrintJob(QPrinter& printer, const PrintOptionInfo& options, const TPrintRequest& request,
              const TPrintSource& source, const std::string& dateTime)
{
    const TPrintPlan plan = PlanPrint(PageSetupOf(printer, options), request, source, dateTime);
    if (plan.Pages.empty())
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (std::size_t i = 0; i < plan.Pages.size(); ++i) {
        if (i > 0)
            printer.newPage();
        PaintPage(painter, plan.Pages[i]);
    }
    return painter.end();
}

bool PrintJobToPdf(const QString& path, const PrintOptionInfo& options, const TPrintRequest& request,
                   const TPrintSource& source, const std::string& dateTime)
{
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return PrintJob(printer, options, request, source, dateTime);
}

std::string PrintDateTime()
{
    return FromQ(QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm"));
}

} // namespace zel
