#include "client/print/RecordPrint.h"

#include <QFileDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "client/base/QtText.h"
#include "client/print/PrintPainter.h"
#include "client/print/VeskForm.h"
#include "core/base/Cp949.h"
#include "core/engine/GoSnapshot.h"
#include "core/ports/Prompts.h"
#include "core/settings/ZelStatus.h"

namespace zel {
namespace {

constexpr int kBusyNoticeMs = 2000;

// Clears the flag and the status cell however the job ends.
struct TJobGuard {
    bool& busy;
    QPointer<QLabel> cell;
    ~TJobGuard()
    {
        busy = false;
        if (cell)
            cell->clear();
    }
};

} // namespace

TRecordPrint::TRecordPrint(TZelStatus& status, Prompts& prompts) : status_(status), prompts_(prompts)
{
    ChoosePdfFile = [](QWidget* parent) {
        return QFileDialog::getSaveFileName(parent, QString::fromUtf8("PDF로 저장"), "gibo.pdf",
                                            QString::fromUtf8("PDF 파일 (*.pdf)"));
    };
}

void TRecordPrint::PrintRecord(const TPrintSource& source, QWidget* parent, QLabel* statusCell)
{
    if (busy_) {
        prompts_.Notify(KS("인쇄중... 잠시후에 다시 시도하세요"), kBusyNoticeMs);
        return;
    }
    busy_ = true;
    TJobGuard guard{busy_, statusCell};

    QPrinter page(QPrinter::HighResolution);
    PreparePrinter(page);
    const QRect sheet = page.pageLayout().fullRectPixels(page.resolution());
    TVeskForm form(status_, prompts_, std::clamp(source.Moves.Last, 0, kMaxMoves), sheet.width(), sheet.height(),
                   page.resolution(), parent);
    if (form.exec() != QDialog::Accepted)
        return;
    if (statusCell)
        statusCell->setText(QString::fromUtf8("기보 인쇄중..."));
    Run(form.Output(), form.Request(), source, parent);
}

bool TRecordPrint::Draw(QPrinter& printer, const TPrintRequest& request, const TPrintSource& source)
{
    return PrintJob(printer, status_.printOption, request, source, PrintDateTime());
}

void TRecordPrint::Run(int output, const TPrintRequest& request, const TPrintSource& source, QWidget* parent)
{
    // Nothing to print is said before any printer dialog opens.
    if (PlanPrint(TPageSetup{}, request, source, {}).Pages.empty()) {
        prompts_.Alert(KS("인쇄할 내용이 없습니다."));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer);
    switch (output) {
    case TVeskForm::kToPreview: {
        QPrintPreviewDialog preview(&printer, parent);
        preview.setObjectName("PrintPreview");
        preview.setWindowTitle(QString::fromUtf8("기보 인쇄 미리 보기"));
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [&](QPrinter* p) { Draw(*p, request, source); });
        preview.resize(900, 1000);
        preview.exec();
        break;
    }
    case TVeskForm::kToPdf: {
        const QString path = ChoosePdfFile(parent);
        if (path.isEmpty())
            return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        if (!Draw(printer, request, source))
            prompts_.Alert(KS("PDF 파일을 만들지 못했습니다."));
        break;
    }
    default: {
        QPrintDialog dialog(&printer, parent);
        dialog.setObjectName("PrintDialog");
        if (dialog.exec() != QDialog::Accepted)
            return;
        if (!Draw(printer, request, source))
            prompts_.Alert(KS("인쇄하지 못했습니다."));
        break;
    }
    }
}

} // namespace zel
