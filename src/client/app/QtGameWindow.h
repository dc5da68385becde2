#pragma once
#include <QPointer>
#include <functional>

#include "core/game/GamePorts.h"

namespace zel {

class TDeadStoneAdvisor;
class TElmGoInfo;
class TZelGoMainForm;

// The game session's view of the game window: the live game is shown on the
// window's board control and information panel, its lines in the window's
// chat terminal.
class QtGameWindow : public TGameWindow {
public:
    // `info`: the session's panel model, drawn while a session is shown; it
    // may be given later (the session is made after its window).
    explicit QtGameWindow(TZelGoMainForm& form, TElmGoInfo* info = nullptr);
    void SetSessionInfo(TElmGoInfo* info) { info_ = info; }
    // Where dead stones are suggested when marking starts; by default
    // (null) nothing is suggested. Must outlive the window or be unset.
    void SetAdvisor(TDeadStoneAdvisor* advisor) { advisor_ = advisor; }

    void ShowSession(int layout) override;
    void HideSession() override;
    void SetBoardInput(bool on) override;
    bool ShowsLiveGame() const override;
    void ShowDeadMarkButton() override;
    void ShowPlayButton() override;
    void ShowDeadMarkNotice() override;
    void ChatLine(const std::string& text) override;
    void ShowCountdown(int count) override;
    void PointChanged(int x, int y, int mark, std::uint8_t colour) override;
    void ShowBoard(const TGoSnapshot& snapshot) override;
    void RecordWritten(const std::string& gameKey, const std::string& fileName) override;
    void GameKeyChanged(const std::string& gameKey) override;
    void ShowReceivedCommentary(const std::string& body) override;
    std::string ChooseRecord(const std::string& caption) override;
    bool OpenReview(const std::string& path, bool host, const std::string& myId) override;
    bool ShowsReview() const override;
    void SeekReviewPosition(int node) override;
    void ShowReviewCommentary(const std::string& body) override;
    std::string CompactRecordText() const override;

    bool BoardInput() const { return input_; }
    // Set to show the dead-stone notice some other way (tests); by default
    // the notice is a modal dialog.
    std::function<void()> OnDeadMarkNotice;
    // Shows a received commentary on a copy of the session's board; unset,
    // the window's own board is copied.
    std::function<void(const std::string& body)> OnReceivedCommentary;

private:
    QPointer<TZelGoMainForm> form_;
    TElmGoInfo* info_;
    TDeadStoneAdvisor* advisor_ = nullptr;
    bool input_ = false;
    int lastX_ = 0; // the last move's point, where count-downs are written
    int lastY_ = 0;
};

} // namespace zel
