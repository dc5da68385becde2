#include "client/app/ZelClient.h"

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QThread>
#include <QToolButton>
#include <QUrl>

#include "client/app/DockController.h"
#include "client/app/GameWiring.h"
#include "client/app/NotifyForms.h"
#include "client/app/Zel4HvnForm.h"
#include "client/base/BannerLabel.h"
#include "client/base/QtColours.h"
#include "client/engine/GoPaintBox.h"
#include "client/lobby/MemoForm.h"
#include "client/term/ChatTerm.h"
#include "client/base/QtText.h"
#include "client/app/LobbyController.h"
#include "client/record/ZelGoMainForm.h"
#include "client/term/FontLoader.h"
#include "client/term/Terminal.h"
#include "core/app/LobbyApp.h"
#include "core/app/LobbyLink.h"
#include "core/base/Cp949.h"
#include "core/game/BBS2Zel.h"
#include "core/record/RecordHeader.h"
#include "core/settings/ZelStatus.h"

namespace zel {
namespace {

// A directory the program keeps its files in, made when it is missing.
std::filesystem::path MadeDir(const std::string& cp949)
{
    const QString dir = ToQ(cp949);
    QDir().mkpath(dir);
    return dir.toStdString();
}

} // namespace

TZelClient::TZelClient(TZelStatus& status, QtPrompts& prompts, const std::string& recordPath)
    : status_(status), prompts_(prompts), recordPath_(recordPath), banners_(MadeDir(status.critical.advhdir)),
      program_(MadeDir(status.critical.zelpath)), records_(MadeDir(status.critical.gibodir)),
      backDraw_(StandardPalette), print_(status, prompts)
{
    // The bitmap fonts of the terminals, from the program directory.
    backDraw_.SetHanjaPainter(&hanja_);
    LoadBitmapFonts(backDraw_, ToQ(status_.critical.zelpath), &fontError_);

    form_ = std::make_unique<TZel4HvnForm>(status_, prompts_, backDraw_, static_cast<TLobbyFormPorts&>(*this));
    goMain_ =
        new TZelGoMainForm(status_, prompts_, backDraw_, clock_, static_cast<TRecordPrinter&>(*this), form_.get());
    goMain_->setWindowFlag(Qt::Window);
    // The program ends with the lobby window, whatever the game window shows.
    goMain_->setAttribute(Qt::WA_QuitOnClose, false);
    for (int i = 10; i < TZel4HvnForm::kPanelCount; ++i)
        goMain_->SetStatusText(i, form_->PanelText(i));
    envSet_ = new TEnvSetForm(status_, static_cast<TEnvSetTargets&>(*this), form_.get());
    // The stored board pattern, from the first game on.
    ApplyBoardPattern(status_.environment.baseBoard);

    dock_ = std::make_unique<TDockController>(*form_, *form_, clock_);
    dock_->SetGameWindow(goMain_, goMain_);
    // "tabdock": the game window comes up docked with this one at its first show.
    dock_->DockAtFirstShow = [this] { return status_.mainForm.tabDock; };
    dock_->OnDockChanged = [this](bool docked) { status_.mainForm.tabDock = docked; };

    app_ = std::make_unique<TLobbyApp>(status_, TLobbyApp::Ports{clock_, gameSocket_, probeSocket_, configSocket_,
                                                                 banners_, prompts_, *form_, &program_, &records_});

    game_ = std::make_unique<TGameWiring>(status_, clock_, static_cast<TGameLinkHost&>(*this));
    link_ = std::make_unique<TLobbyLink>(*app_, status_, clock_, *form_, &game_->Link());
    app_->SetListener(link_.get());

    lobby_ = std::make_unique<TLobbyController>(*form_, *app_, link_->Dispatch(), status_, prompts_, clock_,
                                                static_cast<TLobbyGame&>(*this), *link_);
    link_->SetUi(lobby_.get());
    link_->onCleanup = [this] { lobby_->ConnectionCleanup(); };
    game_->Attach(*app_, *link_, lobby_->Chat(), *goMain_, prompts_, records_);
    WireGameWindow();
    WireButtons();
    ColourMemos();

    MainTimer.setObjectName("MainTimer");
    MainTimer.setSingleShot(true);
    QObject::connect(&MainTimer, &QTimer::timeout, form_.get(), [this] { MainTimerTimer(); });
    MainTimer.start(250);
    // A notice or question the game session shows from the tick holds the
    // main timer; its game messages must still go out and come in meanwhile.
    GameQueueTimer.setObjectName("GameQueueTimer");
    QObject::connect(&GameQueueTimer, &QTimer::timeout, form_.get(), [this] {
        if (inMainTick_)
            game_->Link().Queue().Tick(clock_.Now());
    });
    GameQueueTimer.start(200);
}

TZelClient::~TZelClient()
{
    // Both windows out of a host first: it must not take them with it.
    dock_.reset();
    MainTimer.stop();
    GameQueueTimer.stop();
    app_->SetListener(nullptr);
    link_->SetUi(nullptr);
    link_->onCleanup = nullptr;
    lobby_.reset();
    link_.reset();
    game_.reset();
    app_.reset();
    form_.reset();
}

TTerminal& TZelClient::Terminal()
{
    return form_->Terminal();
}

void TZelClient::WireButtons()
{
    TZel4HvnForm& f = *form_;
    TLobbyController* lobby = lobby_.get();
    QObject::connect(f.sbConn, &QToolButton::clicked, &f, [this] { app_->ConnTBClick(); });
    QObject::connect(f.sbExit, &QToolButton::clicked, &f, [this] { app_->sbExitClick(); });
    QObject::connect(f.sbRoom, &QToolButton::clicked, lobby, &TLobbyController::sbRoomClick);
    QObject::connect(f.sbMyRI, &QToolButton::clicked, lobby, &TLobbyController::sbMyRIClick);
    QObject::connect(f.sbFind, &QToolButton::clicked, lobby, &TLobbyController::sbFindClick);
    QObject::connect(f.sbInfo, &QToolButton::clicked, lobby, &TLobbyController::sbInfoClick);
    QObject::connect(f.sbVGame, &QToolButton::clicked, lobby, &TLobbyController::sbVGameClick);
    QObject::connect(f.sbVGibo, &QToolButton::clicked, &f, [this] { sbVGiboClick(); });
    QObject::connect(f.sbStudy, &QToolButton::clicked, &f, [this] { sbStudyClick(); });
    QObject::connect(f.sbHelp, &QToolButton::clicked, &f, [this] { sbHelpClick(); });
    f.Terminal().OnSend = [this](const std::string& text) { lobby_->TerminalClick(text); };
}

void TZelClient::WireGameWindow()
{
    TZelGoMainForm& go = *goMain_;
    go.InGameRoom = [this] { return app_->OwnRoom() > 0; };
    // One line per millisecond, as in the lobby's own chat input.
    go.FloodToken = [this] { return static_cast<int>(clock_.Now()); };
    go.RememberLine = [this](const std::string& line) {
        // Slash commands go through the lobby's chat, which counts them itself.
        if (line.empty() || line[0] != '/')
            lobby_->Chat().RememberSent(line);
    };
    go.ShowRoomMembers = [this] { lobby_->PlacePanelClick(); };
    go.OpenAddress = [this](const std::string& url) { browser_->Open(url); };
}

void TZelClient::PrintRecord(const TPrintSource& source, QWidget& window, QLabel& statusCell)
{
    print_.PrintRecord(source, &window, &statusCell);
}

void TZelClient::MainTimerTimer()
{
    std::int32_t now = clock_.Now();
    inMainTick_ = true;
    app_->Tick(now);
    link_->Tick(now);
    inMainTick_ = false;
    MainTimer.start(200);
}

// --- what the lobby window asks ---------------------------------------------

void TZelClient::FormShown()
{
    if (!fontError_.isEmpty())
        form_->PrintLine(FromQ(QString::fromUtf8("   ### 글꼴 파일을 읽지 못했습니다: ") + fontError_));
    app_->FormShow(recordPath_);
    if (!recordPath_.empty()) {
        form_->PrintLine("   ### " + recordPath_);
        ViewRecord(recordPath_);
    }
}

bool TZelClient::MayClose()
{
    return app_->FormCloseQuery();
}

void TZelClient::Closing()
{
    if (!goMain_->close())
        goMain_->hide();
    const bool wasDocked = dock_->Docked();
    dock_->Dismantle();
    // A timed notice still up would keep the program from ending.
    QDialog* notices[] = {prompts_.notifyForm(), prompts_.cNotifyForm()};
    for (QDialog* notice : notices)
        if (notice && notice->isVisible())
            notice->close();
    MainTimer.stop();
    GameQueueTimer.stop();
    gameSocket_.Close();
    probeSocket_.Close();
    configSocket_.Close();
    // Leaving the program: a close that lands inside a nested dialog loop, or
    // one of the lobby window as a page of the dock host, does not end the
    // application by itself.
    if (app_->Exiting() && (wasDocked || QThread::currentThread()->loopLevel() > 0))
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void TZelClient::ChatLine(const std::string& line)
{
    lobby_->ChatLine(line);
}

void TZelClient::PanelClicked(int index)
{
    if (index < 9)
        lobby_->Macro(index + 1);
    else if (index == TZel4HvnForm::kPlacePanel)
        lobby_->PlacePanelClick();
    else if (index == TZel4HvnForm::kMemoPanel && lobby_->Chat().memoTarget >= 0)
        lobby_->Chat().OpenMemo(lobby_->Chat().memoTarget);
}

bool TZelClient::MacroKey(int index)
{
    if (!app_->IsConnected())
        return false;
    lobby_->Macro(index);
    return true;
}

void TZelClient::LinePrinted(const std::string& line)
{
    // Lines printed while the program is being built have no game to go to.
    if (game_)
        game_->TerminalLine(line);
}

void TZelClient::PanelChanged(int index, const std::string& text)
{
    goMain_->SetStatusText(index, ToQ(text));
}

void TZelClient::OpenPersonalInfo()
{
    lobby_->sbInfoClick();
}

void TZelClient::OpenEnvironment()
{
    envSet_->ShowForm();
}

void TZelClient::BannerClicked(int file)
{
    const std::string url = BannerAddress(file);
    if (!url.empty())
        browser_->Open(url);
}

void TZelClient::BannersLoaded()
{
    goMain_->LoadBanners(ToQ(status_.critical.advhdir));
}

// --- what the environment window changes ---------------------------------------

void TZelClient::Recolour(int baseColor)
{
    status_.environment.baseColor = baseColor;
    form_->ApplyColours();
    ColourMemos();
    goMain_->GoTerminal()->SetColours(status_.color.terminalFc, baseColor);
}

void TZelClient::MacrosChanged()
{
    form_->ShowMacroHints();
}

void TZelClient::ColourMemos()
{
    const QColor base = PaletteQColor(status_.environment.baseColor);
    const QColor text = PaletteQColor(status_.color.terminalFc);
    for (int i = 0; i < TMemoBook::kWindows; ++i)
        lobby_->Memo(i).SetColours(base, text);
}

void TZelClient::ApplyBoardPattern(int pattern)
{
    const QImage image = TEnvSetForm::BoardPattern(pattern);
    if (!image.isNull())
        goMain_->GoPaintBox()->SetBoardImage(image);
}

// --- what the lobby asks of the game side -------------------------------------

bool TZelClient::GameInProgress() const
{
    return game_->GameInProgress();
}

void TZelClient::CloseGameWindow()
{
    if (game_->GameInProgress())
        return;
    TBBS2Zel* session = game_->Session();
    // A window in a room refuses to close; what it shows ends with its session.
    if (goMain_->EndRecordViewing())
        return;
    if (session && session->GameOpen())
        session->EndSession();
    else if (goMain_->isVisible())
        goMain_->close();
}

bool TZelClient::GameWindowOpen() const
{
    const TBBS2Zel* session = game_->Session();
    return session && session->GameOpen();
}

void TZelClient::CancelPendingRequest()
{
    game_->Link().CancelPendingRequest();
}

void TZelClient::SetMultiHost(const std::string& id)
{
    game_->Link().SetMultiHost(id);
}

void TZelClient::ClearMultiBoards()
{
    game_->Link().ClearMultiBoards();
}

void TZelClient::GameCommand(const std::string& line)
{
    game_->GameCommand(line);
}

void TZelClient::StopGame(const std::string& word, const std::string& id)
{
    game_->StopGame(word, id);
}

// --- TGameLinkHost -------------------------------------------------------------

void TZelClient::RunCommand(const std::string& line)
{
    lobby_->ChatLine(line);
}

std::string TZelClient::DateText() const
{
    QDate today = QDate::currentDate();
    return ShortDateText(today.year(), today.month(), today.day());
}

std::string TZelClient::DateSuffix() const
{
    QLabel* cell = goMain_->StatusCell(1);
    return cell ? FromQ(cell->text()) : std::string{};
}

void TZelClient::GameSessionStarted()
{
    goMain_->show();
    goMain_->raise();
    lobby_->UpdateButtons();
}

void TZelClient::GameSessionEnded(int)
{
    goMain_->hide();
    lobby_->UpdateButtons();
}

// --- records and help ---------------------------------------------------------

bool TZelClient::GameBlocksViewing()
{
    TBBS2Zel* session = game_->Session();
    if (!session || !session->GameOpen() || session->SessionKind() == 3)
        return false;
    prompts_.Notify(KS("대국 중에는 기보를 볼 수 없습니다."), 1500);
    return true;
}

bool TZelClient::ViewRecord(const std::string& path)
{
    if (GameBlocksViewing())
        return false;
    TBBS2Zel* session = game_->Session();
    // Another record replaces the one being viewed.
    if (session && session->GameOpen())
        goMain_->EndRecordViewing();
    if (session && !session->OpenRecord())
        return false;
    if (goMain_->OpenRecordPath(path) != RecordStatus::Ok) {
        goMain_->EndRecordViewing();
        return false;
    }
    goMain_->show();
    return true;
}

void TZelClient::sbVGiboClick()
{
    if (GameBlocksViewing())
        return;
    const QString dir = ToQ(status_.critical.gibodir);
    const QString path = ChooseRecordFile ? ChooseRecordFile(dir)
                                          : QFileDialog::getOpenFileName(form_.get(), QString::fromUtf8("기보 보기"),
                                                                         dir, QStringLiteral("*.zel"));
    if (path.isEmpty())
        return;
    const std::string file = FromQ(path);
    form_->PrintLine("   ### " + file);
    ViewRecord(file);
}

void TZelClient::sbStudyClick()
{
    TBBS2Zel* session = game_->Session();
    if (!session || !game_->Link().InRoom())
        return;
    if (session->OpenReview())
        goMain_->show();
}

std::string TZelClient::HelpAddress() const
{
    const QString page = ToQ(status_.critical.zelpath) + "/help.html";
    const std::string local = FromQ(QUrl::fromLocalFile(page).toString());
    if (QFileInfo::exists(page))
        return local;
    const std::string link = BannerAddress(1);
    return link.empty() ? local : link;
}

std::string TZelClient::BannerAddress(int file) const
{
    const HostInfo& host = status_.host;
    if (file < 1 || file > host.adFileCount || file > HostInfo::kMax)
        return {};
    return WebAddress(host.adUrls[static_cast<std::size_t>(file - 1)]);
}

void TZelClient::sbHelpClick()
{
    browser_->Open(HelpAddress());
}

} // namespace zel
