#include "client/term/EditPanel.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPalette>

#include "client/base/QtText.h"
#include "client/term/TermText.h"

namespace zel {
namespace {

constexpr int kMargin = 2;

void Style(TZelEdit* edit, bool history)
{
    edit->setFrame(false);
    if (history) {
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
    }
}

} // namespace

TEditPanel::TEditPanel(QWidget* parent)
    : QWidget(parent), input_(new TZelEdit(this)), prev_(new TZelEdit(this)), next_(new TZelEdit(this)),
      font_(TermFontFamily())
{
    Style(input_, false);
    Style(prev_, true);
    Style(next_, true);
    input_->OnKey = [this](QKeyEvent* e) { return Key(e); };
    line_.OnLine = [this](const std::string& text) {
        if (OnLine)
            OnLine(text);
    };
    SetFontSize(11);
    setFocusProxy(input_);
}

void TEditPanel::SetColours(const QColor& back, const QColor& input, const QColor& history)
{
    for (TZelEdit* e : {input_, prev_, next_}) {
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base, back);
        pal.setColor(QPalette::Text, e == input_ ? input : history);
        pal.setColor(QPalette::PlaceholderText, history);
        e->setPalette(pal);
    }
}

void TEditPanel::SetFontName(const QString& name)
{
    font_.setFamily(name);
    SetFontSize(fontSize_);
}

void TEditPanel::SetFontSize(int size)
{
    fontSize_ = size;
    font_.setPointSize(size);
    for (TZelEdit* e : {input_, prev_, next_})
        e->setFont(font_);
    hFont_ = QFontMetrics(font_).height() + 2;
    Layout();
}

void TEditPanel::SetHideBack(bool hide)
{
    hideBack_ = hide;
    input_->show();
    input_->setFocus();
    ShowHistory();
    Layout();
}

// Panel height: both history lines (none when hidden), the input and the margins.
void TEditPanel::Layout()
{
    const int history = hideBack_ ? 0 : hFont_;
    const int margins = hideBack_ ? 2 * kMargin : 4 * kMargin;
    setFixedHeight(2 * history + hFont_ + margins);
    const int w = std::max(width() - 2 * kMargin, 0);
    prev_->setVisible(!hideBack_);
    next_->setVisible(!hideBack_);
    prev_->setGeometry(kMargin, kMargin, w, history);
    input_->setGeometry(kMargin, kMargin + history + (hideBack_ ? 0 : kMargin), w, hFont_);
    next_->setGeometry(kMargin, height() - kMargin - history, w, history);
}

void TEditPanel::ShowHistory()
{
    if (hideBack_)
        return;
    prev_->setText(ToQ(line_.PreviousLine()));
    next_->setText(ToQ(line_.NextLine()));
}

void TEditPanel::CancelComposition()
{
    if (input_->hasFocus())
        QGuiApplication::inputMethod()->reset();
    QInputMethodEvent clear;
    QCoreApplication::sendEvent(input_, &clear);
}

// Mirrors the edit into the key model, lets it decide, and copies back.
bool TEditPanel::Key(QKeyEvent* e)
{
    const QString text = input_->text();
    const std::size_t caret = FromQ(text.left(input_->cursorPosition())).size();
    line_.SetText(FromQ(text), caret);
    const bool ctrl = (e->modifiers() & Qt::ControlModifier) != 0;
    TInputLine::Key key = TInputLine::Key::Other;
    switch (e->key()) {
    case Qt::Key_Up:
        key = TInputLine::Key::Up;
        break;
    case Qt::Key_Down:
        key = TInputLine::Key::Down;
        break;
    case Qt::Key_Left:
        key = TInputLine::Key::Left;
        break;
    case Qt::Key_Right:
        key = TInputLine::Key::Right;
        break;
    case Qt::Key_Delete:
        key = TInputLine::Key::Delete;
        break;
    case Qt::Key_Backspace:
        key = TInputLine::Key::Backspace;
        break;
    default:
        break;
    }
    const std::string before = line_.Text();
    bool swallowed = line_.KeyDown(key, ctrl);
    if (!swallowed) {
        int ch = -1;
        if (ctrl && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
            ch = e->key() - Qt::Key_A + 1;
        else if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
            ch = 13;
        if (ch >= 0)
            swallowed = line_.KeyPress(static_cast<std::uint8_t>(ch));
    }
    if (!swallowed)
        return false;
    if (line_.Text() != before || key == TInputLine::Key::Up || key == TInputLine::Key::Down) {
        input_->setText(ToQ(line_.Text()));
        input_->setCursorPosition(static_cast<int>(ToQ(line_.Text().substr(0, line_.Caret())).size()));
    }
    ShowHistory();
    input_->setFocus();
    return true;
}

} // namespace zel
