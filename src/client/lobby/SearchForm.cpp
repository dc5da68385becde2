#include "client/lobby/SearchForm.h"

#include <QComboBox>
#include <QCursor>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "client/base/QtText.h"
#include "core/lobby/LevelRules.h"
#include "core/lobby/ListRules.h"
#include "core/lobby/UserSearch.h"
#include "core/net/LobbyDispatch.h"
#include "core/settings/ZelStatus.h"

namespace zel {

namespace {
enum MenuTag { TagEnter = TSearchForm::kEnterRoomTag, TagInvite = 1, TagRecords = 3, TagMemo = 5, TagCancel = 8 };
}

TSearchForm::TSearchForm(TZelStatus& status, TLobbyDispatch& dispatch, TSearchListener& listener, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), status_(status), dispatch_(dispatch), listener_(listener),
      startMode_(status.friends.findMode)
{
    setObjectName("TSearchForm");
    setWindowTitle(QString::fromUtf8("찾아보기"));
    resize(480, 360);
    auto* column = new QVBoxLayout(this);
    auto* group = new QGroupBox(QString::fromUtf8(" 검색 조건 "), this);
    auto* modes = new QHBoxLayout(group);
    const char* captions[] = {" 아이디", " 대화명", " 기  력", " 친  구"};
    for (int i = 0; i < 4; ++i) {
        rbMode[i] = new QRadioButton(QString::fromUtf8(captions[i]), group);
        rbMode[i]->setObjectName(QString("rbMode%1").arg(i + 1));
        modes->addWidget(rbMode[i]);
    }
    rbMode[std::clamp(startMode_, 1, 4) - 1]->setChecked(true);
    column->addWidget(group);

    auto* row = new QHBoxLayout;
    eText = new QLineEdit(this);
    eText->setObjectName("eText");
    cbLow = new QComboBox(this);
    cbLow->setObjectName("cbLow");
    cbHigh = new QComboBox(this);
    cbHigh->setObjectName("cbHigh");
    for (int i = 0; i < kRangeEntries; ++i) {
        cbLow->addItem(ToQ(RangeEntryText(i)));
        cbHigh->addItem(ToQ(RangeEntryText(i)));
    }
    int own = RangeIndexFromLevel(status_.login.level);
    cbLow->setCurrentIndex(own);
    cbHigh->setCurrentIndex(std::min(own + 1, kRangeEntries - 1));
    auto* search = new QPushButton(QString::fromUtf8("검색 시작"), this);
    search->setObjectName("btnSearch");
    auto* close = new QPushButton(QString::fromUtf8("검색 마침"), this);
    close->setObjectName("btnClose");
    row->addWidget(eText, 1);
    row->addWidget(new QLabel(QString::fromUtf8("기력범위"), this));
    row->addWidget(cbLow);
    row->addWidget(cbHigh);
    row->addWidget(search);
    row->addWidget(close);
    column->addLayout(row);

    lvResult = new QTreeWidget(this);
    lvResult->setObjectName("lvResult");
    lvResult->setRootIsDecorated(false);
    lvResult->setHeaderLabels({QString::fromUtf8("방번호"), QString::fromUtf8("대화명(아이디)"),
                               QString::fromUtf8("기력"), QString::fromUtf8("상태"), QString::fromUtf8("초대"),
                               QString::fromUtf8("전적")});
    lvResult->setColumnWidth(0, 50);
    lvResult->setColumnWidth(1, 150);
    column->addWidget(lvResult, 1);

    menu = new QMenu(this);
    menu->setObjectName("ResultMenu");
    connect(search, &QPushButton::clicked, this, &TSearchForm::btnSearchClick);
    connect(eText, &QLineEdit::returnPressed, this, &TSearchForm::btnSearchClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(lvResult, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item, int) { ResultClicked(lvResult->indexOfTopLevelItem(item)); });
    connect(menu, &QMenu::triggered, this, [this](QAction* a) {
        int tag = a->data().toInt();
        const TCManager* m = dispatch_.Model();
        if (!m || m->CheckUser(menuUser_) != 0)
            return;
        if (tag != TagCancel)
            listener_.MenuAction(tag, menuUser_);
    });
}

int TSearchForm::Mode() const
{
    for (int i = 0; i < 4; ++i)
        if (rbMode[i]->isChecked())
            return i + 1;
    return SearchById;
}

void TSearchForm::btnSearchClick()
{
    lvResult->clear();
    results_.clear();
    const TCManager* m = dispatch_.Model();
    if (!m)
        return;
    SearchResult r = SearchUsers(*m, Mode(), FromQ(eText->text()), LevelFromRangeIndex(cbLow->currentIndex()),
                                 LevelFromRangeIndex(cbHigh->currentIndex()), status_.friends);
    if (!r.notice.empty()) {
        listener_.SearchNotice(r.notice);
        return;
    }
    results_ = r.users;
    for (int u : results_) {
        const UserRecord& user = m->User(u);
        auto* item = new QTreeWidgetItem(lvResult);
        item->setText(0, user.room == 0 ? QString::fromUtf8("대기실") : QString::number(user.room));
        item->setText(1, ToQ(user.nickname + "(" + user.id + ")"));
        item->setText(2, ToQ(user.rankText));
        item->setText(3, ToQ(UserStateWord(*m, u)));
        item->setText(4, QString::fromUtf8(user.invitations == 20 ? "허용" : "불가"));
        item->setText(5, QString::fromUtf8(user.profile == 30 ? "불가" : "허용"));
    }
}

void TSearchForm::ResultClicked(int row)
{
    const TCManager* m = dispatch_.Model();
    if (!m || row < 0 || row >= static_cast<int>(results_.size()))
        return;
    menuUser_ = results_[static_cast<std::size_t>(row)];
    const UserRecord& user = m->User(menuUser_);
    menu->clear();
    QAction* enter = menu->addAction(QString::number(user.room) + QString::fromUtf8(" 번방 입실"));
    enter->setData(TagEnter);
    enter->setEnabled(user.room != m->currentRoom);
    QAction* invite = menu->addAction(QString::fromUtf8("초대 하기"));
    invite->setData(TagInvite);
    invite->setEnabled(user.room != m->currentRoom && user.invitations == 20);
    QAction* records = menu->addAction(QString::fromUtf8("전적 요청"));
    records->setData(TagRecords);
    records->setEnabled(user.profile != 30);
    menu->addAction(QString::fromUtf8("메모 설정"))->setData(TagMemo);
    menu->addAction(QString::fromUtf8("선택 취소"))->setData(TagCancel);
    menu->popup(QCursor::pos());
}

void TSearchForm::done(int result)
{
    int mode = Mode();
    if (mode != startMode_) {
        status_.friends.findMode = mode;
        status_.Save(TZelStatus::kFriends);
    }
    QDialog::done(result);
}

} // namespace zel
