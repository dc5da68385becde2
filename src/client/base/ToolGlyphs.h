#pragma once
#include <QIcon>

namespace zel {

// The lobby's button glyphs, drawn at run time.
class ToolGlyphs {
public:
    enum Kind {
        Connect,
        Disconnect,
        ViewGame,
        ViewRecord,
        Study,
        Joseki,
        Environment,
        Help,
        Exit,
        MakeRoom,
        LeaveRoom,
        Members,
        Waiting,
        Find,
        Info,
    };
    static QIcon Icon(Kind kind, int size = 28);
};

} // namespace zel
