#pragma once
#include <string>

class QWidget;

namespace zel {

// The lobby's server terminal as the window uses it: one CP949 line at a
// time. The real terminal widget replaces the placeholder behind this.
class LobbyTerminal {
public:
    virtual ~LobbyTerminal() = default;
    virtual QWidget* Widget() = 0;
    virtual void PrintLine(const std::string& cp949) = 0;
};

} // namespace zel
