#include "client/record/ZelGoMainForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "client/base/QtText.h"
#include "client/base/UiFont.h"
#include "client/engine/GoPaintBox.h"
#include "client/game/ElmGoInfoPanel.h"
#include "client/record/MarkerPalette.h"
#include "client/term/ChatTerm.h"
#include "client/term/EditPanel.h"
#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/ports/FileStore.h"
#include "core/ports/Prompts.h"
#include "core/record/RecordHeader.h"
#include "core/settings/ZelStatus.h"
#include "os/DirFileStore.h"

namespace zel {

namespace {

const char* const kLiveCaption = "벨다 바둑";
constexpr int kInfoWidth = 273;
constexpr int kTopHeight = 52;
constexpr int kBtnHeight = 87;
constexpr int kChatBoxHeight = 59;
constexpr std::size_t kMaxChatLine = 149;

std::string Width2(int n)
{
    std::string s = std::to_string(n);
    return s.size() < 2 ? " " + s : s;
}

// The glyph of navigation button i: bars and triangles pointing the way.
QIcon NavGlyph(int i, bool enabled)
{
    QPixmap pm(22, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(enabled ? QColor(0x20, 0x30, 0x70) : QColor(0xA0, 0xA0, 0xA0));
    const bool back = i < 3;
    const int triangles = (i == 1 || i == 4) ? 2 : 1;
    auto triangle = [&](int x) {
        QPolygonF t;
        if (back)
            t << QPointF(x, 7) << QPointF(x + 7, 1) << QPointF(x + 7, 13);
        else
            t << QPointF(x + 7, 7) << QPointF(x, 1) << QPointF(x, 13);
        p.drawPolygon(t);
    };
    int x = triangles == 2 ? 4 : 7;
    if (i == 0) {
        p.drawRect(QRectF(4, 1, 2, 12));
        x = 7;
    }
    for (int k = 0; k < triangles; ++k)
        triangle(x + k * 7);
    if (i == 5)
        p.drawRect(QRectF(15, 1, 2, 12));
    p.end();
    QIcon icon;
    icon.addPixmap(pm);
    return icon;
}

// The program's emblem drawn into the logo: a stone pair on wood.
QPixmap LogoPixmap()
{
    QPixmap pm(80, 46);
    pm.fill(QColor(0xD9, 0xB0, 0x6A));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x6A, 0x48, 0x20));
    for (int i = 0; i < 5; ++i) {
        p.drawLine(8, 7 + i * 8, 72, 7 + i * 8);
        p.drawLine(8 + i * 16, 7, 8 + i * 16, 39);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x18, 0x18, 0x18));
    p.drawEllipse(QPointF(24, 23), 7, 7);
    p.setBrush(QColor(0xF4, 0xF4, 0xF0));
    p.drawEllipse(QPointF(40, 23), 7, 7);
    p.setPen(QColor(0x30, 0x20, 0x10));
    QFont f = UiFont(9);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(44, 26, 36, 20), Qt::AlignCenter, QString::fromUtf8("벨다"));
    return pm;
}

} // namespace

TZelGoMainForm::TZelGoMainForm(TZelStatus& status, Prompts& prompts, TBackDraw& draw, QWidget* parent)
    : QMainWindow(parent), status_(status), prompts_(prompts)
{
    setObjectName("TZelGoMainForm");
    setWindowTitle(QString::fromUtf8(kLiveCaption));
    setFont(UiFont(9));

    auto* base = new QWidget(this);
    base->setObjectName("BasePanel");
    auto* row = new QHBoxLayout(base);
    row->setContentsMargins(2, 2, 2, 0);
    row->setSpacing(3);
    row->addWidget(BuildShowPanel(), 1);
    (void)draw;
    infoPanel_ = BuildInfoPanel();
    row->addWidget(infoPanel_);
    setCentralWidget(base);

    // The chat terminal needs the window's bitmap fonts.
    terminal_ = new TChatTerm(draw, chatPanel_);
    terminal_->setObjectName("GoTerminal");
    splitter_->insertWidget(0, terminal_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    connect(splitter_, &QSplitter::splitterMoved, this, [this] {
        if (goEdit_->isVisible())
            status_.goMainForm.lengthA = goEdit_->height();
    });
    BuildStatusBar();

    aTimer_ = new QTimer(this);
    connect(aTimer_, &QTimer::timeout, this, &TZelGoMainForm::TimerTick);

    palette_ = new TMarkerPalette(this);
    palette_->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    palette_->hide();

    board_.OnPointChange = [this](TGoBoard&, int x, int y, int mark, std::uint8_t colour) {
        paintBox_->DrawPoint(colour, x, y, mark);
    };
    board_.OnMove = [this](TGoBoard&, const TMoveInfo& info, bool) { BoardMoved(info); };
    TGoSnapshot empty;
    EmptySnapshot(empty);
    TNumbering numbering;
    ClearNumbering(numbering);
    board_.LoadSnapshot(empty);
    board_.SetNumbering(numbering);

    resize(std::max(status_.goMainForm.width, 640), std::max(status_.goMainForm.height, 480));
}

TZelGoMainForm::~TZelGoMainForm()
{
    board_.OnPointChange = nullptr;
    board_.OnMove = nullptr;
}

QWidget* TZelGoMainForm::BuildShowPanel()
{
    auto* show = new QWidget(this);
    show->setObjectName("ShowPanel");
    auto* column = new QVBoxLayout(show);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    gpbPanel_ = new QWidget(show);
    gpbPanel_->setObjectName("GPBPanel");
    gpbPanel_->setMinimumSize(19 * 10 + 26, 19 * 10 + 26);
    gpbPanel_->installEventFilter(this);
    paintBox_ = new TGoPaintBox(gpbPanel_);
    paintBox_->setObjectName("GoPaintBox");
    paintBox_->LoadDefaultPictures();
    connect(paintBox_, &TGoPaintBox::MouseDown, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) { BoardClick(b, m, x, y); });
    chatBox_ = new TEditPanel(show);
    chatBox_->setObjectName("ChatBox");
    chatBox_->setFixedHeight(kChatBoxHeight);
    chatBox_->OnLine = [this](const std::string& line) { SendChatLine(line, false); };
    column->addWidget(gpbPanel_, 1);
    column->addWidget(chatBox_);
    return show;
}

