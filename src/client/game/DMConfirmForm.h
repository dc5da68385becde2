#pragma once
#include <QDialog>

namespace zel {

// The dead-stone notice: tells the user to mark the dead stones with the
// mouse and to press "지정마침" when done. Modal, with one button "확 인".
class TDMConfirmForm : public QDialog {
    Q_OBJECT
public:
    explicit TDMConfirmForm(QWidget* parent = nullptr);
};

} // namespace zel
