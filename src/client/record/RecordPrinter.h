#pragma once
#include "core/print/PrintJob.h"

class QLabel;
class QWidget;

namespace zel {

// What the game window's "기보 인쇄" asks for: print `source` over `window`,
// with the window's status cell 0 to show that the job runs.
class TRecordPrinter {
public:
    virtual ~TRecordPrinter() = default;
    virtual void PrintRecord(const TPrintSource& source, QWidget& window, QLabel& statusCell) = 0;
};

} // namespace zel
