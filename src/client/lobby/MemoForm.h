#pragma once
#include <QWidget>
#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace zel {

// One memo window: the lines exchanged with one user, an input whose Enter
// sends, and the refuse box. Closing only hides it.
class TMemoForm : public QWidget {
    Q_OBJECT
public:
    explicit TMemoForm(int index, QWidget* parent = nullptr);

    // Binds the window to a user's nickname: captions set, texts emptied.
    void Bind(const std::string& nickname);
    void AddLine(const std::string& line);
    int Index() const { return index_; }
    // Text area and input on `base` with `text`, like the lobby's lists.
    void SetColours(const QColor& base, const QColor& text);

    QPlainTextEdit* mText;
    QLineEdit* eInput;
    QCheckBox* cbRefuse;

    // Enter with a text; returns whether it was sent.
    std::function<bool(const std::string& text)> OnSend;
    // The window was closed by the user (refuse box state).
    std::function<void(bool refuse)> OnClosed;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Send();
    int index_;
};

} // namespace zel
