#pragma once
#include <QDialog>
#include <vector>

class QListWidget;

namespace zel {

class TCManager;

// "내방 참여자": the members of the own room (or, in player mode, the
// players of the own multi-game room); OK returns the chosen one.
class TMyRIForm : public QDialog {
    Q_OBJECT
public:
    TMyRIForm(const TCManager& model, bool players, QWidget* parent = nullptr);

    // The chosen user number, or -1.
    int Chosen() const;

    QListWidget* lbMembers;

private:
    std::vector<int> users_;
};

} // namespace zel
