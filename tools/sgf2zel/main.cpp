// sgf2zel GAME.sgf [RECORD.zel] — writes the first game of an SGF file (UTF-8
// or CP949/EUC-KR) as a game record; without a second argument the record
// goes to standard output.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "core/record/SgfRecord.h"
#include "core/record/SgfTree.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: sgf2zel GAME.sgf [RECORD.zel]\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "sgf2zel: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::string sgf;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        sgf.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (sgf.size() > zel::kSgfMaxBytes) {
            std::cerr << "sgf2zel: " << argv[1] << " is too large\n";
            return 1;
        }
    }
    std::string record;
    const zel::SgfImportStatus status = zel::SgfToRecordText(sgf, record);
    if (status != zel::SgfImportStatus::Ok) {
        std::cerr << "sgf2zel: " << argv[1] << ": " << zel::SgfImportStatusText(status) << "\n";
        return 1;
    }
    if (argc == 3) {
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out << record;
        out.close();
        if (!out) {
            std::cerr << "sgf2zel: cannot write " << argv[2] << "\n";
            return 1;
        }
    } else {
        std::cout << record;
    }
    return 0;
}
