#pragma once
#include <QString>
#include <utility>

class QBoxLayout;
class QPushButton;
class QWidget;

namespace zel {

// Adds to `column` a row with two buttons of `dialog` at its right end:
// "OkButton" captioned `ok` and "CancelBtn" captioned `cancel`, in that order.
std::pair<QPushButton*, QPushButton*> AddOkCancelRow(QWidget* dialog, QBoxLayout* column, const QString& ok,
                                                     const QString& cancel);

} // namespace zel
