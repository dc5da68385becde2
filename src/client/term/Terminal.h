#pragma once
#include <QFont>
#include <functional>
#include <string>
#include <string_view>

#include "client/term/LobbyTerminal.h"
#include "client/term/TermView.h"
#include "core/term/TermModel.h"

namespace zel {

// The lobby's server terminal: shows what the game server writes (CP949 text
// with escape sequences) in the bitmap fonts, turns menu items and prompts
// under the mouse into buttons and reports clicks through OnSend. It has no
// keyboard input; lines are typed in the chat input. Without loaded bitmap
// fonts it writes with the system font, as it does when it is very low.
class TTerminal : public TTermView, public LobbyTerminal {
    Q_OBJECT
public:
    explicit TTerminal(TBackDraw& draw, QWidget* parent = nullptr);

    std::function<void(const std::string&)> OnLine;
    std::function<void(const std::string&)> OnPacket;
    // A click: the clicked button's text, or an empty text outside buttons.
    std::function<void(const std::string&)> OnSend;
    std::function<void()> OnChange;

    // Feeds one received block of bytes.
    void Feed(std::string_view bytes);
    // LobbyTerminal: a local notice on a line of its own, not offered to OnPacket.
    QWidget* Widget() override { return this; }
    void PrintLine(const std::string& cp949) override;

    TTermModel& Model() { return model_; }
    int Rows() const { return model_.Rows(); }
    int Columns() const { return model_.Columns(); }
    void SetColours(int fore, int back);
    void SetFontName(const QString& name);
    void SetIMBtnColours(int fore, int back);
    void SetCaretOn(bool on);
    void SetBaseDraw(bool on);
    void SetSBarPos(int pos);
    bool SmallFont() const { return smallFont_; }
    // The highlighted button, if any (row 0 when none).
    int HotRow() const { return hotRow_; }
    const TItemButton& HotButton() const { return hot_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void ScrollTo(int pos) override;

private:
    void RepaintDirty(bool all);
    void DrawSmallRow(const TTermLine& line, int y);
    void Hover(QPoint pos);
    TTermColours Colours() const;

    TTermModel model_;
    QFont font_;
    bool smallFont_ = false;
    int cellW_ = 8, cellH_ = 16;
    int imBtnFc_ = 2, imBtnBc_ = 6;
    bool caretOn_ = false;
    bool baseDraw_ = false;
    int hotRow_ = 0;
    TItemButton hot_;
    QPoint pressPos_;
    bool pressed_ = false, dragged_ = false;
};

} // namespace zel
