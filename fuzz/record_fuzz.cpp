// Record files from disk or from other users: loading, walking, editing and
// writing a record list, merging pending commentary, and exporting to SGF.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/record/GiboList.h"
#include "core/record/HelpList.h"
#include "core/record/RecordHeader.h"
#include "core/record/SgfRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    zel::TGiboList list;
    zel::AddRecordText(text, list, 9);

    // The bytes again as walking commands.
    for (std::size_t i = 0; i < size && i < 256; ++i) {
        switch (data[i] % 7) {
        case 0:
            list.NextMove();
            break;
        case 1:
            list.PrevMove();
            break;
        case 2:
            list.StepForward();
            break;
        case 3:
            list.StepBack();
            break;
        case 4:
            list.SeekMove(data[i]);
            break;
        case 5:
            if (data[i] > 250)
                list.DeleteCurrent();
            break;
        default:
            break;
        }
    }
    (void)list.CompactText();
    (void)list.MoveTable();
    (void)zel::ParseRecordHeader(list.Head()->Data);

    const std::string saved = list.FileText();
    zel::TGiboList again;
    zel::AddRecordText(saved, again, 0);
    if (again.NodeCount() != list.NodeCount())
        __builtin_trap();

    zel::THelpList pending;
    pending.AddPending(text.substr(0, 40));
    pending.FlushInto(text.substr(0, 3), list);

    const std::string sgf = zel::RecordToSgf(list);
    std::string back;
    if (zel::SgfToRecordText(sgf, back) == zel::SgfImportStatus::Syntax)
        __builtin_trap();
    return 0;
}
