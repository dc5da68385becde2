#pragma once
#include <cstdint>
#include <string>

namespace zel {

class Random;

// The request settings dialog's state and rules, free of any widget: the
// dialog shows these fields, forwards its control events here and reads the
// fields back once "대국 신청" was pressed.
class TGameSetModel {
public:
    enum class Colour { Black, White, Auto };
    static constexpr int kHandicaps = 11; // "호선", "정선", 2..9 stones, 13 stones

    std::string BlackId, WhiteId, HostId;
    int TimeMode = 1; // 0 none, 1 Korean, 2 international
    int KBase = 30, KSec = 30, KCount = 5;
    int CBase = 10, CMin = 10, CMoves = 15;
    int Handicap = 0;
    int KomiSide = 0; // 0 black gives komi
    int Komi = 6;
    bool KomiEdited = false;
    Colour Choice = Colour::Auto;

    // The dialog's caption: "<white> 님에게 대국신청 설정".
    std::string Caption() const;
    void HandicapChanged(int index);
    void ColourClicked(Colour c);
    void KomiChanged(int komi);
    // "대국 신청": fixes a zero main time, swaps the players for "백 돌" or,
    // with "자동(호선)" outside multi-game rooms, on an odd draw of 0..998.
    // Runs once: the dialog's button decides, a later call changes nothing.
    void Confirm(Random& random);
    bool Confirmed() const { return confirmed_; }

private:
    bool confirmed_ = false;
};

// The request dialog's texts and its ten-second count-down.
class TGameRequestModel {
public:
    std::string Black, White, Method, TimeLimit;

    // One-second ticks; the tenth closes the dialog as refused.
    void Start(std::int32_t now);
    void Tick(std::int32_t now);
    int Ticks() const { return ticks_; }
    int GaugePercent() const { return ticks_ * 100 / 10; }
    bool Expired() const { return ticks_ >= 10; }

private:
    int ticks_ = 0;
    std::int32_t mark_ = 0;
};

} // namespace zel
