#include "client/app/EnvSetForm.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "client/base/QtColours.h"
#include "client/base/QtText.h"
#include "client/base/UiFont.h"
#include "core/settings/ZelStatus.h"

namespace zel {
namespace {

const char* const kBaseCaption = "바 탕 색";
constexpr int kLastSwatch = TEnvSetForm::kSwatches - 1;
constexpr int kMacroShortcutColumn = 0;
constexpr int kMacroTextColumn = 1;
constexpr QSize kPatternSize(96, 96);

// A square of the pattern as it tiles on the board.
QPixmap PatternSample(const QImage& tile)
{
    QPixmap sample(kPatternSize);
    sample.fill(Qt::lightGray);
    if (!tile.isNull()) {
        QPainter p(&sample);
        p.drawTiledPixmap(sample.rect(), QPixmap::fromImage(tile));
    }
    return sample;
}

} // namespace

TEnvSetForm::TEnvSetForm(TZelStatus& status, TEnvSetTargets& targets, QWidget* parent)
    : QDialog(parent), status_(status), targets_(targets)
{
    setObjectName("TEnvSetForm");
    setWindowTitle(QString::fromUtf8("환경 설정"));
    setFont(UiFont(9));
    auto* column = new QVBoxLayout(this);
    Pages = new QTabWidget(this);
    Pages->setObjectName("Pages");
    Pages->addTab(BuildColourPage(), QString::fromUtf8("색상 변경"));
    Pages->addTab(BuildMacroPage(), QString::fromUtf8("글쇠 정의"));
    Pages->addTab(BuildOtherPage(), QString::fromUtf8("기타 설정"));
    Pages->addTab(BuildBoardPage(), QString::fromUtf8("바둑판 무늬"));
    column->addWidget(Pages, 1);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    OkBtn = new QPushButton(QString::fromUtf8("확 인"), this);
    OkBtn->setObjectName("OkBtn");
    CancelBtn = new QPushButton(QString::fromUtf8("취 소"), this);
    CancelBtn->setObjectName("CancelBtn");
    // Enter presses OK only while OK has the focus: Enter in a field moves on
    // (macros) or does nothing (the other fields).
    OkBtn->setAutoDefault(true);
    CancelBtn->setAutoDefault(false);
    row->addWidget(OkBtn);
    row->addWidget(CancelBtn);
    column->addLayout(row);
    connect(OkBtn, &QPushButton::clicked, this, &TEnvSetForm::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(Pages, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == kMacroPage)
            FocusMacroPage();
    });
    resize(420, 360);
}

QImage TEnvSetForm::BoardPattern(int pattern)
{
    if (pattern < 1 || pattern > kPatterns)
        return {};
    return QImage(QString(":/board/board%1.bmp").arg(pattern));
}

QWidget* TEnvSetForm::BuildColourPage()
{
    auto* page = new QWidget(this);
    page->setObjectName("ColourPage");
    auto* row = new QHBoxLayout(page);
    for (int i = 0; i < kSwatches; ++i) {
        auto* swatch = new QPushButton(page);
        swatch->setObjectName(QString("ColorBtn%1").arg(i + 1));
        swatch->setAutoDefault(false);
        swatch->setFixedSize(64, 64);
        const QColor colour = PaletteQColor(kFirstSwatchColour + i);
        swatch->setStyleSheet(QString("QPushButton { background: %1; color: white; border: 2px outset %1; }"
                                      "QPushButton:pressed { border: 2px inset %1; }")
                                  .arg(colour.name()));
        connect(swatch, &QPushButton::pressed, this, [this, i] { SwatchPressed(i); });
        ColorBtns[static_cast<std::size_t>(i)] = swatch;
        row->addWidget(swatch);
    }
    return page;
}

