#include "client/app/TestHook.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPainter>
#include <QLineEdit>
#include <QPixmap>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

#include <QAbstractItemModel>
#include <QComboBox>
#include <QCursor>
#include <QMouseEvent>
#include <QTabWidget>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>

#include "client/app/DeadStoneAdvisor.h"
#include "client/app/DockController.h"
#include "client/app/GameWiring.h"
#include "client/app/TabDockHost.h"
#include "client/app/Zel4HvnForm.h"
#include "client/app/ZelClient.h"
#include "client/engine/GoPaintBox.h"
#include "core/engine/LetterCodes.h"
#include "core/gtp/DeadMarks.h"
#include "core/gtp/GtpPosition.h"
#include "core/gtp/GtpText.h"
#include "client/game/ElmGoInfoPanel.h"
#include "client/base/QtText.h"
#include "client/app/LobbyController.h"
#include "client/lobby/MemoForm.h"
#include "client/lobby/SlotView.h"
#include "client/lobby/UserView.h"
#include "client/term/ChatTerm.h"
#include "client/term/Terminal.h"
#include "client/record/ZelGoMainForm.h"
#include "core/app/LobbyApp.h"
#include "core/game/BBS2Zel.h"

namespace zel {
namespace {

QString Label(const QWidget* w)
{
    const auto* label = w->findChild<QLabel*>("lbMessage");
    return label ? label->text() : QString();
}

QString RectText(const QRect& r)
{
    return QString("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

bool ParsePoint(const QString& text, QPoint& point)
{
    QStringList args = text.split(' ', Qt::SkipEmptyParts);
    bool okX = false, okY = false;
    if (args.size() == 2)
        point = QPoint(args[0].toInt(&okX), args[1].toInt(&okY));
    return okX && okY;
}

} // namespace

std::unique_ptr<TestHook> TestHook::Install(TZelClient& client)
{
    if (qEnvironmentVariable("ZEL_TEST_HOOK") != "1")
        return nullptr;
    return std::make_unique<TestHook>(client);
}

TestHook::TestHook(TZelClient& client)
    : client_(client), form_(client.Form()), notifier_(STDIN_FILENO, QSocketNotifier::Read)
{
    client_.UseBrowser(*this);
    connect(&notifier_, &QSocketNotifier::activated, this, &TestHook::OnReadable);
    connect(&poll_, &QTimer::timeout, this, &TestHook::Poll);
    poll_.start(50);
    Emit("event hook ready");
}

void TestHook::Open(const std::string& url)
{
    opened_.push_back(url);
    Emit("event opened=" + ToQ(url));
}

void TestHook::Emit(const QString& line)
{
    QByteArray bytes = line.toUtf8();
    bytes.replace('\n', ' ');
    bytes.append('\n');
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void TestHook::OnReadable()
{
    char buffer[4096];
    ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        notifier_.setEnabled(false);
        return;
    }
    pending_.append(buffer, static_cast<qsizetype>(n));
    for (;;) {
        qsizetype end = pending_.indexOf('\n');
        if (end < 0)
            break;
        QString line = QString::fromUtf8(pending_.left(end)).trimmed();
        pending_.remove(0, end + 1);
        if (!line.isEmpty())
            Execute(line);
    }
}

void TestHook::Execute(const QString& line)
{
    qsizetype blank = line.indexOf(' ');
    QString verb = blank < 0 ? line : line.left(blank);
    QString rest = blank < 0 ? QString() : line.mid(blank + 1).trimmed();
    Poll();
    Emit(Run(verb, rest));
}

QWidget* TestHook::FindWidget(const QString& name) const
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible())
            continue;
        if (top->objectName() == name)
            return top;
        for (QWidget* w : top->findChildren<QWidget*>(name)) {
            if (w->isVisible())
                return w;
        }
    }
    return nullptr;
}

