// zel2sgf RECORD.zel [GAME.sgf] — writes a game record as an SGF game
// (UTF-8); without a second argument the SGF goes to standard output.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "core/record/GiboList.h"
#include "core/record/SgfRecord.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: zel2sgf RECORD.zel [GAME.sgf]\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "zel2sgf: cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    zel::TGiboList list;
    // The viewer's rule: lines of 8 characters or fewer are no record lines.
    if (!zel::AddRecordText(text, list, 9)) {
        std::cerr << "zel2sgf: " << argv[1] << " holds more lines than a record\n";
        return 1;
    }
    zel::TSgfExportStats stats;
    const std::string sgf = zel::RecordToSgf(list, &stats);
    if (argc == 3) {
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out << sgf;
        out.close();
        if (!out) {
            std::cerr << "zel2sgf: cannot write " << argv[2] << "\n";
            return 1;
        }
    } else {
        std::cout << sgf;
    }
    std::cerr << "zel2sgf: " << stats.Moves << " moves, " << stats.Commentaries << " commentaries";
    if (stats.SkippedCommentaries > 0)
        std::cerr << ", " << stats.SkippedCommentaries << " malformed commentaries left out";
    std::cerr << "\n";
    return 0;
}
