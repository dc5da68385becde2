#pragma once
#include <QString>

#include "core/print/PrintJob.h"

class QPainter;
class QPrinter;

namespace zel {

struct PrintOptionInfo;

// Printer resolution every page plan is laid out for.
constexpr int kPrintResolution = 600;

// Sets up a printer for record pages: the job title "HvnZel Gibo", A4,
// kPrintResolution and the whole sheet as the page (margins are the plan's).
void PreparePrinter(QPrinter& printer);
// The printer's page in printer pixels with the margins and cell of `options`.
TPageSetup PageSetupOf(const QPrinter& printer, const PrintOptionInfo& options);

// Draws one page of a plan; the painter's units are printer pixels.
void PaintPage(QPainter& painter, const TPage& page);
// Lays out the job for the printer's page and prints every page; false when
// there was nothing to print or the printer could not be opened.
bool PrintJob(QPrinter& printer, const PrintOptionInfo& options, const TPrintRequest& request,
              const TPrintSource& source, const std::string& dateTime);
// The same into a PDF file.
bool PrintJobToPdf(const QString& path, const PrintOptionInfo& options, const TPrintRequest& request,
                   const TPrintSource& source, const std::string& dateTime);

// The current date and time as the page frame shows it (CP949).
std::string PrintDateTime();

} // namespace zel