// Actions that may open a modal dialog run from the event loop after the
// answer, so that this hook keeps reading commands inside the dialog.
QString TestHook::Run(const QString& verb, const QString& rest)
{
    if (verb == "click") {
        auto* button = qobject_cast<QAbstractButton*>(FindWidget(rest));
        if (!button)
            return "error no visible button " + rest;
        if (!button->isEnabled())
            return "error disabled " + rest;
        QTimer::singleShot(0, button, &QAbstractButton::click);
        return "ok";
    }
    if (verb == "set") {
        qsizetype blank = rest.indexOf(' ');
        QString name = blank < 0 ? rest : rest.left(blank);
        QWidget* target = FindWidget(name);
        auto* edit = qobject_cast<QLineEdit*>(target);
        if (!edit && target)
            edit = target->findChild<QLineEdit*>();
        if (!edit)
            return "error no visible line edit " + name;
        edit->setText(blank < 0 ? QString() : rest.mid(blank + 1));
        return "ok";
    }
    if (verb == "accept" || verb == "reject") {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return "error no modal dialog";
        QString name = dialog->objectName();
        if (verb == "accept")
            QTimer::singleShot(0, dialog, &QDialog::accept);
        else
            QTimer::singleShot(0, dialog, &QDialog::reject);
        return "ok " + name;
    }
    if (verb == "dialogs") {
        QStringList shown;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && top->isWindow())
                shown << top->objectName() + ":" + top->windowTitle();
        }
        return "ok " + shown.join(";");
    }
    if (verb == "modals") {
        // Every visible dialog with its text; the one answering "accept" first.
        QWidget* top = QApplication::activeModalWidget();
        QStringList shown;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && qobject_cast<QDialog*>(w))
                shown << QString(w == top ? "*" : "") + w->objectName() + "=" + Label(w);
        }
        return "ok " + shown.join(" | ");
    }
    if (verb == "state")
        return "ok " + StateLine();
    if (verb == "type") {
        std::string line = FromQ(rest);
        QTimer::singleShot(0, &form_, [this, line] { client_.Lobby().ChatLine(line); });
        return "ok";
    }
    if (verb == "terminal") {
        // The terminal's rows that hold text, joined by " | ".
        QStringList rows;
        TTermModel& model = client_.Terminal().Model();
        for (int row = 1; row <= model.Rows(); ++row) {
            QString text = ToQ(model.RowText(row)).trimmed();
            if (!text.isEmpty())
                rows << text;
        }
        return "ok " + rows.join(" | ");
    }
    if (verb == "rows") {
        auto* list = qobject_cast<QTreeView*>(FindWidget(rest));
        if (!list || !list->model())
            return "error no list " + rest;
        QAbstractItemModel* model = list->model();
        QStringList rows;
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model->columnCount(); ++c)
                cells << model->index(r, c).data().toString().trimmed();
            rows << cells.join(",");
        }
        return QString("ok %1 %2").arg(model->rowCount()).arg(rows.join(" | "));
    }
    if (verb == "memos") {
        QStringList shown;
        for (int i = 0; i < 4; ++i) {
            TMemoForm& memo = client_.Lobby().Memo(i);
            if (memo.isVisible())
                shown << memo.windowTitle() + ":" + memo.mText->toPlainText().replace('\n', " / ");
        }
        return "ok " + shown.join(" ; ");
    }
    if (verb == "usermenu") {
        // "usermenu <row> <tag>": chooses a user-list menu item for a row.
        QStringList args = rest.split(' ', Qt::SkipEmptyParts);
        if (args.size() != 2)
            return "error usage usermenu <row> <tag>";
        TUserView& users = client_.Lobby().Users();
        int row = args[0].toInt();
        int tag = args[1].toInt();
        QTimer::singleShot(0, &form_, [this, row, tag] { client_.Lobby().Users().Choose(row, tag); });
        return row < users.ShownCount() ? "ok" : "error no row";
    }
    if (verb == "gamewin") {
        TZelGoMainForm& go = client_.GoMainForm();
        return QString("ok mode=%1 layout=%2 moves=%3 visible=%4 title=%5")
            .arg(go.Mode())
            .arg(go.Layout())
            .arg(go.Board().MoveCount())
            .arg(go.isVisible() ? 1 : 0)
            .arg(go.windowTitle());
    }
    if (verb == "board") {
        // "board <x> <y>": a left click on a point of the game window's board.
        QStringList args = rest.split(' ', Qt::SkipEmptyParts);
        bool okX = false, okY = false;
        int x = args.size() == 2 ? args[0].toInt(&okX) : 0;
        int y = args.size() == 2 ? args[1].toInt(&okY) : 0;
        if (!okX || !okY || x < 1 || x > 19 || y < 1 || y > 19)
            return "error usage board <x> <y> (1..19)";
        TZelGoMainForm& go = client_.GoMainForm();
        if (!go.isVisible())
            return "error game window hidden";
        QTimer::singleShot(0, &go, [&go, x, y] { go.BoardClick(Qt::LeftButton, Qt::NoModifier, x, y); });
        return "ok";
    }
    if (verb == "gamecmd") {
        // "gamecmd <caption>": presses the game window's button with that caption.
        TZelGoMainForm& go = client_.GoMainForm();
        for (QToolButton* b : go.findChildren<QToolButton*>()) {
            if (!b->isVisible() || b->text().remove('&').trimmed() != rest)
                continue;
            if (!b->isEnabled())
                return "error disabled " + rest;
            QTimer::singleShot(0, b, &QAbstractButton::click);
            return "ok";
        }
        return "error no game button " + rest;
    }
    if (verb == "gameedit") {
        // "gameedit": the commentary editor's text; "gameedit <text>" replaces it.
        auto* edit = client_.GoMainForm().findChild<QTextEdit*>("GoEdit");
        if (!edit)
            return "error no editor";
        if (!rest.isEmpty()) {
            if (edit->isReadOnly() || !edit->isVisible())
                return "error editor not writable";
            edit->setPlainText(rest);
        }
        return "ok " + edit->toPlainText().replace('\n', " / ");
    }
    if (verb == "gamechat") {
        // The game window's chat rows that hold text, joined by " | ".
        QStringList rows;
        TChatTermModel& model = client_.GoMainForm().GoTerminal()->Model();
        for (int row = 1; row <= model.Rows(); ++row) {
            QString text = ToQ(model.RowText(row)).trimmed();
            if (!text.isEmpty())
                rows << text;
        }
        return "ok " + rows.join(" | ");
    }
    if (verb == "gamestate") {
        TBBS2Zel* s = client_.Game().Session();
        if (!s)
            return "error no session";
        return QString("ok open=%1 kind=%2 moves=%3 input=%4 turn=%5 dead=%6 request=%7 record=%8 result=%9 "
                       "boards=%10 key=%11")
            .arg(s->GameOpen() ? 1 : 0)
            .arg(s->SessionKind())
            .arg(s->Board().MoveCount())
            .arg(s->InputEnabled() ? 1 : 0)
            .arg(s->IsMyTurn() ? 1 : 0)
            .arg(s->DeadMarkStage())
            .arg(s->RequestPending() ? 1 : 0)
            .arg(ToQ(s->LastRecordName()))
            .arg(ToQ(s->Info().PResult).trimmed())
            .arg(s->ActiveBoards())
            .arg(ToQ(s->Header().GameId));
    }
    if (verb == "gameboard") {
        // Stones on the game window's board control, its clock strip and the
        // players of the session.
        TZelGoMainForm& go = client_.GoMainForm();
        int black = 0, white = 0;
        for (int y = 1; y <= 19; ++y)
            for (int x = 1; x <= 19; ++x) {
                black += go.GoPaintBox()->Colour(x, y) == 1 ? 1 : 0;
                white += go.GoPaintBox()->Colour(x, y) == 2 ? 1 : 0;
            }
        TBBS2Zel* s = client_.Game().Session();
        return QString("ok black=%1 white=%2 strip=%3 blackid=%4 whiteid=%5")
            .arg(black)
            .arg(white)
            .arg(go.GameInfo()->StripHeight())
            .arg(s ? ToQ(s->Header().BlackId) : QString())
            .arg(s ? ToQ(s->Header().WhiteId) : QString());
    }
    if (verb == "screenshot") {
        QStringList args = rest.split(' ', Qt::SkipEmptyParts);
        if (args.isEmpty())
            return "error no file";
        QWidget* target = args.size() > 1 ? FindWidget(args[1]) : &form_;
        if (!target)
            return "error no visible widget " + args[1];
        return target->grab().save(args[0], "PNG") ? "ok" : "error cannot write " + args[0];
    }
    if (verb == "screenshotall") {
        // The visible windows painted at their places as the screen would
        // show them: main windows first, dialogs over them, the answering
        // dialog last.
        QList<QWidget*> windows, dialogs;
        QRect area;
        QWidget* top = QApplication::activeModalWidget();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || w == top)
                continue;
            (qobject_cast<QDialog*>(w) ? dialogs : windows) << w;
        }
        windows << dialogs;
        if (top)
            windows << top;
        for (QWidget* w : windows)
            area |= w->frameGeometry();
        if (rest.isEmpty() || area.isEmpty())
            return "error nothing to show";
        QPixmap picture(area.size());
        picture.fill(Qt::darkGray);
        QPainter painter(&picture);
        for (QWidget* w : windows)
            painter.drawPixmap(w->geometry().topLeft() - area.topLeft(), w->grab());
        painter.end();
        return picture.save(rest, "PNG") ? "ok" : "error cannot write " + rest;
    }
    if (verb == "close") {
        QTimer::singleShot(0, &form_, &QWidget::close);
        return "ok";
    }
    if (verb == "quit") {
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        return "ok";
    }
    if (verb == "dockstate") {
        TDockController& dock = client_.Dock();
        TTabDockHost* host = dock.Host();
        QStringList tabs;
        for (int i = 0; host && i < host->Count(); ++i)
            tabs << host->Tabs()->tabText(i);
        return QString("ok docked=%1 pages=%2 current=%3 preview=%4 zone=%5 site=%6 host=%7 tabs=%8")
            .arg(dock.Docked() ? 1 : 0)
            .arg(host ? host->Count() : 0)
            .arg(host ? host->Tabs()->currentIndex() : -1)
            .arg(dock.PreviewRect().isEmpty() ? 0 : 1)
            .arg(RectText(dock.PreviewRect()))
            .arg(RectText(dock.SiteRect()))
            .arg(RectText(host ? host->geometry() : QRect()))
            .arg(tabs.join('|'));
    }
    if (verb == "dragover" || verb == "drop") {
        // "dragover <x> <y>": the pointer drags the lobby window by its title
        // bar to the screen point in a few steps, as a window manager moves
        // it; "drop <x> <y>" does the same and lets go of the button there.
        QPoint target;
        if (!ParsePoint(rest, target))
            return "error usage " + verb + " <x> <y>";
        TDockController& dock = client_.Dock();
        if (dock.Docked() || !form_.isWindow())
            return "error docked";
        QPoint from = QCursor::pos();
        if (!dock.Following()) {
            from = form_.pos() + QPoint(form_.width() / 2, 8);
            QCursor::setPos(from);
        }
        const QPoint grab = from - form_.pos();
        // Small steps, as a window manager reports a drag.
        const int steps = std::clamp((target - from).manhattanLength() / 16, 4, 400);
        for (int i = 1; i <= steps; ++i) {
            const QPoint p = from + (target - from) * i / steps;
            QCursor::setPos(p);
            form_.move(p - grab);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
        }
        if (verb == "drop") {
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(target - form_.pos()), QPointF(target),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&form_, &release);
        }
        return "ok";
    }
    if (verb == "undock") {
        if (!client_.Dock().Docked())
            return "error not docked";
        client_.Dock().Undock();
        return "ok";
    }
    if (verb == "docktab") {
        TTabDockHost* host = client_.Dock().Host();
        bool ok = false;
        const int index = rest.toInt(&ok);
        if (!host || !ok || index < 0 || index >= host->Count())
            return "error no tab " + rest;
        host->Tabs()->setCurrentIndex(index);
        return "ok";
    }
    if (verb == "enterroom") {
        // "enterroom <room>": a double click on that room's row.
        bool ok = false;
        const int room = rest.toInt(&ok);
        TSlotView& list = client_.Lobby().Slots();
        if (!ok)
            return "error usage enterroom <room>";
        QTimer::singleShot(0, &form_, [&list, room] { list.AskEnter(room); });
        return "ok";
    }
    if (verb == "widget") {
        // "widget <name>": whether that visible widget is enabled, and a line edit's text.
        QWidget* target = FindWidget(rest);
        if (!target)
            return "error no visible widget " + rest;
        auto* edit = qobject_cast<QLineEdit*>(target);
        return QString("ok enabled=%1 readonly=%2 text=%3")
            .arg(target->isEnabled() ? 1 : 0)
            .arg(edit && edit->isReadOnly() ? 1 : 0)
            .arg(edit ? edit->text() : QString());
    }
    if (verb == "gamecell") {
        // The text of a status cell of the game window.
        bool ok = false;
        const int index = rest.toInt(&ok);
        QLabel* cell = ok && index >= 0 && index < 15 ? client_.GoMainForm().StatusCell(index) : nullptr;
        return cell ? "ok " + cell->text() : "error no cell " + rest;
    }
    if (verb == "tab") {
        // "tab <tab widget> <index>": shows that page.
        QStringList args = rest.split(' ', Qt::SkipEmptyParts);
        auto* tabs = args.size() == 2 ? qobject_cast<QTabWidget*>(FindWidget(args[0])) : nullptr;
        bool ok = false;
        const int index = args.size() == 2 ? args[1].toInt(&ok) : -1;
        if (!tabs || !ok || index < 0 || index >= tabs->count())
            return "error no such page " + rest;
        tabs->setCurrentIndex(index);
        return "ok " + tabs->tabText(index);
    }
    if (verb == "press") {
        // "press <widget>": a left click in the middle of that widget.
        QWidget* target = FindWidget(rest);
        if (!target)
            return "error no visible widget " + rest;
        QTimer::singleShot(0, target, [target] {
            const QPointF centre(target->width() / 2.0, target->height() / 2.0);
            const QPointF global = target->mapToGlobal(centre);
            QMouseEvent down(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &down);
            QMouseEvent up(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(target, &up);
        });
        return "ok";
    }
    if (verb == "pixel") {
        // "pixel <widget> <x> <y>": the colour that widget shows there.
        QStringList args = rest.split(' ', Qt::SkipEmptyParts);
        QWidget* target = args.size() == 3 ? FindWidget(args[0]) : nullptr;
        if (!target)
            return "error no visible widget " + rest;
        const QImage image = target->grab().toImage();
        const QPoint at(args[1].toInt(), args[2].toInt());
        if (!image.rect().contains(at))
            return "error outside " + rest;
        return "ok " + image.pixelColor(at).name();
    }
    if (verb == "recordpick") {
        // "recordpick <path>": the game window's record open dialog answers
        // with this path from now on instead of asking.
        if (rest.isEmpty())
            return "error usage recordpick <path>";
        const std::string path = FromQ(rest);
        client_.GoMainForm().ChooseRecordPath = [path](const std::string&) { return path; };
        return "ok";
    }
    if (verb == "combo") {
        // "combo <object> <index>": picks that entry of a visible combo box.
        QStringList args = rest.split(' ', Qt::SkipEmptyParts);
        auto* box = args.size() == 2 ? qobject_cast<QComboBox*>(FindWidget(args[0])) : nullptr;
        bool ok = false;
        const int index = args.size() == 2 ? args[1].toInt(&ok) : -1;
        if (!box || !ok || index < 0 || index >= box->count())
            return "error usage combo <object> <index>";
        box->setCurrentIndex(index);
        return "ok " + box->currentText();
    }
    if (verb == "suggestion") {
        // The suggested dead stones: the advisor's state (0 none, 1 waiting,
        // 2 shown, 3 failed), the stones suggested and those drawn with the
        // suggestion's mark, the time to the first suggestion and who
        // answered, whether another will follow, and whether (and when) the
        // second estimator's answer replaced the first.
        TDeadStoneAdvisor* advisor = client_.Game().Advisor();
        if (!advisor)
            return "error no advisor";
        TGoPaintBox* box = client_.GoMainForm().GoPaintBox();
        int drawn = 0;
        for (int y = 1; y <= 19; ++y)
            for (int x = 1; x <= 19; ++x)
                drawn += box->Suggested(x, y) && box->Colour(x, y) != 0 ? 1 : 0;
        QStringList points;
        for (const auto& [x, y] : advisor->Suggestion())
            points << ToQ(GtpVertexText(x, y));
        return QString("ok state=%1 count=%2 drawn=%3 ms=%4 by=%5 final=%6 second=%7 secondms=%8 points=%9")
            .arg(static_cast<int>(advisor->CurrentState()))
            .arg(advisor->Suggestion().size())
            .arg(drawn)
            .arg(advisor->LatencyMs())
            .arg(QString::fromStdString(advisor->EstimatorName()).replace(' ', '_'))
            .arg(advisor->IsFinal() ? 1 : 0)
            .arg(advisor->SecondShown() ? 1 : 0)
            .arg(advisor->SecondLatencyMs())
            .arg(points.join(','));
    }
    if (verb == "gamegtp") {
        // The game as GTP sees it: komi, handicap stones, moves, and the
        // stones now marked dead on the session's board.
        TBBS2Zel* s = client_.Game().Session();
        if (!s)
            return "error no session";
        const int komi = Code2ToNum(s->Header().KomiCode);
        const TDeadStoneQuery q = GameQuery(s->Board(), GtpKomi(s->Header().KomiSideCode, komi < 0 ? 0 : komi));
        QStringList handicap, moves, dead;
        for (const auto& [x, y] : q.HandicapStones)
            handicap << ToQ(GtpVertexText(x, y));
        for (const TPlayedMove& m : q.Moves)
            moves << QString(m.Colour == 2 ? "W:" : "B:") + ToQ(GtpVertexText(m.X, m.Y));
        for (const auto& [x, y] : DeadPoints(MarkedDead(s->Board())))
            dead << ToQ(GtpVertexText(x, y));
        return QString("ok komi=%1 handicap=%2 moves=%3 dead=%4 board=%5")
            .arg(q.Komi)
            .arg(handicap.join(','))
            .arg(moves.join(','))
            .arg(dead.join(','))
            .arg(QString::fromStdString(q.Position));
    }
    if (verb == "opened") {
        QStringList urls;
        for (const std::string& url : opened_)
            urls << ToQ(url);
        return "ok " + urls.join(' ');
    }
    return "error unknown command " + verb;
}

