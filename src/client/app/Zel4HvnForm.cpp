#include "client/app/Zel4HvnForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "client/base/BannerLabel.h"
#include "client/app/LobbyFormPorts.h"
#include "client/base/ToolGlyphs.h"
#include "client/base/QtColours.h"
#include "client/base/QtText.h"
#include "client/base/UiFont.h"
#include "client/lobby/LoginForm.h"
#include "client/term/EditPanel.h"
#include "client/term/Terminal.h"
#include "core/app/ConfigExchange.h"
#include "core/settings/ZelStatus.h"

namespace zel {
namespace {

QToolButton* TopButton(QWidget* parent, const char* name, ToolGlyphs::Kind glyph, const char* caption, const char* hint)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(ToolGlyphs::Icon(glyph));
    b->setIconSize(QSize(28, 28));
    b->setText(QString::fromUtf8(caption));
    b->setToolTip(QString::fromUtf8(hint));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setFixedSize(58, 54);
    return b;
}

QToolButton* SideButton(QWidget* parent, const char* name, ToolGlyphs::Kind glyph, const char* caption,
                        const char* hint)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(ToolGlyphs::Icon(glyph, 20));
    b->setIconSize(QSize(20, 20));
    b->setText(QString::fromUtf8(caption));
    b->setToolTip(QString::fromUtf8(hint));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    b->setMinimumHeight(26);
    return b;
}

// The row height of a list box, kept for its style sheet.
constexpr const char* kItemHeight = "zelItemHeight";

// A list box with its header; the lobby's list views set its columns.
QTreeView* ListBox(QWidget* parent, const char* name, const char* headerName, int itemHeight)
{
    auto* list = new QTreeView(parent);
    list->setObjectName(name);
    list->header()->setObjectName(headerName);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setIndentation(0);
    list->setFrameShape(QFrame::NoFrame);
    list->header()->setSectionsMovable(false);
    list->header()->setStretchLastSection(true);
    list->setProperty(kItemHeight, itemHeight);
    return list;
}

} // namespace

TZel4HvnForm::TZel4HvnForm(TZelStatus& status, Prompts& prompts, TBackDraw& backDraw, TLobbyFormPorts& ports,
                           QWidget* parent)
    : QMainWindow(parent), status_(status), prompts_(prompts), backDraw_(backDraw), ports_(ports)
{
    setObjectName("TZel4HvnForm");
    setWindowTitle(QString::fromUtf8("가온하루미 벨다 베타 1.8 c"));
    setFont(UiFont(9));
    resize(680, 491);

    auto* central = new QWidget(this);
    central->setObjectName("MainBody");
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(BuildTopPanel());
    auto* body = new QHBoxLayout;
    body->setContentsMargins(3, 3, 3, 0);
    body->setSpacing(3);
    body->addWidget(BuildMainPanel(), 1);
    body->addWidget(BuildCtrlPanel());
    outer->addLayout(body, 1);
    setCentralWidget(central);
    BuildStatusBar();
    ApplyColours();
    ShowMacroHints();
    // One application-wide filter: clicks on the status panels, and
    // Alt+1..Alt+9 sending the macros wherever the focus is in this window.
    qApp->installEventFilter(this);
}

bool TZel4HvnForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < kPanelCount; ++i) {
            if (watched == panels_[static_cast<std::size_t>(i)]) {
                ports_.PanelClicked(i);
                return false;
            }
        }
    } else if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
               (watched == this || isAncestorOf(static_cast<QWidget*>(watched)))) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & Qt::AltModifier) && key->key() >= Qt::Key_1 && key->key() <= Qt::Key_9 &&
            ports_.MacroKey(key->key() - Qt::Key_0))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

TZel4HvnForm::~TZel4HvnForm()
{
    qApp->removeEventFilter(this);
}