QWidget* TZelGoMainForm::BuildInfoPanel()
{
    auto* info = new QWidget(this);
    info->setObjectName("InfoPanel");
    info->setFixedWidth(kInfoWidth);
    auto* column = new QVBoxLayout(info);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    topPanel_ = new QWidget(info);
    topPanel_->setObjectName("TopPanel");
    topPanel_->setFixedHeight(kTopHeight);
    logo_ = new QLabel(topPanel_);
    logo_->setObjectName("HvnLogo");
    logo_->setPixmap(LogoPixmap());
    logo_->setGeometry(3, 3, 80, 46);
    logo_->installEventFilter(this);
    logo_->setCursor(Qt::PointingHandCursor);
    banner_ = new QLabel(topPanel_);
    banner_->installEventFilter(this);
    banner_->setCursor(Qt::PointingHandCursor);
    banner_->setObjectName("ADVImage");
    banner_->setAlignment(Qt::AlignCenter);
    banner_->setText(QString::fromUtf8("가온하루미 벨다"));
    banner_->setStyleSheet("QLabel { background: #203060; color: #F0E0B0; font-weight: bold; }");
    column->addWidget(topPanel_);

    gameInfo_ = new TElmGoInfoPanel(info);
    column->addWidget(gameInfo_);

    chatPanel_ = new QWidget(info);
    chatPanel_->setObjectName("ChatPanel");
    auto* chatColumn = new QVBoxLayout(chatPanel_);
    chatColumn->setContentsMargins(0, 0, 0, 0);
    splitter_ = new QSplitter(Qt::Vertical, chatPanel_);
    splitter_->setObjectName("CPSplitter");
    splitter_->setChildrenCollapsible(false);
    goEdit_ = new QTextEdit(splitter_);
    goEdit_->setObjectName("GoEdit");
    goEdit_->setAcceptRichText(false);
    goEdit_->setStyleSheet("QTextEdit { background: #000040; color: white; }");
    QFont editFont(QString::fromUtf8("굴림체"), 9);
    editFont.setStyleHint(QFont::TypeWriter);
    goEdit_->setFont(editFont);
    goEdit_->hide();
    splitter_->addWidget(goEdit_);
    chatColumn->addWidget(splitter_);
    column->addWidget(chatPanel_, 1);

    btnPanel_ = new QWidget(info);
    btnPanel_->setObjectName("BtnPanel");
    btnPanel_->setFixedHeight(kBtnHeight);
    BuildButtons(btnPanel_);
    column->addWidget(btnPanel_);
    return info;
}

void TZelGoMainForm::BuildButtons(QWidget* panel)
{
    for (int i = 0; i < kCommandButtons; ++i) {
        auto* b = new QToolButton(panel);
        b->setObjectName(QString("CommandButton%1").arg(i));
        b->setGeometry(0, 0, 65, 24);
        b->hide();
        connect(b, &QToolButton::clicked, this, [this, i] { ButtonClick(i); });
        commandButtons_[static_cast<std::size_t>(i)] = b;
    }
    for (int i = 0; i < kNavButtons; ++i) {
        auto* b = new QToolButton(panel);
        const int tag = kFirstNavTag + i;
        b->setObjectName(QString("NavButton%1").arg(tag));
        b->setGeometry(0, 0, 35, 24);
        QIcon icon = NavGlyph(i, true);
        icon.addPixmap(NavGlyph(i, false).pixmap(22, 14), QIcon::Disabled);
        b->setIcon(icon);
        b->setIconSize(QSize(22, 14));
        b->setToolTip(QString::fromUtf8(NavHint(tag)));
        b->hide();
        connect(b, &QToolButton::clicked, this, [this, tag] { ButtonClick(tag); });
        navButtons_[static_cast<std::size_t>(i)] = b;
    }
}

void TZelGoMainForm::BuildStatusBar()
{
    auto* bar = new QStatusBar(this);
    bar->setObjectName("MainSB");
    for (int i = 0; i < 15; ++i) {
        auto* cell = new QLabel(bar);
        cell->setObjectName(QString("Cell%1").arg(i));
        cell->setAlignment(Qt::AlignCenter);
        cell->setFrameShape(QFrame::Panel);
        cell->setFrameShadow(QFrame::Sunken);
        if (i < 9) {
            cell->setText(QString::number(i + 1));
            cell->setFixedWidth(21);
            cell->setFrameShadow(QFrame::Raised);
            cell->setToolTip(ToQ(status_.environment.messages[static_cast<std::size_t>(i + 1)]));
            cell->installEventFilter(this);
        } else if (i == 11) {
            cell->installEventFilter(this);
        }
        cell->setMinimumWidth(i < 9 ? 21 : 40);
        cells_[static_cast<std::size_t>(i)] = cell;
        bar->addWidget(cell, i == 9 ? 1 : 0);
    }
    setStatusBar(bar);
}