QString TestHook::StateLine() const
{
    TLobbyApp& app = client_.App();
    QStringList panels;
    for (int i = 9; i < TZel4HvnForm::kPanelCount; ++i)
        panels << form_.PanelText(i);
    return QString("state=%1 connected=%2 user=%3 room=%4 check=%5 loggedin=%6 panels=%7")
        .arg(app.State())
        .arg(app.IsConnected() ? 1 : 0)
        .arg(app.OwnUser())
        .arg(app.OwnRoom())
        .arg(app.CheckEnabled() ? 1 : 0)
        .arg(app.LoggedIn() ? 1 : 0)
        .arg(panels.join("|"));
}

void TestHook::Poll()
{
    TLobbyApp& app = client_.App();
    if (app.State() != lastState_) {
        lastState_ = app.State();
        Emit(QString("event state=%1").arg(lastState_));
    }
    if (app.IsConnected() != lastConnected_) {
        lastConnected_ = app.IsConnected();
        Emit(QString("event connected=%1").arg(lastConnected_ ? 1 : 0));
    }
    QWidget* modal = QApplication::activeModalWidget();
    QString modalName = modal ? modal->objectName() : QString();
    if (modalName != lastModal_) {
        lastModal_ = modalName;
        if (modal)
            Emit("event dialog=" + modalName + " text=" + Label(modal));
    }
    QString notice;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == "TNotifyForm" && top->isVisible())
            notice = Label(top);
    }
    if (notice != lastNotice_) {
        lastNotice_ = notice;
        if (!notice.isEmpty())
            Emit("event notice=" + notice);
    }
}

} // namespace zel