QWidget* TZel4HvnForm::BuildTopPanel()
{
    auto* top = new QWidget(this);
    top->setObjectName("TopPanel");
    top->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(top);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(1);
    sbConn = TopButton(top, "sbConn", ToolGlyphs::Connect, "접속", "서버 접속");
    sbVGame = TopButton(top, "sbVGame", ToolGlyphs::ViewGame, "바둑보기", "바둑 보기");
    sbVGibo = TopButton(top, "sbVGibo", ToolGlyphs::ViewRecord, "기보보기", "기보 보기");
    sbStudy = TopButton(top, "sbStudy", ToolGlyphs::Study, "기보복기", "기보 복기");
    sbJoseki = TopButton(top, "sbJoseki", ToolGlyphs::Joseki, "정석", "정석");
    sbEnvS = TopButton(top, "sbEnvS", ToolGlyphs::Environment, "환경설정", "환경 설정");
    sbHelp = TopButton(top, "sbHelp", ToolGlyphs::Help, "도움말", "도움말");
    sbExit = TopButton(top, "sbExit", ToolGlyphs::Exit, "종료", "프로그램 종료");
    sbJoseki->setEnabled(false);
    sbVGame->setEnabled(false);
    sbVGibo->setEnabled(false);
    sbStudy->setEnabled(false);
    connect(sbEnvS, &QToolButton::clicked, this, [this] { ports_.OpenEnvironment(); });
    for (QToolButton* b : {sbConn, sbVGame, sbVGibo, sbStudy, sbJoseki, sbEnvS, sbHelp})
        row->addWidget(b);
    row->addSpacing(6);
    row->addWidget(sbExit);
    row->addStretch(1);

    const char* names[] = {"LogoImage", "BannerImage", "TopLogoImage"};
    for (std::size_t i = 0; i < bannerImages_.size(); ++i) {
        auto* image = new BannerLabel(top);
        image->setObjectName(names[i]);
        image->setAlignment(Qt::AlignCenter);
        image->setCursor(Qt::PointingHandCursor);
        connect(image, &BannerLabel::Clicked, this, [this, i] { ports_.BannerClicked(kBannerFiles[i]); });
        bannerImages_[i] = image;
    }
    // Banners take the room the buttons leave and give it up on a narrow window.
    const int widths[] = {110, 234, 60};
    for (std::size_t i = 0; i < bannerImages_.size(); ++i) {
        bannerImages_[i]->setFixedHeight(46);
        bannerImages_[i]->setAlignment(Qt::AlignCenter);
        bannerImages_[i]->setMaximumWidth(widths[i]);
        bannerImages_[i]->setMinimumWidth(1);
        bannerImages_[i]->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    bannerImages_[1]->setText(QString::fromUtf8("<b>가온하루미 벨다</b><br><small>온라인 바둑 대국실</small>"));
    bannerImages_[1]->setStyleSheet("QLabel { color: #f4e7c5; background: qlineargradient(x1:0, y1:0, x2:0, "
                                    "y2:1, stop:0 #3d5f8f, stop:1 #1c3257); border: 1px solid #0e1d36; "
                                    "border-radius: 3px; }");
    row->addWidget(bannerImages_[1]);
    row->addWidget(bannerImages_[0]);
    row->addWidget(bannerImages_[2]);
    bannerImages_[0]->hide();
    bannerImages_[2]->hide();
    return top;
}

QWidget* TZel4HvnForm::BuildMainPanel()
{
    auto* mainPanel = new QWidget(this);
    mainPanel->setObjectName("MainPanel");
    auto* column = new QVBoxLayout(mainPanel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    MainSplitter = new QSplitter(Qt::Vertical, mainPanel);
    MainSplitter->setObjectName("Splitter");
    MainSplitter->setChildrenCollapsible(false);
    MainSplitter->setHandleWidth(4);

    SlotLBox = ListBox(MainSplitter, "SlotLBox", "SIHeader", 17);
    SlotLBox->setMinimumHeight(60);

    auto* chatPanel = new QWidget(MainSplitter);
    chatPanel->setObjectName("ChatPanel");
    chatPanel->setMinimumHeight(60);
    auto* chatColumn = new QVBoxLayout(chatPanel);
    chatColumn->setContentsMargins(0, 0, 0, 0);
    chatColumn->setSpacing(2);
    terminal_ = new TTerminal(backDraw_, chatPanel);
    terminal_->setObjectName("Terminal");
    ChatBox = new TEditPanel(chatPanel);
    ChatBox->setObjectName("ChatBox");
    ChatBox->Input()->setPlaceholderText(QString::fromUtf8("대화 내용을 입력하세요"));
    ChatBox->OnLine = [this](const std::string& line) { ports_.ChatLine(line); };
    chatColumn->addWidget(terminal_, 1);
    chatColumn->addWidget(ChatBox);

    MainSplitter->addWidget(SlotLBox);
    MainSplitter->addWidget(chatPanel);
    MainSplitter->setStretchFactor(0, 1);
    MainSplitter->setStretchFactor(1, 1);
    column->addWidget(MainSplitter);
    return mainPanel;
}

QWidget* TZel4HvnForm::BuildCtrlPanel()
{
    auto* ctrl = new QWidget(this);
    ctrl->setObjectName("CtrlPanel");
    ctrl->setFixedWidth(196);
    auto* column = new QVBoxLayout(ctrl);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    UserLBox = ListBox(ctrl, "UserLBox", "UIHeader", 16);
    UserLBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column->addWidget(UserLBox, 1);

    userButtons_ = new QWidget(ctrl);
    userButtons_->setObjectName("UserBtnPanel");
    auto* grid = new QGridLayout(userButtons_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    sbRoom = SideButton(userButtons_, "sbRoom", ToolGlyphs::MakeRoom, "방만들기", "방 만들기");
    sbMyRI = SideButton(userButtons_, "sbMyRI", ToolGlyphs::Members, "참여자", "내방 참여자");
    sbFind = SideButton(userButtons_, "sbFind", ToolGlyphs::Find, "찾아보기", "찾아보기");
    sbInfo = SideButton(userButtons_, "sbInfo", ToolGlyphs::Info, "개인정보", "개인정보");
    grid->addWidget(sbRoom, 0, 0);
    grid->addWidget(sbMyRI, 0, 1);
    grid->addWidget(sbFind, 1, 0);
    grid->addWidget(sbInfo, 1, 1);
    sbRoom->setEnabled(false);
    sbMyRI->setEnabled(false);
    sbFind->setEnabled(false);
    column->addWidget(userButtons_);
    return ctrl;
}

void TZel4HvnForm::BuildStatusBar()
{
    auto* bar = new QStatusBar(this);
    bar->setObjectName("MainSB");
    bar->setSizeGripEnabled(true);
    // Nine macro shortcuts, then place, counters, chat mode and clock; the
    // widths are minimums so that Korean text is never cut.
    const int widths[kPanelCount] = {18, 18, 18, 18, 18, 18, 18, 18, 18, 30, 96, 70, 50, 62, 76};
    for (int i = 0; i < kPanelCount; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QString("Panel%1").arg(i));
        panel->setAlignment(Qt::AlignCenter);
        panel->setMinimumWidth(widths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        if (i < 9)
            panel->setText(QString::number(i + 1));
        panels_[static_cast<std::size_t>(i)] = panel;
        bar->addWidget(panel, i == 12 ? 1 : 0);
    }
    setStatusBar(bar);
}

void TZel4HvnForm::ApplyColours()
{
    QColor base = PaletteQColor(status_.environment.baseColor);
    QColor text = PaletteQColor(status_.color.terminalFc);
    terminal_->SetColours(status_.color.terminalFc, status_.environment.baseColor);
    terminal_->SetIMBtnColours(status_.color.terminTmFc, status_.color.terminTmBc);
    ChatBox->SetColours(base, text, text.darker(140));
    for (QTreeView* list : {SlotLBox, UserLBox}) {
        QPalette p = list->palette();
        p.setColor(QPalette::Base, base);
        p.setColor(QPalette::Text, text);
        p.setColor(QPalette::AlternateBase, base.lighter(115));
        list->setPalette(p);
        // The list's style sheet decides what a shown list paints: the
        // colours go there too, so that they change at once.
        list->setStyleSheet(QString("QTreeView { background: %1; color: %2; alternate-background-color: %3; } "
                                    "QTreeView::item { height: %4px; }")
                                .arg(base.name(), text.name(), base.lighter(115).name())
                                .arg(list->property(kItemHeight).toInt()));
    }
    findChild<QWidget*>("TopPanel")
        ->setStyleSheet(
            "#TopPanel { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7f4ec, stop:1 #ddd6c4); "
            "border-bottom: 1px solid #a89f88; }");
}

void TZel4HvnForm::ShowMacroHints()
{
    for (int i = 0; i < 9; ++i)
        panels_[static_cast<std::size_t>(i)]->setToolTip(
            ToQ(status_.environment.messages[static_cast<std::size_t>(i + 1)]));
}

QString TZel4HvnForm::PanelText(int index) const
{
    if (index < 0 || index >= kPanelCount)
        return {};
    return panels_[static_cast<std::size_t>(index)]->text();
}

void TZel4HvnForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (firstShow_) {
        firstShow_ = false;
        FormShow();
    }
}

void TZel4HvnForm::FormShow()
{
    const MainFormInfo& info = status_.mainForm;
    if (info.width > 200 && info.height > 150)
        resize(info.width, info.height);
    move(info.left, info.top);
    int chat = info.lengthA > 60 ? info.lengthA : 60;
    MainSplitter->setSizes({MainSplitter->height() - chat, chat});
    userButtons_->setMinimumHeight(info.lengthB > 0 ? info.lengthB : 57);
    ChatBox->SetFontSize(info.fontSize > 5 && info.fontSize < 40 ? info.fontSize : 10);
    ports_.FormShown();
}

void TZel4HvnForm::closeEvent(QCloseEvent* event)
{
    if (!ports_.MayClose()) {
        event->ignore();
        return;
    }
    SaveWindowInfo();
    ports_.Closing();
    event->accept();
}

void TZel4HvnForm::SaveWindowInfo()
{
    MainFormInfo& info = status_.mainForm;
    // Docked, the window keeps the place it had on its own.
    QRect frame = UndockedGeometry.value_or(geometry());
    info.top = frame.top();
    info.left = frame.left();
    info.width = frame.width();
    info.height = frame.height();
    QList<int> sizes = MainSplitter->sizes();
    if (sizes.size() == 2)
        info.lengthA = sizes[1];
    info.lengthB = userButtons_->height();
    status_.Save("MainForm Info");
    status_.Save("Go MainForm Info");
}

void TZel4HvnForm::setVisible(bool visible)
{
    if (!HookVisibility(visible))
        QMainWindow::setVisible(visible);
}

QWidget* TZel4HvnForm::DockFocus() const
{
    return ChatBox->Input();
}

// --- LobbyView ------------------------------------------------------------------

void TZel4HvnForm::SetPanel(int index, const std::string& text)
{
    if (index < 0 || index >= kPanelCount)
        return;
    panels_[static_cast<std::size_t>(index)]->setText(ToQ(text));
    ports_.PanelChanged(index, text);
}

void TZel4HvnForm::EnableConnect(bool enabled)
{
    sbConn->setEnabled(enabled);
}

void TZel4HvnForm::SetConnectGlyph(bool connected)
{
    sbConn->setIcon(ToolGlyphs::Icon(connected ? ToolGlyphs::Disconnect : ToolGlyphs::Connect));
    sbConn->setText(QString::fromUtf8(connected ? "접속끊기" : "접속"));
    sbConn->setToolTip(QString::fromUtf8(connected ? "접속 끊기" : "서버 접속"));
    sbMyRI->setEnabled(connected);
    sbFind->setEnabled(connected);
}

void TZel4HvnForm::EnableRoom(bool enabled)
{
    sbRoom->setEnabled(enabled);
}

void TZel4HvnForm::PrintLine(const std::string& line)
{
    terminal_->PrintLine(line);
    ports_.LinePrinted(line);
}

bool TZel4HvnForm::OpenLoginDialog()
{
    TLoginForm form(status_, prompts_, this);
    return form.exec() == QDialog::Accepted;
}

void TZel4HvnForm::OpenPersonalInfo()
{
    ports_.OpenPersonalInfo();
}

void TZel4HvnForm::LoadBanners()
{
    QDir dir(ToQ(status_.critical.advhdir));
    for (std::size_t i = 0; i < bannerImages_.size(); ++i) {
        QString name = QString::fromStdString(TConfigExchange::FileName(kBannerFiles[i]));
        if (bannerImages_[i]->LoadPicture(dir.filePath(name)))
            bannerImages_[i]->show();
    }
    ports_.BannersLoaded();
}

BannerLabel* TZel4HvnForm::Banner(int file) const
{
    for (std::size_t i = 0; i < bannerImages_.size(); ++i)
        if (kBannerFiles[i] == file)
            return bannerImages_[i];
    return nullptr;
}

void TZel4HvnForm::CloseWindow()
{
    QMetaObject::invokeMethod(this, &TZel4HvnForm::CloseWhenFree, Qt::QueuedConnection);
}

void TZel4HvnForm::CloseWhenFree()
{
    // A modal notice still open would outlive this window and keep the program
    // running with nothing shown: close once it has been answered.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(100, this, &TZel4HvnForm::CloseWhenFree);
        return;
    }
    close();
}

// --- TLobbyWidgets ----------------------------------------------------------------

void TZel4HvnForm::EnableButtons(const LobbyButtons& enabled)
{
    sbMyRI->setEnabled(enabled.myRI);
    sbFind->setEnabled(enabled.find);
    sbVGibo->setEnabled(enabled.vGibo);
    sbStudy->setEnabled(enabled.study);
    sbVGame->setEnabled(enabled.vGame);
}

bool TZel4HvnForm::WatchEnabled() const
{
    return sbVGame->isEnabled();
}

void TZel4HvnForm::ShowMemberView(bool members)
{
    sbMyRI->setIcon(ToolGlyphs::Icon(members ? ToolGlyphs::Waiting : ToolGlyphs::Members, 20));
}

void TZel4HvnForm::ShowInRoom(bool inRoom)
{
    sbRoom->setIcon(ToolGlyphs::Icon(inRoom ? ToolGlyphs::LeaveRoom : ToolGlyphs::MakeRoom, 20));
    sbRoom->setText(QString::fromUtf8(inRoom ? "방나가기" : "방만들기"));
}

void TZel4HvnForm::FocusChat()
{
    ChatBox->setFocus();
}

} // namespace zel