int TZelGoMainForm::BoardSide(int width, int height)
{
    const int cell = std::max(1, std::min((height - 26) / 19, (width - 26) / 19));
    return 19 * cell;
}

void TZelGoMainForm::PlaceBoard()
{
    const int w = gpbPanel_->width();
    const int h = gpbPanel_->height();
    const int size = BoardSide(w, h);
    paintBox_->SetSzBoard(size);
    paintBox_->move((w - size - 18) / 2, (h - size - 18) / 2);
}

void TZelGoMainForm::FitChatPanel()
{
    banner_->setGeometry(86, 3, std::min(180, std::max(0, topPanel_->width() - 88)), 46);
}

bool TZelGoMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == gpbPanel_ && event->type() == QEvent::Resize) {
        PlaceBoard();
        return false;
    }
    if ((watched == logo_ || watched == banner_) && event->type() == QEvent::MouseButtonPress) {
        BannerClick(watched == logo_ ? 3 : 5);
        return true;
    }
    for (int i = 0; i < 15; ++i) {
        QLabel* cell = cells_[static_cast<std::size_t>(i)];
        if (watched != cell)
            continue;
        auto* mouse = static_cast<QMouseEvent*>(event);
        const bool inside = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
                                ? mouse->position().x() >= 3 && mouse->position().x() <= cell->width() - 1
                                : false;
        if (event->type() == QEvent::MouseButtonPress && inside) {
            if (i < 9) {
                cell->setFrameShadow(QFrame::Sunken);
                SendChatLine(status_.environment.messages[static_cast<std::size_t>(i + 1)], true);
            } else if (i == 11 && ShowRoomMembers) {
                ShowRoomMembers();
            }
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease && i < 9) {
            cell->setFrameShadow(QFrame::Raised);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TZelGoMainForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FitChatPanel();
}

void TZelGoMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (firstShow_) {
        firstShow_ = false;
        const auto& g = status_.goMainForm;
        if (g.width > 0 && g.height > 0)
            setGeometry(g.left, g.top, std::max(g.width, 640), std::max(g.height, 480));
        goEdit_->hide();
        chatBox_->SetFontSize(10);
        chatBox_->SetHideBack(true);
        gameInfo_->SetFonts(QString::fromUtf8("굴림체"), 9, true);
        chatBox_->Input()->setFocus();
    }
    FitChatPanel();
}

void TZelGoMainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow())
        chatBox_->Input()->setFocus();
    else
        chatBox_->CancelComposition();
}

std::string TZelGoMainForm::BannerAddress(int tag) const
{
    const auto& host = status_.host;
    if (tag <= 1 || tag > host.adFileCount || tag > HostInfo::kMax)
        return {};
    const std::string& url = host.adUrls[static_cast<std::size_t>(tag - 1)];
    // Addresses come from the configuration server: only web pages open.
    const QUrl parsed(ToQ(url));
    if (!parsed.isValid() || (parsed.scheme() != "http" && parsed.scheme() != "https"))
        return {};
    return url;
}

void TZelGoMainForm::BannerClick(int tag)
{
    const std::string url = BannerAddress(tag);
    if (url.empty())
        return;
    if (OpenAddress)
        OpenAddress(url);
    else
        QDesktopServices::openUrl(QUrl(ToQ(url)));
}

void TZelGoMainForm::closeEvent(QCloseEvent* event)
{
    if (InGameRoom && InGameRoom() && OnNavEvent) {
        if (mode_ == kViewing)
            EndViewing();
        event->ignore();
        return;
    }
    aTimer_->stop();
    auto& g = status_.goMainForm;
    g.top = geometry().top();
    g.left = geometry().left();
    g.width = width();
    g.height = height();
    status_.Save(TZelStatus::kGoMainForm);
    event->accept();
}

void TZelGoMainForm::SetCommand(int index, int command)
{
    auto& bc = buttonCommands_[static_cast<std::size_t>(index)];
    bc.Command = static_cast<std::uint8_t>(command);
    bc.Partner = static_cast<std::uint8_t>(CommandPartner(command));
    commandButtons_[static_cast<std::size_t>(index)]->setText(QString::fromUtf8(CommandCaption(command)));
}

void TZelGoMainForm::SetButtonCommand(int index, int command)
{
    if (index >= 0 && index < kCommandButtons && command >= 0 && command <= kLastCommand)
        SetCommand(index, command);
}

void TZelGoMainForm::SetLayout(int layout)
{
    if (layout < 1 || layout > 7)
        return;
    layout_ = layout;
    const auto commands = LayoutCommands(layout, MultiGameHost);
    for (int i = 0; i < kCommandButtons; ++i)
        SetCommand(i, commands[static_cast<std::size_t>(i)]);
    paintBox_->SetHoverMode(false);
    for (int i = 0; i < kCommandButtons; ++i) {
        const TButtonPlace place = CommandButtonPlace(layout, i);
        QToolButton* b = commandButtons_[static_cast<std::size_t>(i)];
        if (place.Visible)
            b->setGeometry(place.Left, place.Top, place.Width, 24);
        b->setVisible(place.Visible);
    }
    for (int i = 0; i < kNavButtons; ++i) {
        const TButtonPlace place = NavButtonPlace(layout, i);
        QToolButton* b = navButtons_[static_cast<std::size_t>(i)];
        if (place.Visible)
            b->setGeometry(place.Left, place.Top, place.Width, 24);
        b->setVisible(place.Visible);
        b->setEnabled(place.Visible);
    }
}

