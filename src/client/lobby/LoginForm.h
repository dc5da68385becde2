#pragma once
#include <QDialog>

#include "core/ports/Prompts.h"
#include "core/settings/ZelStatus.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QGroupBox;

namespace zel {

// The login window, opened before each connection. exec() returns
// QDialog::Accepted after OK with a valid id; by then the id and nickname are
// in `LoginInfo` and "Login Info" is saved.
class TLoginForm : public QDialog {
    Q_OBJECT
public:
    TLoginForm(TZelStatus& status, Prompts& prompts, QWidget* parent = nullptr);

    QLineEdit* eUser;
    QLineEdit* eAlias;
    QGroupBox* gbNotice;
    QPlainTextEdit* mNotice;
    QPushButton* btnOk;
    QPushButton* btnCancel;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void eUserEdited(const QString& text);
    void eAliasEdited(const QString& text);
    void btnOkClick();

    TZelStatus& status_;
    Prompts& prompts_;
};

} // namespace zel
