#pragma once
#include <string>
#include <string_view>

#include "core/engine/PaintMarks.h"

namespace zel {

// The steps of the game window's "형세 분석" command around the analysis.

// The board control's colours as the analysis reads them: 1 "B", 2 "W",
// anything else "-".
std::string AnalysisInput(const TPointColours& colours);

// The analysis result without the claims of live stones on their own points
// (a black stone valued positive, a white stone valued negative): those are
// not drawn.
TPointValues DropLiveClaims(const TPointValues& result, const TPointColours& colours);

// The number in a captured-stones text of the information panel: its digits
// read in order, everything else skipped; at most six digits are read.
int CapturedCount(std::string_view text);

// The notice "흑(%d:%d)   백(%d:%d)" (CP949): each side's sure points plus
// the stones it captured, then its probable points.
std::string AnalysisNoticeText(const TAnalysisCounts& counts, int whiteStonesCaptured, int blackStonesCaptured);

} // namespace zel