void TZelGoMainForm::EnterMode(int mode, const TGoSnapshot& snapshot)
{
    previousMode_ = mode_;
    savedSnapshot_ = snapshot;
    mode_ = mode;
    switch (mode) {
    case kLive:
        setWindowTitle(QString::fromUtf8(kLiveCaption));
        goEdit_->hide();
        chatBox_->Input()->setFocus();
        break;
    case kWriting:
        markerOpen_ = false;
        board_.LoadSnapshot(snapshot);
        board_.SetNumbering({0, snapshot.MoveCount, 1});
        RedrawBoard();
        board_.Undo();
        SetLayout(3);
        goEdit_->show();
        splitter_->setSizes({std::max(10, splitter_->height() - status_.goMainForm.lengthA),
                             std::max(5, status_.goMainForm.lengthA)});
        goEdit_->clear();
        goEdit_->setReadOnly(false);
        if (addingCommentary_)
            ShowCommentary(shownCommentary_);
        else
            goEdit_->setPlainText(QString::fromUtf8("<< 해 설 >>  "));
        goEdit_->moveCursor(QTextCursor::End);
        goEdit_->setFocus();
        break;
    case kShowing:
        board_.LoadSnapshot(snapshot);
        RedrawBoard();
        SetLayout(4);
        goEdit_->show();
        splitter_->setSizes({std::max(10, splitter_->height() - status_.goMainForm.lengthA),
                             std::max(5, status_.goMainForm.lengthA)});
        goEdit_->clear();
        break;
    case kViewing:
    case kReviewing:
        setWindowTitle(QString::fromUtf8(mode == kViewing ? "기보 보기" : "기보 복기"));
        goEdit_->hide();
        chatBox_->Input()->setFocus();
        if (mode == kViewing)
            aTimer_->stop();
        break;
    case kExamining:
        board_.LoadSnapshot(snapshot);
        RedrawBoard();
        examineEnd_ = snapshot.MoveCount;
        SetLayout(7);
        goEdit_->hide();
        chatBox_->Input()->setFocus();
        aTimer_->stop();
        break;
    default: break;
    }
    addingCommentary_ = false;
}

void TZelGoMainForm::ButtonClick(int tag)
{
    const bool nav = tag >= kFirstNavTag;
    if (!nav && (tag < 0 || tag >= kCommandButtons))
        return;
    const int code = nav ? 100 : buttonCommands_[static_cast<std::size_t>(tag)].Command;
    if (nav && (tag - kFirstNavTag) >= kNavButtons)
        return;

    if (mode_ != kLive && code == 1) {
        if (buttonCommands_[2].Command == 5)
            HideNumbers();
        if (mode_ == kExamining) {
            examinePrevious_ = previousMode_;
            examineSaved_ = savedSnapshot_;
            board_.SaveSnapshot(examineBoard_);
        }
        TGoSnapshot snap;
        board_.SaveSnapshot(snap);
        EnterMode(kWriting, snap);
    } else if (code == 2) {
        ToggleAnalysis();
    } else if (mode_ != kLive && code == 4) {
        TMarkGrid numbers{};
        board_.NumberAllMoves(numbers);
        TPointValues marks{};
        for (int y = 1; y <= kBoardSize; ++y)
            for (int x = 1; x <= kBoardSize; ++x)
                marks[static_cast<std::size_t>((y - 1) * kBoardSize + (x - 1))] = numbers[y][x];
        paintBox_->SetMarks(marks);
    } else if (mode_ != kLive && code == 5) {
        HideNumbers();
    } else if (!nav) {
        ModeCommand(tag, code);
    } else if (mode_ == kLive && OnNavEvent) {
        OnNavEvent(tag);
        return;
    } else {
        Navigate(tag);
    }

    if (!nav) {
        // The session may have changed the layout meanwhile; flip only the
        // button that was pressed and still carries that command.
        const TButtonCommand bc = buttonCommands_[static_cast<std::size_t>(tag)];
        if (bc.Command == code && bc.Partner != 0)
            SetCommand(tag, bc.Partner);
    }
}

void TZelGoMainForm::ModeCommand(int tag, int code)
{
    switch (mode_) {
    case kLive:
        if (OnCommand)
            OnCommand(tag, code);
        break;
    case kWriting: WritingCommand(code); break;
    case kShowing:
        ShowingCommand(code);
        if (mode_ != kShowing)
            paintBox_->ClearLabels();
        break;
    case kViewing: ViewingCommand(code); break;
    case kReviewing:
        ReviewingCommand(code);
        AnnouncePosition();
        break;
    case kExamining: ExaminingCommand(code); break;
    default: break;
    }
}

void TZelGoMainForm::WritingCommand(int code)
{
    switch (code) {
    case 9: board_.PlayPass(); break;
    case 15: {
        const QPoint at = terminal_->mapToGlobal(QPoint(2, 2));
        palette_->move(at);
        palette_->show();
        palette_->raise();
        markerOpen_ = true;
        break;
    }
    case 16:
        palette_->hide();
        markerOpen_ = false;
        goEdit_->setFocus();
        break;
    case 17:
        CloseMarkers();
        variationStart_ = board_.Numbering().FirstNumbered;
        ReturnToPreviousMode();
        paintBox_->ClearLabels();
        break;
    case 18: FinishCommentary(); break;
    default: break;
    }
}

void TZelGoMainForm::KeepShownBody()
{
    if (!CommentaryFromServer)
        return;
    if (previousMode_ != kLive) {
        if (record_)
            record_->AddLine("VH" + shownCommentary_);
    } else {
        helpList_.AddPending(CurrentGameKey + "VH" + shownCommentary_);
    }
}

