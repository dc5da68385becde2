#include "client/lobby/MemoForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "client/base/QtText.h"

namespace zel {

TMemoForm::TMemoForm(int index, TMemoListener& listener, QWidget* parent)
    : QWidget(parent, Qt::Window), index_(index), listener_(listener)
{
    setObjectName(QString("MemoForm%1").arg(index));
    resize(300, 220);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    mText = new QPlainTextEdit(this);
    mText->setObjectName("mText");
    mText->setReadOnly(true);
    eInput = new QLineEdit(this);
    eInput->setObjectName("eInput");
    cbRefuse = new QCheckBox(this);
    cbRefuse->setObjectName("cbRefuse");
    column->addWidget(mText, 1);
    column->addWidget(eInput);
    column->addWidget(cbRefuse);
    connect(eInput, &QLineEdit::returnPressed, this, &TMemoForm::Send);
}

void TMemoForm::Bind(const std::string& nickname)
{
    setWindowTitle(ToQ(nickname) + QString::fromUtf8("님 메모창"));
    cbRefuse->setText(ToQ(nickname) + QString::fromUtf8("님 메모 거부"));
    cbRefuse->setChecked(false);
    mText->clear();
    eInput->clear();
}

void TMemoForm::AddLine(const std::string& line)
{
    mText->appendPlainText(ToQ(line));
}

void TMemoForm::Send()
{
    std::string text = FromQ(eInput->text());
    if (listener_.SendMemo(index_, text)) {
        AddLine("--> " + text);
        eInput->clear();
    }
}

void TMemoForm::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    listener_.MemoClosed(index_, cbRefuse->isChecked());
}

void TMemoForm::SetColours(const QColor& base, const QColor& text)
{
    for (QWidget* area : {static_cast<QWidget*>(mText), static_cast<QWidget*>(eInput)}) {
        QPalette p = area->palette();
        p.setColor(QPalette::Base, base);
        p.setColor(QPalette::Text, text);
        area->setPalette(p);
    }
}

} // namespace zel
