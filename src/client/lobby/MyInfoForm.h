#pragma once
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTreeWidget;

namespace zel {

class Prompts;
class TZelStatus;

// "개인정보": connection details, game records and friends. OK checks the id,
// asks before records are cleared by an id or level change, stores the
// fields in `LoginInfo` and saves it.
class TMyInfoForm : public QDialog {
    Q_OBJECT
public:
    TMyInfoForm(TZelStatus& status, Prompts& prompts, bool connected, QWidget* parent = nullptr);

    QTabWidget* pages;
    QLineEdit* eAlias;
    QLineEdit* eUser;
    QLineEdit* ePass;
    QComboBox* cbLevel;
    QCheckBox* cbSavePass;
    QCheckBox* cbPro;
    QCheckBox* cbInvite;
    QCheckBox* cbProfile;
    QLabel* lRecords[4];
    QTreeWidget* lvFriends;

    void btnOkClick();
    // While connected the identity fields and "프로기사" cannot be edited
    // and OK keeps the id and nickname the connection logged in with.
    void SetConnected(bool connected);

private:
    void FillRecords();
    void FillFriends();
    void FilterId(QLineEdit* field, const QString& text);
    void AliasEdited(const QString& text);
    int ChosenLevel() const;

    TZelStatus& status_;
    Prompts& prompts_;
    bool connected_ = false;
};

} // namespace zel
