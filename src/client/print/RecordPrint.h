#pragma once
#include <QPointer>
#include <QString>
#include <functional>
#include <string>

#include "core/print/PrintJob.h"

class QLabel;
class QPrinter;
class QWidget;

namespace zel {

class Prompts;
class TZelStatus;

// One record print at a time: the print dialog, then the system's print
// dialog, the preview or a PDF file. The status cell shows "기보 인쇄중..."
// while the job is drawn.
class TRecordPrint {
public:
    TRecordPrint(TZelStatus& status, Prompts& prompts);

    // Asks for the options of printing `source` and prints it. While a job
    // runs a second one is refused with a notice.
    void PrintRecord(const TPrintSource& source, QWidget* parent, QLabel* statusCell);
    bool Busy() const { return busy_; }

    // Where a PDF goes; by default a file dialog asks (empty: cancelled).
    std::function<QString(QWidget* parent)> ChoosePdfFile;

private:
    void Run(int output, const TPrintRequest& request, const TPrintSource& source, QWidget* parent);
    bool Draw(QPrinter& printer, const TPrintRequest& request, const TPrintSource& source);

    TZelStatus& status_;
    Prompts& prompts_;
    bool busy_ = false;
};

} // namespace zel
