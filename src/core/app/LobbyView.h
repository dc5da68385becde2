#pragma once
#include <string>

namespace zel {

// What the connection logic asks of the lobby window. Texts are CP949 bytes.
// Calls arrive on the one thread; none of them calls back into the logic
// except through the window's own event handlers.
class LobbyView {
public:
    virtual ~LobbyView() = default;
    // Status-bar panel `index` (0..14) shows `text`.
    virtual void SetPanel(int index, const std::string& text) = 0;
    virtual void EnableConnect(bool enabled) = 0;
    // The connect button's glyph: true shows "disconnect", false "connect".
    virtual void SetConnectGlyph(bool connected) = 0;
    virtual void EnableRoom(bool enabled) = 0;
    // One line in the server terminal.
    virtual void PrintLine(const std::string& line) = 0;
    // Runs the login dialog modally; true when the user confirmed it.
    virtual bool OpenLoginDialog() = 0;
    virtual void OpenPersonalInfo() = 0;
    // (Re)loads the banner pictures from the banner directory.
    virtual void LoadBanners() = 0;
    // Closes the lobby window (and so ends the program).
    virtual void CloseWindow() = 0;
};

} // namespace zel
