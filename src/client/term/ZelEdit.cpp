#include "client/term/ZelEdit.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace zel {

TZelEdit::TZelEdit(QWidget* parent) : QLineEdit(parent) {}

void TZelEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton && !(event->modifiers() & Qt::ShiftModifier)) {
        emit RightPressed(event->position().toPoint());
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void TZelEdit::keyPressEvent(QKeyEvent* event)
{
    if (OnKey && OnKey(event))
        return;
    QLineEdit::keyPressEvent(event);
}

} // namespace zel
