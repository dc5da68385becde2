#pragma once
#include <QWidget>
#include <functional>
#include <string>

#include "client/term/ZelEdit.h"
#include "core/term/InputLine.h"

namespace zel {

// The one-line chat input (ChatBox): the input line between two read-only
// lines showing the previous and the next entry of its 50-entry history.
// Finished lines and Ctrl+letter codes come out of OnLine as CP949.
class TEditPanel : public QWidget {
    Q_OBJECT
public:
    explicit TEditPanel(QWidget* parent = nullptr);

    std::function<void(const std::string&)> OnLine;

    void SetColours(const QColor& back, const QColor& input, const QColor& history);
    void SetFontName(const QString& name);
    void SetFontSize(int size);
    int FontSize() const { return fontSize_; }
    int hFont() const { return hFont_; }
    void SetHideBack(bool hide);
    bool HideBack() const { return hideBack_; }
    // Drops the input method's unfinished composition in the input line.
    void CancelComposition();

    TZelEdit* Input() const { return input_; }
    TZelEdit* PreviousLine() const { return prev_; }
    TZelEdit* NextLine() const { return next_; }

private:
    bool Key(QKeyEvent* event);
    void ShowHistory();
    void Layout();

    TZelEdit* input_;
    TZelEdit* prev_;
    TZelEdit* next_;
    TInputLine line_;
    QFont font_;
    int fontSize_ = 11;
    int hFont_ = 16;
    bool hideBack_ = false;
};

} // namespace zel
