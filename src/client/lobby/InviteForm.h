#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace zel {

class TInvitation;
class TLobbyDispatch;

// The invitation dialog "확인 하세요": who invites and to what, the refusal
// text under "미안해요" (editable; what stands there goes with a refusal,
// the automatic one included) and the "자동거부" gauge that fills once a
// second until the invitation refuses itself. It answers the dispatch's open
// invitation; the dispatch (which outlives it) closes it when the invitation
// is over. Closing the window refuses.
class TInviteForm : public QDialog {
    Q_OBJECT
public:
    TInviteForm(TLobbyDispatch& dispatch, const TInvitation& invitation, QWidget* parent = nullptr);

    // Seconds of the gauge, 0..TInvitation::kSeconds.
    void SetGauge(int seconds);

    QLabel* lbFirst;
    QLabel* lbSecond;
    QLineEdit* eReject;
    QProgressBar* pbAuto;
    QPushButton* btnAccept;
    QPushButton* btnRefuse;

protected:
    void reject() override;

private:
    void AcceptClick();
    void RefuseClick();
    // The refusal text as typed, into the open invitation.
    void KeepRefusal();

    TLobbyDispatch& dispatch_;
    bool answered_ = false;
};

} // namespace zel
