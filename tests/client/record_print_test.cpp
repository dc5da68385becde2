// Printing records from the client: the print dialog's fields through its
// own buttons, one job at a time, the painter's output and the game
// window's "기보 인쇄" in every layout that offers it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include "GoMainTestKit.h"
#include "QtTestApp.h"
#include "client/base/QtText.h"
#include "client/print/PrintPainter.h"
#include "client/print/RecordPrint.h"
#include "client/print/VeskForm.h"
#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/settings/ZelStatus.h"
#include "support/Fakes.h"

namespace zel {
namespace {

constexpr int kA4Width = 4961, kA4Height = 7016;

struct VeskFixture {
    VeskFixture() : status(settings) { test::App(); }
    std::unique_ptr<TVeskForm> Open(int lastMove = 250)
    {
        return std::make_unique<TVeskForm>(status, prompts, lastMove, kA4Width, kA4Height, 600);
    }
    test::MemorySettings settings;
    TZelStatus status;
    test::RecordingPrompts prompts;
};

TEST(VeskForm, ShowsTheOptionsAndOffersOnlyWhatPrints)
{
    VeskFixture f;
    f.status.printOption.method = kPrintCurrentCommentary; // a stored method that is not offered
    const auto form = f.Open(250);
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("기보 인쇄"));
    EXPECT_EQ(form->Range->text(), QString::fromUtf8("총 250 수"));
    EXPECT_EQ(form->edSPos->text(), "1");
    EXPECT_EQ(form->edEPos->text(), "250");
    EXPECT_FALSE(form->rbMethod[2]->isEnabled());
    EXPECT_FALSE(form->cbColor->isEnabled());
    EXPECT_TRUE(form->rbMethod[0]->isChecked());
    EXPECT_EQ(form->cbNDiv->currentText(), "4");
    EXPECT_TRUE(form->edWidth->isReadOnly());
    // Lengths in mm at the printer's resolution: 500 px at 600 dpi.
    EXPECT_EQ(form->edTMar->text(), "21.2");
    EXPECT_EQ(form->edWidth->text(), "210.0");

