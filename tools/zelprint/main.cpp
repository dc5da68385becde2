// zelprint RECORD.zel OUT.pdf [--method 1..5] [--from N --to M]
//          [--per-page 1|2|4] [--split N]
// Prints a game record to a PDF file with the client's record printing.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "client/print/PrintPainter.h"
#include "core/print/PrintJob.h"
#include "core/record/GiboList.h"
#include "core/record/RecordHeader.h"
#include "core/settings/ZelStatus.h"

namespace {

// Lines of 8 characters or fewer are not record lines.
constexpr std::size_t kMinLine = 9;

int Usage()
{
    std::fprintf(stderr, "usage: zelprint RECORD.zel OUT.pdf [--method 1..5] [--from N --to M] "
                         "[--per-page 1|2|4] [--split N]\n");
    return 2;
}

bool Number(const char* text, int& value)
{
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < -100000 || v > 100000)
        return false;
    value = static_cast<int>(v);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3)
        return Usage();
    const std::string recordPath = argv[1];
    const QString outPath = QString::fromLocal8Bit(argv[2]);
    zel::TPrintRequest request;
    std::string from = "1";
    std::string to;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return Usage();
        const char* value = argv[++i];
        int n = 0;
        if (arg == "--from" || arg == "--to") {
            (arg == "--from" ? from : to) = value;
            request.Method = zel::kPrintRange;
            continue;
        }
        if (!Number(value, n))
            return Usage();
        if (arg == "--method")
            request.Method = n;
        else if (arg == "--per-page")
            request.PerPage = n;
        else if (arg == "--split")
            request.SplitNo = n;
        else
            return Usage();
    }
    if (request.Method < zel::kPrintWhole || request.Method > zel::kPrintCommentaries ||
        request.Method == zel::kPrintCurrentCommentary) {
        std::fprintf(stderr, "zelprint: method %d is not available (1, 2, 4 or 5)\n", request.Method);
        return 2;
    }
    if (request.PerPage != 1 && request.PerPage != 2 && request.PerPage != 4) {
        std::fprintf(stderr, "zelprint: --per-page takes 1, 2 or 4\n");
        return 2;
    }
    if (request.SplitNo < 1 || request.SplitNo > 500) {
        std::fprintf(stderr, "zelprint: --split takes 1..500\n");
        return 2;
    }

    std::ifstream in(recordPath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "zelprint: cannot read %s\n", recordPath.c_str());
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    zel::TGiboList record;
    zel::AddRecordText(text, record, kMinLine);
    const std::string name =
        QFileInfo(QString::fromLocal8Bit(recordPath.c_str())).fileName().toLocal8Bit().toStdString();
    const zel::TPrintSource source = zel::TPrintSource::FromRecord(record, name);

    const int last = std::clamp(source.Moves.Last, 0, 500);
    if (request.Method == zel::kPrintRange) {
        if (to.empty())
            to = std::to_string(last);
        if (!zel::ReadPrintRange(from, to, last, request.From, request.To)) {
            std::fprintf(stderr, "zelprint: the range %s..%s is not in the record's moves 1..%d\n", from.c_str(),
                         to.c_str(), last);
            return 1;
        }
    }
    const zel::PrintOptionInfo options;
    if (zel::PlanPrint(zel::TPageSetup{}, request, source, {}).Pages.empty()) {
        std::fprintf(stderr, "zelprint: nothing to print\n");
        return 1;
    }
    if (!zel::PrintJobToPdf(outPath, options, request, source, zel::PrintDateTime())) {
        std::fprintf(stderr, "zelprint: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
