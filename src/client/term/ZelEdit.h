#pragma once
#include <QLineEdit>
#include <functional>

namespace zel {

// A single-line edit whose right-button press is reported through
// RightPressed and not handled further; key presses go to OnKey first, which
// returns true when it has handled the key.
class TZelEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TZelEdit(QWidget* parent = nullptr);

    std::function<bool(QKeyEvent*)> OnKey;

signals:
    void RightPressed(QPoint pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace zel
