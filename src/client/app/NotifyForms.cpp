#include "client/app/NotifyForms.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "client/base/QtText.h"
#include "client/base/UiFont.h"

namespace zel {
namespace {

const char* const kCaption = "벨다 알림 창";

// The common frame: an icon beside the message, buttons (if any) below.
QLabel* BuildMessageRow(QDialog* dialog, QVBoxLayout* outer, QStyle::StandardPixmap icon)
{
    dialog->setWindowTitle(QString::fromUtf8(kCaption));
    dialog->setFont(UiFont());
    outer->setContentsMargins(18, 16, 18, 14);
    outer->setSpacing(14);

    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    auto* iconLabel = new QLabel(dialog);
    iconLabel->setPixmap(dialog->style()->standardIcon(icon).pixmap(32, 32));
    iconLabel->setAlignment(Qt::AlignTop);
    row->addWidget(iconLabel);

    auto* message = new QLabel(dialog);
    message->setObjectName("lbMessage");
    message->setWordWrap(true);
    message->setMinimumWidth(240);
    message->setMaximumWidth(420);
    message->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    message->setTextFormat(Qt::PlainText);
    row->addWidget(message, 1);
    outer->addLayout(row);
    return message;
}

QPushButton* MakeButton(QDialog* dialog, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, dialog);
    button->setObjectName(name);
    button->setMinimumWidth(84);
    return button;
}

} // namespace

TNotifyForm::TNotifyForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("TNotifyForm");
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setModal(false);
    auto* outer = new QVBoxLayout(this);
    lbMessage = BuildMessageRow(this, outer, QStyle::SP_MessageBoxInformation);
    closeTimer_.setSingleShot(true);
    connect(&closeTimer_, &QTimer::timeout, this, &QDialog::hide);
}

void TNotifyForm::ShowNotice(const QString& text, int ms)
{
    lbMessage->setText(text);
    adjustSize();
    show();
    raise();
    closeTimer_.start(ms > 0 ? ms : 0);
}

TCNotifyForm::TCNotifyForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("TCNotifyForm");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    lbMessage = BuildMessageRow(this, outer, QStyle::SP_MessageBoxWarning);
    btnOk = MakeButton(this, "btnOk", QString::fromUtf8("확 인"));
    btnOk->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addStretch();
    outer->addLayout(buttons);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
}

void TCNotifyForm::SetText(const QString& text)
{
    lbMessage->setText(text);
    adjustSize();
}

TConfirmForm::TConfirmForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("TConfirmForm");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    lbMessage = BuildMessageRow(this, outer, QStyle::SP_MessageBoxQuestion);
    btnOk = MakeButton(this, "btnOk", QString());
    btnCancel = MakeButton(this, "btnCancel", QString());
    btnOk->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    buttons->addStretch();
    outer->addLayout(buttons);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TConfirmForm::Ask(const QString& question, const QString& okCaption, const QString& cancelCaption)
{
    lbMessage->setText(question);
    btnOk->setText(okCaption);
    btnCancel->setText(cancelCaption);
    adjustSize();
    btnOk->setFocus();
    return exec() == QDialog::Accepted;
}

QtPrompts::QtPrompts(QWidget* parent)
    : notify_(new TNotifyForm(parent)), cNotify_(new TCNotifyForm(parent)), confirm_(new TConfirmForm(parent)),
      owned_(parent == nullptr)
{
}

QtPrompts::~QtPrompts()
{
    // With a parent the dialogs go with it; without one they are ours.
    if (owned_) {
        delete notify_.data();
        delete cNotify_.data();
        delete confirm_.data();
    }
}

void QtPrompts::Notify(const std::string& text, int ms)
{
    if (notify_)
        notify_->ShowNotice(ToQ(text), ms);
}

template <class Form, class Ask> auto QtPrompts::WithDialog(const QPointer<Form>& kept, bool& busy, Ask ask)
{
    if (!busy) {
        busy = true;
        const QPointer<Form> form = kept;
        const auto answer = ask(*form);
        busy = false;
        return answer;
    }
    // The kept dialog is in its own loop below this call: a dialog of its
    // own keeps that one's text and answer intact.
    const QPointer<Form> extra = new Form(kept->parentWidget());
    const auto answer = ask(*extra);
    delete extra.data();
    return answer;
}

namespace {

// A prompt that opens while another dialog is answering sits a little below
// and to the right of it, so the user sees that one more is waiting; a prompt
// on its own goes back to the place Qt gives it (centred on its parent).
void PlaceOverOpenDialog(QDialog& form)
{
    constexpr int kCascade = 28;
    QWidget* below = QApplication::activeModalWidget();
    const bool stacked = below && below != &form && below->isVisible();
    if (stacked) {
        form.adjustSize();
        form.move(below->pos() + QPoint(kCascade, kCascade));
    } else if (form.property("zelCascaded").toBool()) {
        form.setAttribute(Qt::WA_Moved, false);
    }
    form.setProperty("zelCascaded", stacked);
}

} // namespace

void QtPrompts::ShowAlert(const std::string& text, const QPoint* at)
{
    if (!cNotify_)
        return;
    WithDialog(cNotify_, cNotifyBusy_, [&](TCNotifyForm& form) {
        form.SetText(ToQ(text));
        if (at)
            form.move(*at);
        else
            PlaceOverOpenDialog(form);
        return form.exec();
    });
}

void QtPrompts::Alert(const std::string& text)
{
    ShowAlert(text, nullptr);
}

void QtPrompts::AlertAt(const std::string& text, int left, int top)
{
    const QPoint at(left, top);
    ShowAlert(text, &at);
}

bool QtPrompts::Confirm(const std::string& text, const std::string& okCaption, const std::string& cancelCaption)
{
    if (!confirm_)
        return false;
    return WithDialog(confirm_, confirmBusy_, [&](TConfirmForm& form) {
        PlaceOverOpenDialog(form);
        return form.Ask(ToQ(text), ToQ(okCaption), ToQ(cancelCaption));
    });
}

} // namespace zel
