#pragma once
#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "core/engine/AnalysisMaps.h"
#include "core/engine/CaptureReader.h"
#include "core/engine/PaintMarks.h"

namespace zel {

// The position analysis behind the game window's "형세 분석" command: finds
// the dead stones (capture reading, eye counting, capturing races) and grades
// every point from an influence field.
//
// Result values, row-major (index (row - 1) * 19 + column - 1): positive for
// black, negative for white; 4 a stone left alive, 3 secure territory, 2
// probable territory, 1 influence only, 0 neutral. A dead stone's point
// carries its opponent's value. Every value lies in -4..4.
class TPositionAnalysis {
public:
    static constexpr int kMaxGroups = 50;
    static constexpr int kMaxEyePoints = 50;
    static constexpr int kIsolationLimit = 49;
    static constexpr int kMaxPasses = 3;

    struct TGroupRecord {
        int EyeHalves = 0; // eye total in half eyes
        int Liberties = 0;
        int EyePoints = 0;
        int Stones = 0;
        bool Weak = false;
        bool Isolated = false;
        int FirstRow = 0;
        int FirstCol = 0;
    };

    struct TGroupTable {
        char Colour = 'B';
        int Count = 0;
        std::array<TGroupRecord, kMaxGroups> Records{};
    };

    // Zeroes the influence field and the group numbers, clears the dead
    // marks and builds the distance kernel.
    void ResetAnalysis();
    // Analyses position (361 characters 'B', 'W', '-' row by row; any other
    // character reads as empty) for sideToMove ('B' or 'W'). A position of
    // another length or another side is refused: false, and a neutral result.
    bool AnalysePosition(std::string_view position, char sideToMove);
    const TPointValues& AnalysisResult() const { return result_; }
    int Value(int row, int col) const { return result_[static_cast<std::size_t>((row - 1) * 19 + (col - 1))]; }

    // What the last analysis found, for inspection.
    bool IsDead(int row, int col) const { return dead_[row][col] == 'D'; }
    // The group tables of the last pass: [0] the side to move, [1] the other.
    const TGroupTable& Table(int index) const { return tables_[index & 1]; }
    int GroupNumber(int row, int col) const { return groupNumbers_[row][col]; }
    int Passes() const { return passes_; }

private:
    void ReadCaptures();
    void BuildWorkingPosition();
    void BuildMaps();
    void EvaluateGroups(int table);
    void EvaluateGroup(int table, int row, int col);
    bool IsIsolated(int table, int row, int col, int number);
    int CountEyes(int table, const std::vector<std::pair<int, int>>& eyePoints);
    bool DecideRaces(int table);
    bool HasWeakerNeighbour(int table, int number);
    bool CanEscape(int table, int number);
    void FloodGroup(int table, int number, std::array<std::array<bool, 21>, 21>& inGroup);
    void MarkDead(int table, int number);
    void SpreadInfluence();
    void Classify();

    int MapIndex(int table) const { return tables_[table].Colour == 'B' ? 0 : 1; }

    TCaptureReader reader_;
    TAnalysisMap input_{};
    TAnalysisMap working_{};
    TAnalysisMap dead_{};
    std::array<TAnalysisMap, 2> shape_{};  // [0] black, [1] white
    std::array<TAnalysisMap, 2> region_{}; // likewise
    std::array<TAnalysisMap, 2> eyes_{};   // likewise
    std::array<std::array<int, 21>, 21> influence_{};
    std::array<std::array<int, 21>, 21> groupNumbers_{};
    std::array<std::array<int, 9>, 9> kernel_{};
    std::array<TGroupTable, 2> tables_{};
    TPointValues result_{};
    int t1_ = 450;
    int t2_ = 250;
    char side_ = 'B';
    int passes_ = 0;
};

} // namespace zel
