#pragma once
#include <QDialog>
#include <QPoint>
#include <QPointer>
#include <QTimer>

#include "core/ports/Prompts.h"

class QLabel;
class QPushButton;

namespace zel {

// The three small dialogs shared by every window. Each shows one line of text
// under the caption "벨다 알림 창".

// A stay-on-top notice that closes itself.
class TNotifyForm : public QDialog {
    Q_OBJECT
public:
    explicit TNotifyForm(QWidget* parent = nullptr);
    // Shows `text` without blocking and hides it after `ms` milliseconds; a
    // new notice replaces the one on screen and restarts the count.
    void ShowNotice(const QString& text, int ms);

    QLabel* lbMessage;

private:
    QTimer closeTimer_;
};

// A notice with one button "확 인"; exec() returns once it is pressed.
class TCNotifyForm : public QDialog {
    Q_OBJECT
public:
    explicit TCNotifyForm(QWidget* parent = nullptr);
    void SetText(const QString& text);

    QLabel* lbMessage;
    QPushButton* btnOk;
};

// A question with two buttons whose captions the caller gives.
class TConfirmForm : public QDialog {
    Q_OBJECT
public:
    explicit TConfirmForm(QWidget* parent = nullptr);
    // Modal; true when the first (OK) button was pressed, false for the
    // second button or a closed window.
    bool Ask(const QString& question, const QString& okCaption, const QString& cancelCaption);

    QLabel* lbMessage;
    QPushButton* btnOk;
    QPushButton* btnCancel;
};

// Prompts for the core, shown with the dialogs above. Notify returns at once;
// Alert and Confirm are modal. A notice or question asked while another of
// its kind is still open (from a timer inside that dialog's loop) gets a
// dialog of its own on top; each call returns the answer given to its own
// dialog.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr);
    ~QtPrompts() override;

    void Notify(const std::string& text, int ms) override;
    void Alert(const std::string& text) override;
    void AlertAt(const std::string& text, int left, int top) override;
    bool Confirm(const std::string& text, const std::string& okCaption, const std::string& cancelCaption) override;

    // The kept dialog of each kind; a nested call uses a fresh one instead.
    TNotifyForm* notifyForm() const { return notify_; }
    TCNotifyForm* cNotifyForm() const { return cNotify_; }
    TConfirmForm* confirmForm() const { return confirm_; }

private:
    // Runs `ask` on the kept dialog when it is free, otherwise on a fresh
    // dialog of the same kind (same parent) that is deleted afterwards.
    template <class Form, class Ask> auto WithDialog(const QPointer<Form>& kept, bool& busy, Ask ask);
    void ShowAlert(const std::string& text, const QPoint* at);

    // Owned by the parent window when there is one; a dialog gone with its
    // parent turns the call into a no-op (Confirm answers false).
    QPointer<TNotifyForm> notify_;
    QPointer<TCNotifyForm> cNotify_;
    QPointer<TConfirmForm> confirm_;
    bool cNotifyBusy_ = false;
    bool confirmBusy_ = false;
    bool owned_;
};

} // namespace zel
