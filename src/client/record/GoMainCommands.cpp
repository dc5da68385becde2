#include "client/record/GoMainCommands.h"

namespace zel {

namespace {

struct TCommandText {
    const char* Caption;
    std::uint8_t Partner;
};

const TCommandText kCommands[kLastCommand + 1] = {
    {"", 0},          {"참고 해설", 0},  {"형세 분석", 0},  {"기보 저장", 0},  {"수순 표시", 5},  {"수순 지움", 4},
    {"물림 요청", 0}, {"대화 차단", 8},  {"대화 허용", 7},  {"순서 넘김", 0},  {"불계 선언", 0},  {"계가 요청", 0},
    {"중단 요청", 0}, {"관전 마침", 0},  {"퇴실 하기", 0},  {"표시 하기", 16}, {"표시 마침", 15}, {"작성 취소", 0},
    {"작성 마침", 0}, {"자동 진행", 26}, {"추가 작성", 0},  {"해설 삭제", 0},  {"보기 마침", 0},  {"기타 설정", 0},
    {"기보 인쇄", 0}, {"지정 마침", 0},  {"수동 진행", 19}, {"지정 마침", 0},  {"동시 진행", 29}, {"자율 진행", 28},
    {"참여 확인", 0}, {"복기 마침", 0},  {"판 치우기", 0},  {"관전 상태", 0},  {"검토 마침", 0},  {"자동 지정", 0},
};

const std::array<std::uint8_t, kCommandButtons> kLayouts[8] = {
    {0, 0, 0, 0, 0, 0, 0, 0, 0},     {1, 2, 6, 4, 7, 9, 10, 12, 11},   {1, 2, 4, 3, 13, 14, 0, 0, 0},
    {24, 2, 15, 9, 17, 18, 0, 0, 0}, {24, 2, 19, 20, 21, 22, 0, 0, 0}, {1, 2, 4, 19, 24, 22, 0, 0, 0},
    {1, 2, 4, 29, 30, 31, 0, 0, 0},  {1, 2, 4, 19, 33, 34, 0, 0, 0},
};

const char* const kNavHints[kNavButtons] = {"처음으로 가기", "몇수 후퇴", "한수 후퇴",
                                            "한수 진행",     "몇수 진행", "마지막으로 가기"};

const int kNavLefts[kNavButtons] = {6, 49, 93, 136, 180, 223};

} // namespace

const char* CommandCaption(int command)
{
    return command >= 0 && command <= kLastCommand ? kCommands[command].Caption : "";
}

int CommandPartner(int command)
{
    return command >= 0 && command <= kLastCommand ? kCommands[command].Partner : 0;
}

std::array<std::uint8_t, kCommandButtons> LayoutCommands(int layout, bool multiGameHost)
{
    if (layout < kLayoutPlaying || layout > kLayoutExamining)
        return kLayouts[kLayoutNone];
    std::array<std::uint8_t, kCommandButtons> commands = kLayouts[layout];
    if (layout == kLayoutPlaying && multiGameHost)
        commands[kStopButton] = kCmdClearBoard;
    return commands;
}

const char* NavHint(int tag)
{
    const int i = tag - kFirstNavTag;
    return i >= 0 && i < kNavButtons ? kNavHints[i] : "";
}

TButtonPlace CommandButtonPlace(int layout, int index)
{
    if (index < 0 || index >= kCommandButtons)
        return {};
    if (layout == kLayoutPlaying)
        return {6 + (index / 3) * 87, 3 + (index % 3) * 26, 85, true};
    if (index >= 6)
        return {};
    return {6 + (index / 2) * 87, index % 2 == 0 ? 31 : 57, 85, true};
}

TButtonPlace NavButtonPlace(int layout, int index)
{
    if (layout == kLayoutPlaying || index < 0 || index >= kNavButtons)
        return {};
    return {kNavLefts[index], 2, 42, true};
}

} // namespace zel
