#include "client/lobby/MakeRoomForm.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "client/base/QtText.h"

namespace zel {

TMakeRoomForm::TMakeRoomForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("TMakeRoomForm");
    setWindowTitle(QString::fromUtf8("방 만들기"));
    auto* form = new QFormLayout(this);
    eTitle = new QLineEdit(this);
    eTitle->setObjectName("eTitle");
    eTitle->setMaxLength(31);
    cbMulti = new QCheckBox(QString::fromUtf8("다면기 방"), this);
    cbMulti->setObjectName("cbMulti");
    form->addRow(QString::fromUtf8("방 제목"), eTitle);
    form->addRow(cbMulti);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QString::fromUtf8("확 인"), QDialogButtonBox::AcceptRole)->setObjectName("btnOk");
    buttons->addButton(QString::fromUtf8("취 소"), QDialogButtonBox::RejectRole)->setObjectName("btnCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

std::string TMakeRoomForm::Title() const
{
    return FromQ(eTitle->text().left(31));
}

bool TMakeRoomForm::Multi() const
{
    return cbMulti->isChecked();
}

} // namespace zel
