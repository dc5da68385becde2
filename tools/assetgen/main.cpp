// Generates the board's pictures and the stone sound into one directory:
// board.bmp, stonemask.bmp, blackstone.bmp, whitestone.bmp, stone.wav and the
// board patterns board1.bmp .. board4.bmp (board1 is board.bmp).
#include <cstdio>
#include <string>

#include "Artwork.h"
#include "ImageWriter.h"

int main(int argc, char** argv)
{
    using namespace zel::assetgen;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const TStoneSheets sheets = StoneSheets();
    const bool ok = WoodTexture().SaveBmp(dir + "board.bmp") && sheets.Mask.SaveBmp(dir + "stonemask.bmp") &&
                    sheets.Black.SaveBmp(dir + "blackstone.bmp") && sheets.White.SaveBmp(dir + "whitestone.bmp") &&
                    SaveWav(dir + "stone.wav", StoneClick(22050), 22050);
    bool patterns = true;
    for (int n = 1; n <= kBoardPatterns; ++n)
        patterns = patterns && WoodTexture(n).SaveBmp(dir + "board" + std::to_string(n) + ".bmp");
    if (!ok || !patterns) {
        std::fprintf(stderr, "cannot write the assets into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
