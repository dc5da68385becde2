#pragma once
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QMenu;
class QRadioButton;
class QTreeWidget;

namespace zel {

class TLobbyDispatch;
class TZelStatus;

// Hears the search window's menu choices and notices.
class TSearchListener {
public:
    virtual ~TSearchListener() = default;
    // A user-menu action chosen from the result menu (tags as in the user
    // list, plus TSearchForm::kEnterRoomTag).
    virtual void MenuAction(int tag, int u) = 0;
    // A timed notice (refusals, no match).
    virtual void SearchNotice(const std::string& text) = 0;
};

// "찾아보기": finds connected users by id, nickname, level range or friend
// list; a click on a result opens its menu.
class TSearchForm : public QDialog {
    Q_OBJECT
public:
    TSearchForm(TZelStatus& status, TLobbyDispatch& dispatch, TSearchListener& listener, QWidget* parent = nullptr);

    void btnSearchClick();
    int Mode() const;
    // Results in shown order.
    const std::vector<int>& Results() const { return results_; }

    QRadioButton* rbMode[4];
    QLineEdit* eText;
    QComboBox* cbLow;
    QComboBox* cbHigh;
    QTreeWidget* lvResult;
    QMenu* menu;

    // The tag of "번방 입실", beside the user list's menu tags.
    static constexpr int kEnterRoomTag = 100;

protected:
    void done(int result) override;

private:
    void ResultClicked(int row);

    TZelStatus& status_;
    TLobbyDispatch& dispatch_;
    TSearchListener& listener_;
    std::vector<int> results_;
    int menuUser_ = -1;
    int startMode_;
};

} // namespace zel