    const auto empty = f.Open(0);
    EXPECT_EQ(empty->edSPos->text(), "0");
    EXPECT_EQ(empty->edEPos->text(), "0");
}

TEST(VeskForm, UnitSwitchKeepsThePixels)
{
    VeskFixture f;
    const auto form = f.Open();
    form->cbUnit->setCurrentIndex(TVeskForm::kPixels);
    EXPECT_EQ(form->edGrid->text(), "185");
    form->cbUnit->setCurrentIndex(TVeskForm::kMm);
    EXPECT_EQ(form->edGrid->text(), "7.8");
    form->cbUnit->setCurrentIndex(TVeskForm::kPixels);
    EXPECT_EQ(form->edGrid->text(), "185"); // not 184 from the rounded mm
    form->edLMar->setText("10");            // a value typed in mm
    form->cbUnit->setCurrentIndex(TVeskForm::kMm);
    form->cbUnit->setCurrentIndex(TVeskForm::kPixels);
    EXPECT_EQ(form->edLMar->text(), "10");
}

TEST(VeskForm, AcceptStoresTheOptionsAndGivesTheJob)
{
    VeskFixture f;
    const auto form = f.Open();
    form->cbUnit->setCurrentIndex(TVeskForm::kPixels);
    form->edTMar->setText("300");
    form->edGrid->setText("150");
    form->rbMethod[3]->setChecked(true);
    form->edDNum->setText("40");
    form->cbNDiv->setCurrentIndex(1);
    form->btnPreview->click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(form->Output(), TVeskForm::kToPreview);
    const TPrintRequest r = form->Request();
    EXPECT_EQ(r.Method, kPrintSplit);
    EXPECT_EQ(r.SplitNo, 40);
    EXPECT_EQ(r.PerPage, 2);
    const auto& stored = f.settings.values["Print Option Info"];
    EXPECT_EQ(stored.at("tmargin"), "300");
    EXPECT_EQ(stored.at("gogrid"), "150");
    EXPECT_EQ(stored.at("dspunit"), "1");
    EXPECT_EQ(stored.at("splitno"), "40");
    EXPECT_EQ(stored.at("perpage"), "1");
    EXPECT_EQ(stored.at("method"), "4");
}

TEST(VeskForm, BadFieldsPrintNothingAndSaySo)
{
    struct Row {
        int method;
        const char *from, *to, *split, *grid;
    } rows[] = {
        {kPrintRange, "0", "0", "50", "185"},   {kPrintRange, "abc", "10", "50", "185"},
        {kPrintRange, "30", "20", "50", "185"}, {kPrintSplit, "1", "250", "0", "185"},
        {kPrintSplit, "1", "250", "x", "185"},  {kPrintWhole, "1", "250", "50", "-5"},
    };
    for (const Row& r : rows) {
        VeskFixture f;
        const auto form = f.Open();
        form->cbUnit->setCurrentIndex(TVeskForm::kPixels);
        form->rbMethod[static_cast<std::size_t>(r.method - 1)]->setChecked(true);
        form->edSPos->setText(r.from);
        form->edEPos->setText(r.to);
        form->edDNum->setText(r.split);
        form->edGrid->setText(r.grid);
        const int writes = f.settings.writes;
        form->btnOk->click();
        EXPECT_NE(form->result(), QDialog::Accepted) << r.from << ".." << r.to;
        ASSERT_EQ(f.prompts.notices.size(), 1u) << r.from << ".." << r.to;
        EXPECT_FALSE(f.prompts.notices[0].first.empty());
        EXPECT_EQ(f.settings.writes, writes);
    }
}

// Runs `step` on the print dialog once it is up.
void WhenDialogOpens(std::function<void(TVeskForm&)> step)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        if (auto* form = qobject_cast<TVeskForm*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            step(*form);
        }
    });
    timer->start();
}

TPrintSource SmallRecord()
{
    TGiboList list;
    list.AddLine("OOAAkim\\#lee\\#AAAG\\#2026-12-07\\#test\\#W+R\\#");
    list.AddLine("PMABBDDDD");
    list.AddLine("PMACWQQQQ");
    return TPrintSource::FromRecord(list, "20261207kimlee.zel");
}

TEST(RecordPrint, OneJobAtATimeAndTheStatusCell)
{
    VeskFixture f;
    TRecordPrint print(f.status, f.prompts);
    QLabel cell;
    QTemporaryDir dir;
    const QString pdf = dir.filePath("out.pdf");
    QString cellWhilePrinting;
    print.ChoosePdfFile = [&](QWidget*) {
        cellWhilePrinting = cell.text();
        return pdf;
    };
    WhenDialogOpens([&](TVeskForm& form) {
        // A second job while this one runs is refused with a notice.
        print.PrintRecord(SmallRecord(), nullptr, &cell);
        form.btnPdf->click();
    });
    print.PrintRecord(SmallRecord(), nullptr, &cell);

    ASSERT_EQ(f.prompts.notices.size(), 1u);
    EXPECT_EQ(f.prompts.notices[0].first, KS("인쇄중... 잠시후에 다시 시도하세요"));
    EXPECT_EQ(f.prompts.notices[0].second, 2000);
    EXPECT_EQ(cellWhilePrinting, QString::fromUtf8("기보 인쇄중..."));
    EXPECT_TRUE(cell.text().isEmpty());
    EXPECT_FALSE(print.Busy());
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");

    // Cancelled: nothing printed, and the next job may start.
    WhenDialogOpens([](TVeskForm& form) { form.btnCancel->click(); });
    print.PrintRecord(SmallRecord(), nullptr, &cell);
    EXPECT_FALSE(print.Busy());
    EXPECT_EQ(f.prompts.notices.size(), 1u);
}

