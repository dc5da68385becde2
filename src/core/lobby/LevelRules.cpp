#include "core/lobby/LevelRules.h"

#include <algorithm>

#include "core/net/CManager.h"

namespace zel {

LevelChoice ChoiceFromLevel(int level)
{
    if (level >= kFirstPro)
        return {std::clamp(level - kFirstPro + kFirstDan, kFirstDan, kAmateurEntries - 1), true};
    return {std::clamp(level, 0, kAmateurEntries - 1), false};
}

int LevelFromChoice(const LevelChoice& choice)
{
    int position = std::clamp(choice.position, 0, kAmateurEntries - 1);
    if (!choice.professional)
        return position;
    return std::max(position, kFirstDan) - kFirstDan + kFirstPro;
}

LevelChoice TickProfessional(LevelChoice choice)
{
    choice.professional = true;
    choice.position = std::max(choice.position, kFirstDan);
    return choice;
}

LevelChoice ChoosePosition(LevelChoice choice, int position)
{
    choice.position = std::clamp(position, 0, kAmateurEntries - 1);
    if (choice.position < kFirstDan)
        choice.professional = false;
    return choice;
}

int LevelFromRangeIndex(int index)
{
    index = std::clamp(index, 0, kRangeEntries - 1);
    return index < kAmateurEntries ? index : index - kAmateurEntries + kFirstPro;
}

int RangeIndexFromLevel(int level)
{
    if (level >= kFirstPro)
        return std::clamp(level - kFirstPro + kAmateurEntries, kAmateurEntries, kRangeEntries - 1);
    return std::clamp(level, 0, kAmateurEntries - 1);
}

std::string RangeEntryText(int index)
{
    return RankText(LevelFromRangeIndex(index), true);
}

} // namespace zel
