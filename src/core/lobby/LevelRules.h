#pragma once
#include <string>

namespace zel {

// Levels: 0..26 amateur (18K..9D), 30..38 professional (1P..9P).
inline constexpr int kAmateurEntries = 27; // "18K" .. "9D"
inline constexpr int kFirstDan = 18;       // list position of "1D"
inline constexpr int kFirstPro = 30;
inline constexpr int kRangeEntries = 36; // "18K" .. "9D", " 1P" .. " 9P"

// The personal-information form's level list and "프로기사" box.
struct LevelChoice {
    int position = 0; // 0..26
    bool professional = false;
};
LevelChoice ChoiceFromLevel(int level);
// A professional choice below 1D counts as 1D.
int LevelFromChoice(const LevelChoice& choice);
// Ticking "프로기사" raises a position below 1D to 1D.
LevelChoice TickProfessional(LevelChoice choice);
// Choosing a position below 1D clears "프로기사".
LevelChoice ChoosePosition(LevelChoice choice, int position);

// The search form's range lists: entries 0..26 are amateur levels, 27..35 the
// professional levels 30..38. Both directions use the level numbering.
int LevelFromRangeIndex(int index);
int RangeIndexFromLevel(int level);
std::string RangeEntryText(int index);

} // namespace zel