void TZelGoMainForm::ShowingCommand(int code)
{
    switch (code) {
    case 20:
        addingCommentary_ = true;
        KeepShownBody();
        ReturnToPreviousMode();
        break;
    case 21:
        ReturnToPreviousMode();
        if (mode_ != kLive && record_)
            record_->DeleteCurrent();
        break;
    case 22:
        KeepShownBody();
        ReturnToPreviousMode();
        break;
    default: break;
    }
}

void TZelGoMainForm::EndViewing()
{
    aTimer_->stop();
    if (record_ && store_) {
        TRecordFiles files(*store_, prompts_);
        files.SaveToFile(*record_, CurrentRecordName);
    }
    mode_ = kLive;
    setWindowTitle(QString::fromUtf8(kLiveCaption));
    record_.reset();
    if (OnNavEvent)
        OnNavEvent(2);
}

void TZelGoMainForm::ViewingCommand(int code)
{
    switch (code) {
    case 19: aTimer_->start(std::clamp(status_.environment.autoTimeI, 1, 100) * 1000); break;
    case 26: aTimer_->stop(); break;
    case 22: EndViewing(); break;
    default: break;
    }
}

void TZelGoMainForm::ReviewingCommand(int code)
{
    switch (code) {
    case 28: followMode_ = true; break;
    case 29: followMode_ = false; break;
    case 30:
        if (OnGiboEvent)
            OnGiboEvent(3, "");
        break;
    case 31:
        if (record_ && store_) {
            TRecordFiles files(*store_, prompts_);
            files.SaveToFile(*record_, recordFileName_);
        }
        mode_ = kLive;
        setWindowTitle(QString::fromUtf8(kLiveCaption));
        record_.reset();
        if (OnGiboEvent)
            OnGiboEvent(5, "");
        if (OnNavEvent)
            OnNavEvent(2);
        break;
    default: break;
    }
}

void TZelGoMainForm::ExaminingCommand(int code)
{
    switch (code) {
    case 19: aTimer_->start(std::clamp(status_.environment.autoTimeI, 1, 100) * 1000); break;
    case 26: aTimer_->stop(); break;
    case 33:
    case 34:
        aTimer_->stop();
        while (board_.Redo()) {
        }
        ReturnToPreviousMode();
        break;
    default: break;
    }
}

void TZelGoMainForm::CloseMarkers()
{
    if (markerOpen_) {
        palette_->hide();
        markerOpen_ = false;
    }
}

bool TZelGoMainForm::AskOnce(const char* text, const char* second, bool& option, bool withCancel)
{
    TCheckedQuestion q;
    q.Caption = KS("확인해 주세요");
    q.Text = Utf8ToCp949(text);
    q.Second = Utf8ToCp949(second);
    q.Ok = withCancel ? KS("보 냄") : KS("확 인");
    q.Cancel = withCancel ? KS("취 소") : std::string();
    q.DontAsk = !option;
    const bool ok = CheckedQuestion ? CheckedQuestion(q) : ShowCheckedQuestion(q);
    // The option follows the check box whenever the two disagree.
    if (q.DontAsk == option) {
        option = !q.DontAsk;
        status_.Save(TZelStatus::kEnvironment);
    }
    return ok;
}

bool TZelGoMainForm::ShowCheckedQuestion(TCheckedQuestion& q)
{
    QDialog dialog(this);
    dialog.setObjectName("TConfirmVHForm");
    dialog.setWindowTitle(ToQ(q.Caption));
    auto* column = new QVBoxLayout(&dialog);
    column->addWidget(new QLabel(ToQ(q.Text), &dialog));
    if (!q.Second.empty())
        column->addWidget(new QLabel(ToQ(q.Second), &dialog));
    auto* check = new QCheckBox(QString::fromUtf8("다음부터 확인 안함"), &dialog);
    check->setChecked(q.DontAsk);
    column->addWidget(check);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* ok = new QPushButton(ToQ(q.Ok), &dialog);
    ok->setObjectName("OkButton");
    row->addWidget(ok);
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    if (!q.Cancel.empty()) {
        auto* cancel = new QPushButton(ToQ(q.Cancel), &dialog);
        cancel->setObjectName("CancelBtn");
        row->addWidget(cancel);
        connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    }
    row->addStretch(1);
    column->addLayout(row);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    q.DontAsk = check->isChecked();
    return accepted;
}

void TZelGoMainForm::FinishCommentary()
{
    if (status_.environment.sendVHelp && (previousMode_ == kLive || previousMode_ == kExamining)) {
        if (!AskOnce("다른 사람들에게 참고도를 보낼까요?", "", status_.environment.sendVHelp, true)) {
            WritingCommand(17);
            return;
        }
    }
    CloseMarkers();
    std::string body = board_.NumberedMovesText() + "\\#" + paintBox_->TakeLabels() + "\\#";
    const QStringList lines = goEdit_->toPlainText().split('\n');
    for (const QString& line : lines) {
        // A separator typed by the user would split the body's fields.
        std::string text = FromQ(line);
        for (std::size_t at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 1)) {
            if (at + 1 < text.size() && (text[at + 1] == '#' || text[at + 1] == '!'))
                text.insert(at + 1, " ");
        }
        body += text + "\\!";
    }
    body += ":: " + MyNickname;

    if (previousMode_ == kLive || previousMode_ == kExamining) {
        helpList_.AddPending(CurrentGameKey + "VH" + body);
        if (OnGiboEvent)
            OnGiboEvent(1, body);
    } else {
        if (record_)
            record_->AddLine("VH" + body);
        if (previousMode_ == kReviewing && OnGiboEvent)
            OnGiboEvent(2, recordFileName_ + "\\#" + body);
    }
    variationStart_ = board_.Numbering().FirstNumbered;
    ReturnToPreviousMode();
}

