#pragma once
#include <QWidget>
#include <string>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace zel {

// Hears what the user does in a memo window (`window` is its index).
class TMemoListener {
public:
    virtual ~TMemoListener() = default;
    // Enter with a text; returns whether it was sent.
    virtual bool SendMemo(int window, const std::string& text) = 0;
    // The window was closed by the user (refuse box state).
    virtual void MemoClosed(int window, bool refuse) = 0;
};

// One memo window: the lines exchanged with one user, an input whose Enter
// sends, and the refuse box. Closing only hides it.
class TMemoForm : public QWidget {
    Q_OBJECT
public:
    TMemoForm(int index, TMemoListener& listener, QWidget* parent = nullptr);

    // Binds the window to a user's nickname: captions set, texts emptied.
    void Bind(const std::string& nickname);
    void AddLine(const std::string& line);
    int Index() const { return index_; }
    // Text area and input on `base` with `text`, like the lobby's lists.
    void SetColours(const QColor& base, const QColor& text);

    QPlainTextEdit* mText;
    QLineEdit* eInput;
    QCheckBox* cbRefuse;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Send();
    int index_;
    TMemoListener& listener_;
};

} // namespace zel