QWidget* TEnvSetForm::BuildMacroPage()
{
    auto* page = new QWidget(this);
    page->setObjectName("MacroPage");
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QString::fromUtf8("단축키"), page), 0, kMacroShortcutColumn);
    grid->addWidget(new QLabel(QString::fromUtf8("내 용"), page), 0, kMacroTextColumn);
    for (int i = 0; i < kMacros; ++i) {
        grid->addWidget(new QLabel(QString("Alt+%1").arg(i + 1), page), i + 1, kMacroShortcutColumn);
        auto* edit = new QLineEdit(page);
        edit->setObjectName(QString("MacroEdit%1").arg(i + 1));
        edit->installEventFilter(this);
        MacroEdits[static_cast<std::size_t>(i)] = edit;
        grid->addWidget(edit, i + 1, kMacroTextColumn);
    }
    return page;
}

QWidget* TEnvSetForm::BuildOtherPage()
{
    auto* page = new QWidget(this);
    page->setObjectName("OtherPage");
    auto* column = new QVBoxLayout(page);
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(new QLabel(QString::fromUtf8("수순(기보 보기) 자동진행 시간 간격"), page));
    AutoTimeSpin = new QSpinBox(page);
    AutoTimeSpin->setObjectName("AutoTimeSpin");
    AutoTimeSpin->setRange(1, 100);
    timeRow->addWidget(AutoTimeSpin);
    timeRow->addWidget(new QLabel(QString::fromUtf8("초"), page));
    timeRow->addStretch(1);
    column->addLayout(timeRow);
    column->addWidget(new QLabel(QString::fromUtf8("초대 거부시 자동 응답 메시지"), page));
    RejectEdit = new QLineEdit(page);
    RejectEdit->setObjectName("RejectEdit");
    column->addWidget(RejectEdit);
    column->addWidget(new QLabel(QString::fromUtf8("방 제목(방 만들기)"), page));
    TitleEdit = new QLineEdit(page);
    TitleEdit->setObjectName("TitleEdit");
    TitleEdit->installEventFilter(this);
    RejectEdit->installEventFilter(this);
    column->addWidget(TitleEdit);
    RecvVHelpCheck = new QCheckBox(QString::fromUtf8("다른 사람이 만든 참고도가 왔을때 알림창 표시"), page);
    RecvVHelpCheck->setObjectName("RecvVHelpCheck");
    SendVHelpCheck = new QCheckBox(QString::fromUtf8("참고도를 다른 사람에게 보낼때 확인창 표시"), page);
    SendVHelpCheck->setObjectName("SendVHelpCheck");
    CountVoiceCheck = new QCheckBox(QString::fromUtf8("초읽기를 소리로 듣기"), page);
    CountVoiceCheck->setObjectName("CountVoiceCheck");
    column->addWidget(RecvVHelpCheck);
    column->addWidget(SendVHelpCheck);
    column->addWidget(CountVoiceCheck);
    column->addStretch(1);
    return page;
}

QWidget* TEnvSetForm::BuildBoardPage()
{
    auto* page = new QWidget(this);
    page->setObjectName("BoardPage");
    auto* row = new QHBoxLayout(page);
    for (int i = 0; i < kPatterns; ++i) {
        auto* panel = new QFrame(page);
        panel->setObjectName(QString("BoardPanel%1").arg(i + 1));
        panel->setFrameShape(QFrame::Panel);
        panel->setLineWidth(3);
        auto* inside = new QVBoxLayout(panel);
        inside->setContentsMargins(4, 4, 4, 4);
        auto* image = new QLabel(panel);
        image->setObjectName(QString("BoardImage%1").arg(i + 1));
        image->setPixmap(PatternSample(BoardPattern(i + 1)));
        image->setCursor(Qt::PointingHandCursor);
        image->installEventFilter(this);
        inside->addWidget(image);
        BoardPanels[static_cast<std::size_t>(i)] = panel;
        boardImages_[static_cast<std::size_t>(i)] = image;
        row->addWidget(panel);
    }
    return page;
}

