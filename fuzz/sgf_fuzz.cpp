// SGF files of any origin: parsing, encoding detection and import as a
// record; an imported record exports and imports again to the same record.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/record/GiboList.h"
#include "core/record/SgfRecord.h"
#include "core/record/SgfTree.h"
#include "core/record/TextEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)zel::DetectEncoding(text, text.substr(0, 8));
    zel::SgfTree tree;
    (void)zel::ParseSgf(text, tree);

    std::string record;
    if (zel::SgfToRecordText(text, record) != zel::SgfImportStatus::Ok)
        return 0;
    zel::TGiboList list;
    if (!zel::AddRecordText(record, list, 9))
        __builtin_trap();
    std::string again;
    if (zel::SgfToRecordText(zel::RecordToSgf(list), again) != zel::SgfImportStatus::Ok)
        __builtin_trap();
    return 0;
}
