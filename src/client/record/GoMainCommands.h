#pragma once
#include <array>
#include <cstdint>

namespace zel {

// The command buttons of the game window: each of the nine carries a command
// code (1..34) and the partner code it turns into after a click (0: stays).
struct TButtonCommand {
    std::uint8_t Partner = 0;
    std::uint8_t Command = 0;
};

constexpr int kCommandButtons = 9;
constexpr int kNavButtons = 6;
constexpr int kFirstNavTag = 10;
constexpr int kLastCommand = 34;

// Caption of a command (UTF-8); empty for 0 and unknown codes.
const char* CommandCaption(int command);
// The command a button turns into after a click; 0 when it stays.
int CommandPartner(int command);
// The nine commands of a layout 1..7 (0: the button is hidden). In layout 1
// the eighth button clears the board instead of asking to stop when the user
// hosts a multi-game room.
std::array<std::uint8_t, kCommandButtons> LayoutCommands(int layout, bool multiGameHost);
// Hint of navigation button tag 10..15 (UTF-8).
const char* NavHint(int tag);

// Where the buttons of a layout go inside the button panel.
struct TButtonPlace {
    int Left = 0, Top = 0, Width = 0;
    bool Visible = false;
};
TButtonPlace CommandButtonPlace(int layout, int index);
TButtonPlace NavButtonPlace(int layout, int index);

} // namespace zel
