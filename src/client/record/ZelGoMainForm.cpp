#include "client/record/ZelGoMainForm.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "client/base/BannerLabel.h"
#include "client/base/QtColours.h"
#include "client/base/QtText.h"
#include "client/base/UiFont.h"
#include "client/engine/GoPaintBox.h"
#include "client/game/ElmGoInfoPanel.h"
#include "client/record/MarkerPalette.h"
#include "client/term/ChatTerm.h"
#include "client/term/EditPanel.h"
#include "core/base/Cp949.h"
#include "core/engine/AnalysisCommand.h"
#include "core/engine/LetterCodes.h"
#include "core/engine/PositionAnalysis.h"
#include "core/ports/Prompts.h"
#include "core/ports/FileStore.h"
#include "core/settings/ZelStatus.h"

namespace zel {

namespace {

constexpr int kInfoWidth = 273;
constexpr int kTopHeight = 52;
constexpr int kBtnHeight = 87;
constexpr int kChatBoxHeight = 59;
constexpr std::size_t kMaxChatLine = 149;
constexpr int kChatForeground = 15;
// Cells 10..14 repeat the lobby's status texts, the clock in the last.
constexpr int kFirstLobbyCell = 10;
constexpr int kClockCell = 14;

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

TZelGoMainForm::TZelGoMainForm(TZelStatus& status, Prompts& prompts, TBackDraw& draw, const Clock& clock,
                               TRecordPrinter& printer, QWidget* parent)
    : QMainWindow(parent), status_(status), prompts_(prompts), printer_(printer)
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
    infoPanel_ = BuildInfoPanel(clock);
    row->addWidget(infoPanel_);
    setCentralWidget(base);

    // The chat terminal needs the window's bitmap fonts.
    terminal_ = new TChatTerm(draw, chatPanel_);
    terminal_->setObjectName("GoTerminal");
    // White text on the background colour the user chose for the terminals.
    terminal_->SetColours(kChatForeground, status_.environment.baseColor);
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
    // The board sits on the background colour of the terminals, where the
    // light coordinate labels read well.
    gpbPanel_->setAutoFillBackground(true);
    QPalette background = gpbPanel_->palette();
    background.setColor(QPalette::Window, PaletteQColor(status_.environment.baseColor));
    gpbPanel_->setPalette(background);
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

QWidget* TZelGoMainForm::BuildInfoPanel(const Clock& clock)
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
    logo_ = new BannerLabel(topPanel_);
    logo_->setObjectName("HvnLogo");
    logo_->SetPicture(LogoPixmap());
    logo_->setGeometry(3, 3, 80, 46);
    logo_->installEventFilter(this);
    logo_->setCursor(Qt::PointingHandCursor);
    banner_ = new BannerLabel(topPanel_);
    banner_->installEventFilter(this);
    banner_->setCursor(Qt::PointingHandCursor);
    banner_->setObjectName("ADVImage");
    banner_->setAlignment(Qt::AlignCenter);
    banner_->setText(QString::fromUtf8("가온하루미 벨다"));
    banner_->setStyleSheet("QLabel { background: #203060; color: #F0E0B0; font-weight: bold; }");
    column->addWidget(topPanel_);

    gameInfo_ = new TElmGoInfoPanel(clock, info);
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
        // As wide as the lobby's cells, whose texts cells 10..14 repeat.
        static constexpr int kWidths[6] = {30, 50, 50, 50, 76, 76};
        cell->setMinimumWidth(i < 9 ? 21 : kWidths[i - 9]);
        cells_[static_cast<std::size_t>(i)] = cell;
        bar->addWidget(cell, i == 9 ? 1 : 0);
    }
    setStatusBar(bar);
}

void TZelGoMainForm::SetStatusText(int index, const QString& text)
{
    if (index < kFirstLobbyCell || index >= static_cast<int>(cells_.size()))
        return;
    // The lobby's clock reads hours, minutes and seconds; this bar shows
    // hours and minutes.
    const qsizetype secondsColon = text.indexOf(':', text.indexOf(':') + 1);
    const QString shown =
        index == kClockCell && text.indexOf(':') > 0 && secondsColon > 0 ? text.left(secondsColon) : text;
    cells_[static_cast<std::size_t>(index)]->setText(shown);
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
        if (event->type() == QEvent::ToolTip && i < 9) {
            // The macro as it is now: the environment window may change it.
            cell->setToolTip(ToQ(status_.environment.messages[static_cast<std::size_t>(i + 1)]));
            return false;
        }
        // Only mouse presses and releases are mouse events here.
        const bool button = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease;
        const qreal x = button ? static_cast<QMouseEvent*>(event)->position().x() : 0;
        const bool inside = button && x >= 3 && x <= cell->width() - 1;
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
        if (g.width > 0 && g.height > 0) {
            const QRect stored(g.left, g.top, std::max(g.width, 640), std::max(g.height, 480));
            // First shown as a page of the dock host: the place is for later.
            if (isWindow())
                setGeometry(stored);
            else
                UndockedGeometry = stored;
        }
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
    if (isActiveWindow() && isVisible())
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

void TZelGoMainForm::LoadBanners(const QString& dir)
{
    const std::pair<BannerLabel*, const char*> pictures[] = {{logo_, "ADVInfoC.gif"}, {banner_, "ADVInfoE.gif"}};
    for (const auto& [label, name] : pictures)
        label->LoadPicture(dir + "/" + name);
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
    // Docked, the window keeps the place it had on its own.
    const QRect frame = UndockedGeometry.value_or(geometry());
    g.top = frame.top();
    g.left = frame.left();
    g.width = frame.width();
    g.height = frame.height();
    status_.Save(TZelStatus::kGoMainForm);
    event->accept();
}

void TZelGoMainForm::setVisible(bool visible)
{
    if (!HookVisibility(visible))
        QMainWindow::setVisible(visible);
}

QWidget* TZelGoMainForm::DockFocus() const
{
    return chatBox_->Input();
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
    if (layout < kLayoutPlaying || layout > kLayoutExamining)
        return;
    layout_ = layout;
    const auto commands = LayoutCommands(layout, MultiGameHost && MultiGameHost());
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

void TZelGoMainForm::ToggleAnalysis()
{
    // A press while an analysis is on the board only clears it.
    if (analysisShown_) {
        paintBox_->HideAnalysis();
        analysisShown_ = false;
        return;
    }
    TPointColours colours{};
    paintBox_->GetColours(colours);
    auto analysis = std::make_unique<TPositionAnalysis>();
    analysis->ResetAnalysis();
    // In the live game the session's board, not this window's, knows who moves.
    const std::uint8_t toMove = mode_ == kLive && LiveColourToMove ? LiveColourToMove() : board_.ColourToMove();
    analysis->AnalysePosition(AnalysisInput(colours), toMove == kBlack ? 'B' : 'W');
    const TAnalysisCounts counts = paintBox_->ShowAnalysis(DropLiveClaims(analysis->AnalysisResult(), colours));
    analysisShown_ = true;

    const TElmGoInfo& info = gameInfo_->Model();
    const QPoint at = terminal_->mapToGlobal(QPoint(2, 2));
    prompts_.AlertAt(AnalysisNoticeText(counts, CapturedCount(info.nWSDied), CapturedCount(info.nBSDied)), at.x(),
                     at.y());
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
        OnGiboEvent(kGiboChat, line);
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

} // namespace zel