bool TEnvSetForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return QDialog::eventFilter(watched, event);
        // Enter never reaches the window's buttons from a field: it moves on
        // from a macro and does nothing elsewhere.
        for (int i = 0; i < kMacros; ++i)
            if (watched == MacroEdits[static_cast<std::size_t>(i)])
                MacroReturn(i);
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < kPatterns; ++i) {
            if (watched == boardImages_[static_cast<std::size_t>(i)]) {
                SelectBoard(i + 1);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TEnvSetForm::ShowForm()
{
    Fill();
    open();
    if (Pages->currentIndex() == kMacroPage)
        FocusMacroPage();
}

void TEnvSetForm::Fill()
{
    const EnvironmentInfo& e = status_.environment;
    for (int i = 0; i < kSwatches; ++i)
        ColorBtns[static_cast<std::size_t>(i)]->setText(
            e.baseColor == kFirstSwatchColour + i ? QString::fromUtf8(kBaseCaption) : QString());
    for (int i = 0; i < kMacros; ++i)
        MacroEdits[static_cast<std::size_t>(i)]->setText(ToQ(e.messages[static_cast<std::size_t>(i + 1)]));
    AutoTimeSpin->setValue(e.autoTimeI);
    RejectEdit->setText(ToQ(e.messages[0]));
    TitleEdit->setText(ToQ(e.roomTitle));
    RecvVHelpCheck->setChecked(e.recvVHelp);
    SendVHelpCheck->setChecked(e.sendVHelp);
    CountVoiceCheck->setChecked(e.countVoice);
    SelectBoard(e.baseBoard);
}

void TEnvSetForm::SwatchPressed(int index)
{
    for (QPushButton* swatch : ColorBtns)
        swatch->setText({});
    ColorBtns[static_cast<std::size_t>(index)]->setText(QString::fromUtf8(kBaseCaption));
}

int TEnvSetForm::ChosenColour() const
{
    for (int i = 0; i < kSwatches; ++i)
        if (!ColorBtns[static_cast<std::size_t>(i)]->text().isEmpty())
            return kFirstSwatchColour + i;
    return kFirstSwatchColour + kLastSwatch;
}

void TEnvSetForm::SelectBoard(int pattern)
{
    for (int i = 0; i < kPatterns; ++i)
        BoardPanels[static_cast<std::size_t>(i)]->setFrameShadow(i + 1 == pattern ? QFrame::Sunken : QFrame::Raised);
}

int TEnvSetForm::ChosenBoard() const
{
    for (int i = 0; i < kPatterns; ++i)
        if (BoardPanels[static_cast<std::size_t>(i)]->frameShadow() == QFrame::Sunken)
            return i + 1;
    return status_.environment.baseBoard;
}

void TEnvSetForm::MacroReturn(int index)
{
    if (index + 1 < kMacros)
        MacroEdits[static_cast<std::size_t>(index + 1)]->setFocus();
    else
        OkBtn->setFocus();
}

void TEnvSetForm::FocusMacroPage()
{
    for (QLineEdit* edit : MacroEdits) {
        if (edit->text().isEmpty()) {
            edit->setFocus();
            return;
        }
    }
    OkBtn->setFocus();
}

void TEnvSetForm::OkBtnClick()
{
    EnvironmentInfo& e = status_.environment;
    const int colour = ChosenColour();
    const int board = ChosenBoard();
    const bool recolour = colour != e.baseColor;
    const bool reboard = board != e.baseBoard;
    e.baseColor = colour;
    e.baseBoard = board;
    bool macros = false;
    for (int i = 0; i < kMacros; ++i) {
        std::string& macro = e.messages[static_cast<std::size_t>(i + 1)];
        const std::string typed = FromQ(MacroEdits[static_cast<std::size_t>(i)]->text());
        macros = macros || typed != macro;
        macro = typed;
    }
    e.messages[0] = FromQ(RejectEdit->text());
    e.roomTitle = FromQ(TitleEdit->text());
    e.autoTimeI = AutoTimeSpin->value();
    e.recvVHelp = RecvVHelpCheck->isChecked();
    e.sendVHelp = SendVHelpCheck->isChecked();
    e.countVoice = CountVoiceCheck->isChecked();
    if (recolour)
        targets_.Recolour(colour);
    if (reboard)
        targets_.ApplyBoardPattern(board);
    if (macros)
        targets_.MacrosChanged();
    status_.Save(TZelStatus::kEnvironment);
    accept();
}

} // namespace zel
