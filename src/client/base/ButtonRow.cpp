#include "client/base/ButtonRow.h"

#include <QBoxLayout>
#include <QPushButton>

namespace zel {

std::pair<QPushButton*, QPushButton*> AddOkCancelRow(QWidget* dialog, QBoxLayout* column, const QString& ok,
                                                     const QString& cancel)
{
    auto* row = new QHBoxLayout;
    auto* okButton = new QPushButton(ok, dialog);
    auto* cancelButton = new QPushButton(cancel, dialog);
    okButton->setObjectName("OkButton");
    cancelButton->setObjectName("CancelBtn");
    row->addStretch(1);
    row->addWidget(okButton);
    row->addWidget(cancelButton);
    column->addLayout(row);
    return {okButton, cancelButton};
}

} // namespace zel
