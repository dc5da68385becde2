#pragma once
#include <string>

namespace zel {

// What the lobby window asks of the rest of the program. The window only
// draws and reports; the composition root answers (see TZelClient).
class TLobbyFormPorts {
public:
    virtual ~TLobbyFormPorts() = default;
    // The window was shown for the first time and has restored its place.
    virtual void FormShown() = 0;
    // May the window close now? Refusing keeps it open (a game, a pending exit).
    virtual bool MayClose() = 0;
    // The window closes for good: everything it shows goes away with it.
    virtual void Closing() = 0;
    // A line typed in the chat input (or a single control character).
    virtual void ChatLine(const std::string& line) = 0;
    // A click on status-bar cell `index` (0..14).
    virtual void PanelClicked(int index) = 0;
    // Alt+`index` (1..9); true when the key was used.
    virtual bool MacroKey(int index) = 0;
    // A line went to the lobby's terminal / cell `index` shows `text` now.
    virtual void LinePrinted(const std::string& line) = 0;
    virtual void PanelChanged(int index, const std::string& text) = 0;
    // The personal-information window, as the "개인정보" button opens it.
    virtual void OpenPersonalInfo() = 0;
    // The environment window, as the "환경설정" button opens it.
    virtual void OpenEnvironment() = 0;
    // A click on the banner showing downloaded file `file` (2..5).
    virtual void BannerClicked(int file) = 0;
    // The banner pictures were (re)loaded from the banner directory.
    virtual void BannersLoaded() = 0;
};

} // namespace zel