TEST(RecordPrint, NothingToPrintIsSaid)
{
    VeskFixture f;
    TRecordPrint print(f.status, f.prompts);
    bool asked = false;
    print.ChoosePdfFile = [&](QWidget*) {
        asked = true;
        return QString();
    };
    WhenDialogOpens([](TVeskForm& form) {
        form.rbMethod[4]->setChecked(true); // the record has no commentary
        form.btnPdf->click();
    });
    print.PrintRecord(SmallRecord(), nullptr, nullptr);
    EXPECT_FALSE(asked);
    ASSERT_EQ(f.prompts.alerts.size(), 1u);
}

TEST(PrintPainter, StonesComeOutInTheirColours)
{
    test::App();
    const TPrintSource source = SmallRecord();
    const TPrintPlan plan = PlanPrint(TPageSetup{}, {kPrintWhole}, source, "2026-12-08 10:00");
    ASSERT_EQ(plan.Pages.size(), 1u);
    constexpr double kScale = 0.2;
    QImage image(static_cast<int>(kA4Width * kScale), static_cast<int>(kA4Height * kScale), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.scale(kScale, kScale);
        PaintPage(painter, plan.Pages[0]);
    }
    image.save(QString(ZEL_SCREENSHOT_DIR) + "/print_page.png");
    int stones = 0;
    for (const TDrawOp& op : plan.Pages[0].Ops) {
        if (op.Kind != TDrawOp::kCircle || op.W < 100)
            continue; // star points
        ++stones;
        // Below the number, inside the stone.
        const QPoint p(static_cast<int>((op.X + op.W / 2) * kScale), static_cast<int>((op.Y + op.H * 5 / 6) * kScale));
        EXPECT_EQ(qGray(image.pixel(p)) < 80, op.Filled) << p.x() << "," << p.y();
    }
    EXPECT_EQ(stones, 2);
}

// The layouts that carry "기보 인쇄" print the record being viewed.
TEST(GameWindowPrint, CommandPrintsTheRecordInEveryLayoutThatOffersIt)
{
    test::GoMainFixture f;
    // A commentary on move 4: one move at (3, 3).
    f.View(f.RecordText(test::TenMoves(), "VHAEACQQCC\\#AA\\#c\\!:: kim\r\n"));
    const auto PressPrint = [&] {
        for (int i = 0; i < kCommandButtons; ++i)
            if (f.form->ButtonCommand(i).Command == kCmdPrintRecord)
                return f.form->ButtonClick(i), true;
        return false;
    };
    ASSERT_EQ(f.form->Layout(), kLayoutViewing);
    ASSERT_TRUE(PressPrint());
    ASSERT_EQ(f.printer.printed.size(), 1u);
    EXPECT_EQ(f.printer.printed[0].Moves.Last, 10);
    EXPECT_EQ(f.printer.printed[0].RecordName(), "20261207kimlee.zel");
    EXPECT_EQ(f.printer.printed[0].Header().White, "lee(lee) 2d");

    f.form->ButtonClick(0); // "참고 해설": writing a commentary
    ASSERT_EQ(f.form->Layout(), kLayoutWriting);
    ASSERT_TRUE(PressPrint());
    EXPECT_EQ(f.printer.printed.size(), 2u);
    EXPECT_EQ(f.form->Mode(), TZelGoMainForm::kWriting);

    f.form->ButtonClick(4); // "작성 취소"
    ASSERT_EQ(f.form->Mode(), TZelGoMainForm::kViewing);
    for (int i = 0; i < 6 && f.form->Mode() != TZelGoMainForm::kShowing; ++i)
        f.form->ButtonClick(kNavForwardOne);
    ASSERT_EQ(f.form->Layout(), kLayoutShowing);
    ASSERT_TRUE(PressPrint());
    ASSERT_EQ(f.printer.printed.size(), 3u);
    ASSERT_EQ(f.printer.printed[2].Commentaries.size(), 1u);
    EXPECT_EQ(f.printer.printed[2].Commentaries[0].Number, 4);
    EXPECT_EQ(f.form->Mode(), TZelGoMainForm::kShowing);
}

} // namespace
} // namespace zel