bool TZelGoMainForm::ShowCommentary(const std::string& body)
{
    shownCommentary_ = body;
    if (body.size() <= 3)
        return true;
    const int first = Code2ToNum(body);
    const int count = Code2ToNum(std::string_view(body).substr(2));
    if (first < 0 || count < 0)
        return false;
    const std::size_t end = body.find("\\#", 4);
    const std::string_view variation =
        std::string_view(body).substr(4, end == std::string::npos ? std::string::npos : end - 4);
    if (variation.size() != static_cast<std::size_t>(2 * count))
        return false;
    variationStart_ = first;
    variationEnd_ = first + count - 2;
    while (board_.MoveCount() >= first && board_.MoveCount() > 0)
        board_.Undo();
    if ((previousMode_ == kViewing || previousMode_ == kReviewing) && record_) {
        for (int n = board_.MoveCount() + 1; n < first && n <= kMaxMoves; ++n) {
            if (!record_->SeekMove(n))
                break;
            PlayRecordPoint(record_->StepX, record_->StepY);
        }
    }
    board_.SetNumbering({0, first, 1});
    for (std::size_t i = 0; i + 1 < variation.size(); i += 2) {
        const char cx = variation[i];
        const char cy = variation[i + 1];
        if (cx == 'A' && cy == 'A')
            board_.PlayPass();
        else if (cx > 'A' && cy > 'A')
            board_.PlayAt(cx - 'A', cy - 'A');
    }
    RedrawBoard();

    std::string rest = end == std::string::npos ? std::string() : body.substr(end + 2);
    if (rest.size() > 3) {
        const int marks = Code2ToNum(rest);
        const std::size_t markEnd = rest.find("\\#", 2);
        const std::string_view field =
            std::string_view(rest).substr(2, markEnd == std::string::npos ? std::string::npos : markEnd - 2);
        if (marks >= 0 && field.size() == static_cast<std::size_t>(4 * marks)) {
            for (int k = 0; k < marks; ++k) {
                const std::string_view m = field.substr(static_cast<std::size_t>(4 * k), 4);
                const int x = m[0] - 'A';
                const int y = m[1] - 'A';
                const int mark = Code2ToNum(m.substr(2));
                if (TGoBoard::IsOnBoard(x, y) && mark >= 600 && mark <= 625)
                    paintBox_->DrawMark(x, y, false, mark);
            }
        }
        std::string text = markEnd == std::string::npos ? std::string() : rest.substr(markEnd + 2);
        QString shown = ToQ(text);
        shown.replace(QStringLiteral("\\!"), QStringLiteral("\n"));
        goEdit_->setPlainText(shown);
        goEdit_->setReadOnly(mode_ == kShowing);
    }
    if (status_.environment.recvVHelp && previousMode_ == kLive && mode_ == kShowing)
        AskOnce("참고도(해설)보기 상태입니다.", "|보기마침| 버튼을 누르면 진행됩니다.", status_.environment.recvVHelp,
                false);
    return true;
}

void TZelGoMainForm::ReturnToPreviousMode()
{
    CommentaryFromServer = false;
    if (mode_ == kShowing && addingCommentary_ &&
        (previousMode_ == kLive || previousMode_ == kViewing || previousMode_ == kReviewing)) {
        mode_ = previousMode_;
        EnterMode(kWriting, savedSnapshot_);
        return;
    }
    const int previous = previousMode_;
    switch (previous) {
    case kLive: SetLayout(UserPlays && UserPlays() ? 1 : 2); break;
    case kViewing: SetLayout(5); break;
    case kReviewing: SetLayout(6); break;
    case kExamining: SetLayout(7); break;
    default: break;
    }
    TNumbering cleared;
    ClearNumbering(cleared);
    board_.SetNumbering(cleared);
    const int saved = savedSnapshot_.MoveCount;
    if (mode_ == kWriting || mode_ == kShowing) {
        while (board_.MoveCount() >= variationStart_ && board_.MoveCount() > 0)
            board_.Undo();
        while (board_.MoveCount() > saved)
            board_.Undo();
        int target = saved;
        if ((previous == kViewing || previous == kReviewing) && record_ && record_->Current())
            target = std::min(saved, std::max(record_->Current()->Number, 0));
        while (board_.MoveCount() < target) {
            const TMoveRecord& m = savedSnapshot_.Moves[static_cast<std::size_t>(board_.MoveCount() + 1)];
            const bool played = m.X == 0 ? board_.PlayPass() : m.X > 0 && board_.PlayAt(m.X, m.Y);
            if (!played)
                break;
        }
    } else {
        board_.LoadSnapshot(savedSnapshot_);
    }
    RedrawBoard();
    BoardMoved({});
    goEdit_->setReadOnly(false);
    goEdit_->hide();
    chatBox_->Input()->setFocus();
    mode_ = previous;
    if (mode_ == kExamining) {
        previousMode_ = examinePrevious_;
        savedSnapshot_ = examineSaved_;
        board_.LoadSnapshot(examineBoard_);
        RedrawBoard();
        board_.SetRedoLimit(examineEnd_);
    }
}

void TZelGoMainForm::PlayRecordPoint(int x, int y)
{
    if (x == 0 && y == 0)
        board_.PlayPass();
    else if (x > 0 && y > 0)
        board_.PlayAt(x, y);
}

void TZelGoMainForm::ShowStepCommentary()
{
    TGoSnapshot snap;
    board_.SaveSnapshot(snap);
    EnterMode(kShowing, snap);
    // StepText is the whole body: its first two letters are the node's number.
    ShowCommentary(record_->StepText);
}

