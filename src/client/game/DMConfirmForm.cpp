#include "client/game/DMConfirmForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "client/base/UiFont.h"

namespace zel {

TDMConfirmForm::TDMConfirmForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("TDMConfirmForm");
    setWindowTitle(QString::fromUtf8("사석지정 알림창"));
    setFont(UiFont(9));
    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel(QString::fromUtf8("마우스로 사석을 지정(클릭) 하세요."), this));
    column->addWidget(new QLabel(QString::fromUtf8("끝나면 |지정마침| 버튼을 누르세요."), this));
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton(QString::fromUtf8("확 인"), this);
    ok->setObjectName("OkButton");
    row->addStretch(1);
    row->addWidget(ok);
    row->addStretch(1);
    column->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace zel