void TZelGoMainForm::RecordFirst()
{
    // Back to the first move, StepCount moves at a time; a step that cannot
    // move back at all ends the walk (a record may start with a commentary).
    while (record_->Current()->Number > 1) {
        bool moved = false;
        for (int k = 0; k < stepCount_; ++k) {
            if (!record_->PrevMove())
                break;
            board_.Undo();
            moved = true;
        }
        if (!moved)
            break;
    }
}

void TZelGoMainForm::RecordBack(int n)
{
    for (int k = 0; k < n; ++k) {
        if (!record_->PrevMove())
            break;
        board_.Undo();
    }
}

void TZelGoMainForm::RecordStepBack()
{
    TGoNode* before = record_->Current();
    if (!record_->StepBack()) {
        return;
    }
    if (record_->StepKind == 2) {
        ShowStepCommentary();
        return;
    }
    if (before && before->Kind == 1)
        board_.Undo();
}

void TZelGoMainForm::RecordStepForward()
{
    if (!record_->StepForward())
        return;
    if (record_->StepKind == 1)
        PlayRecordPoint(record_->StepX, record_->StepY);
    else if (record_->StepKind == 2)
        ShowStepCommentary();
}

void TZelGoMainForm::RecordForward(int n)
{
    for (int k = 0; k < n; ++k) {
        if (!record_->NextMove())
            break;
        PlayRecordPoint(record_->StepX, record_->StepY);
    }
}

void TZelGoMainForm::RecordLast()
{
    while (record_->Current()->Next != record_->Head()) {
        TGoNode* before = record_->Current();
        RecordForward(stepCount_);
        if (record_->Current() == before)
            break;
    }
}

void TZelGoMainForm::Navigate(int tag)
{
    const bool walksRecord = (mode_ == kViewing || mode_ == kReviewing) && record_;
    if (walksRecord) {
        switch (tag) {
        case 10: RecordFirst(); break;
        case 11: RecordBack(stepCount_); break;
        case 12: RecordStepBack(); break;
        case 13: RecordStepForward(); break;
        case 14: RecordForward(stepCount_); break;
        case 15: RecordLast(); break;
        default: break;
        }
    } else if (mode_ != kLive || !OnNavEvent) {
        switch (tag) {
        case 10:
            while (board_.MoveCount() > 0)
                board_.Undo();
            break;
        case 11:
            for (int k = 0; k < stepCount_; ++k)
                board_.Undo();
            break;
        case 12: board_.Undo(); break;
        case 13: board_.Redo(); break;
        case 14:
            for (int k = 0; k < stepCount_ && board_.Redo(); ++k) {
            }
            break;
        case 15:
            while (board_.Redo()) {
            }
            break;
        default: break;
        }
    }
    if (mode_ == kExamining && board_.MoveCount() >= board_.RedoLimit())
        ExaminingCommand(33);
    AnnouncePosition();
}

void TZelGoMainForm::BoardClick(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y)
{
    switch (mode_) {
    case kViewing:
    case kReviewing:
        Navigate(button == Qt::LeftButton ? 13 : 12);
        break;
    case kExamining: Navigate(button == Qt::LeftButton ? 13 : 12); break;
    case kShowing:
        if (previousMode_ == kViewing || previousMode_ == kReviewing) {
            ShowingCommand(22);
            paintBox_->ClearLabels();
            Navigate(button == Qt::LeftButton ? 13 : 12);
        }
        break;
    case kWriting:
        if (!TGoBoard::IsOnBoard(x, y))
            break;
        if (markerOpen_) {
            const int mark = 600 + palette_->SelectedMarker();
            if (paintBox_->Mark(x, y) >= 600) {
                paintBox_->DrawMark(x, y, true, 0);
            } else {
                paintBox_->DrawMark(x, y, false, mark);
                palette_->Advance();
            }
        } else if (button == Qt::LeftButton) {
            board_.PlayAt(x, y);
        } else {
            if (board_.MoveCount() >= board_.Numbering().FirstNumbered)
                board_.Undo();
        }
        break;
    case kLive:
        if (OnBoardClick)
            OnBoardClick(button, modifiers, x, y);
        break;
    default: break;
    }
}

void TZelGoMainForm::AnnouncePosition()
{
    if (mode_ != kReviewing || !followMode_ || !IsParticipant || !record_ || !record_->Current())
        return;
    const int n = record_->Current()->Number;
    if (n == lastSentPosition_)
        return;
    lastSentPosition_ = n;
    if (OnGiboEvent)
        OnGiboEvent(4, NumToCode2(n));
}

void TZelGoMainForm::SeekReviewPosition(int n)
{
    if (mode_ != kReviewing || !followMode_ || !record_)
        return;
    while (record_->Current()->Number < n) {
        if (!record_->NextMove())
            break;
        PlayRecordPoint(record_->StepX, record_->StepY);
    }
    while (record_->Current() != record_->Head()->Next && record_->Current() != record_->Head()) {
        TGoNode* node = record_->Current();
        if (!(n < node->Number || (n == node->Number && node->Kind == 2)))
            break;
        if (!record_->PrevMove())
            break;
        board_.Undo();
    }
}

void TZelGoMainForm::TimerTick()
{
    if (mode_ == kViewing && record_) {
        if (record_->NextMove()) {
            PlayRecordPoint(record_->StepX, record_->StepY);
        } else {
            // The end of the record: the replay stops and its button says so.
            aTimer_->stop();
            for (int i = 0; i < kCommandButtons; ++i)
                if (buttonCommands_[static_cast<std::size_t>(i)].Command == 26)
                    SetCommand(i, 19);
        }
    } else if (mode_ == kExamining) {
        Navigate(13);
    } else {
        aTimer_->stop();
    }
}

void TZelGoMainForm::ToggleAnalysis()
{
    // The position reader is not part of the window; the board control's
    // overlay is cleared when one is shown.
    if (analysisShown_) {
        paintBox_->HideAnalysis();
        analysisShown_ = false;
    }
}

void TZelGoMainForm::SendChatLine(const std::string& line, bool macro)
{
    if (line.empty() || line.size() > kMaxChatLine)
        return;
    if (FloodToken) {
        const int token = FloodToken();
        if (token == lastFloodToken_)
            return;
        lastFloodToken_ = token;
    }
    if (OnGiboEvent)
        OnGiboEvent(0, line);
    if (RememberLine)
        RememberLine(macro ? std::string("zel macro text") : line);
}

void TZelGoMainForm::BoardMoved(const TMoveInfo&)
{
    TElmGoInfo& info = gameInfo_->Model();
    int x = 0;
    int y = 0;
    board_.LastMove(x, y);
    info.SetNowSeq(std::to_string(board_.MoveCount()));
    info.SetNowPut(std::to_string(std::max(y, 0)) + " " + static_cast<char>(std::clamp(x, 0, 26) + 64));
    info.SetNowTurn(board_.ColourToMove() == kWhite ? KS("백") : KS("흑"));
    info.nBSDied = Width2(board_.WhitePrisoners());
    info.nWSDied = Width2(board_.BlackPrisoners());
    gameInfo_->update();
}

void TZelGoMainForm::HideNumbers()
{
    board_.SetShowNumbers(false);
    TPointValues marks{};
    for (int y = 1; y <= kBoardSize; ++y)
        for (int x = 1; x <= kBoardSize; ++x)
            if (board_.Mark(x, y) >= kMarkLastMove)
                marks[static_cast<std::size_t>((y - 1) * kBoardSize + (x - 1))] = board_.Mark(x, y);
    int x = 0;
    int y = 0;
    board_.LastMove(x, y);
    if (TGoBoard::IsOnBoard(x, y))
        marks[static_cast<std::size_t>((y - 1) * kBoardSize + (x - 1))] = kMarkLastMove;
    paintBox_->SetMarks(marks);
}

void TZelGoMainForm::RedrawBoard()
{
    TPointColours colours{};
    TPointValues marks{};
    for (int y = 1; y <= kBoardSize; ++y)
        for (int x = 1; x <= kBoardSize; ++x) {
            const std::size_t i = static_cast<std::size_t>((y - 1) * kBoardSize + (x - 1));
            colours[i] = board_.Colour(x, y);
            marks[i] = board_.Mark(x, y);
        }
    paintBox_->SetColours(colours);
    paintBox_->SetMarks(marks);
}

RecordStatus TZelGoMainForm::LoadRecordFile(const std::string& myId, bool viewing)
{
    RecordStatus status = RecordStatus::ReadFailed;
    if (store_) {
        TRecordFiles files(*store_, prompts_);
        status = files.LoadRecordFile(CurrentRecordName, record_);
    }
    if (!record_)
        record_ = std::make_unique<TGiboList>();
    TRecordHeader header = ParseRecordHeader(record_->Head()->Data);
    if (!viewing) {
        recordFileName_ = CurrentRecordName;
        lastSentPosition_ = 0;
        followMode_ = true;
        ReviewTitle = KS("[ 복기중 ]  흑(") + header.Black + KS(") : 백(") + header.White + ")";
        // The header holds display texts ("nickname(id) rank"), so the id is
        // also looked for inside its parentheses.
        auto names = [&myId](const std::string& label) {
            return !myId.empty() && (label == myId || label.find("(" + myId + ")") != std::string::npos);
        };
        IsParticipant = ReviewHost || names(header.Black) || names(header.White);
    }
    std::string method = HandicapName(header.Handicap) + (header.KomiSide == 'A' ? KS("(흑 ") : KS("(백 "));
    if (header.Komi > 0)
        method += std::to_string(header.Komi) + KS("집 반 공제)");
    else
        method = HandicapName(header.Handicap) + KS("(공제 없음)");

    TElmGoInfo& info = gameInfo_->Model();
    info.Reset(std::max(info.Rows(), 8));
    info.BPlayer = header.Black;
    info.WPlayer = header.White;
    info.Method = method;
    info.PlayDate = header.DateLine;
    info.PlayName = header.Title;
    info.PResult = header.Result;

    TGoSnapshot empty;
    EmptySnapshot(empty);
    TNumbering cleared;
    ClearNumbering(cleared);
    board_.LoadSnapshot(empty);
    board_.SetNumbering(cleared);
    if (header.Handicap >= 2)
        board_.SetHandicap(header.Handicap, 0);
    RedrawBoard();
    SetLayout(viewing ? 5 : 6);
    BoardMoved({});
    gameInfo_->Refresh();
    return status;
}

RecordStatus TZelGoMainForm::OpenRecordPath(const std::string& path)
{
    const QFileInfo file(ToQ(path));
    ownStore_ = std::make_unique<DirFileStore>(file.absolutePath().toStdString());
    store_ = ownStore_.get();
    CurrentRecordName = BareRecordName(FromQ(file.fileName()));
    TGoSnapshot empty;
    EmptySnapshot(empty);
    EnterMode(kViewing, empty);
    return LoadRecordFile("", true);
}

} // namespace zel
