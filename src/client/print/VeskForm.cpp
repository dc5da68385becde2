#include "client/print/VeskForm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "client/base/QtText.h"
#include "client/base/UiFont.h"
#include "core/base/Cp949.h"
#include "core/engine/GoSnapshot.h"
#include "core/ports/Prompts.h"
#include "core/settings/ZelStatus.h"

namespace zel {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr int kPerPage[] = {1, 2, 4};
constexpr int kMinCell = 10;
// How long a refused field's notice stays up; the dialog stays open meanwhile.
constexpr int kRefusalMs = 3000;

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QLineEdit* Field(const char* name, QWidget* parent, int width = 70)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setFixedWidth(width);
    return e;
}

} // namespace

TVeskForm::TVeskForm(TZelStatus& status, Prompts& prompts, int lastMove, int pageWidth, int pageHeight, int resolution,
                     QWidget* parent)
    : QDialog(parent), status_(status), prompts_(prompts), lastMove_(std::max(lastMove, 0)), pageWidth_(pageWidth),
      pageHeight_(pageHeight), resolution_(std::max(resolution, 1))
{
    setObjectName("VeskForm");
    setWindowTitle(U("기보 인쇄"));
    setFont(UiFont(10));
    const PrintOptionInfo& o = status_.printOption;
    unit_ = o.dspUnit == kPixels ? kPixels : kMm;

    auto* grid = new QGridLayout(this);
    auto* paper = new QGroupBox(U("용지 설정"), this);
    auto* pg = new QGridLayout(paper);
    edTMar = Field("edTMar", paper);
    edLMar = Field("edLMar", paper);
    edGrid = Field("edGrid", paper);
    edHeight = Field("edHeight", paper);
    edWidth = Field("edWidth", paper);
    edHeight->setReadOnly(true);
    edWidth->setReadOnly(true);
    cbUnit = new QComboBox(paper);
    cbUnit->setObjectName("cbUnit");
    cbUnit->addItems({"mm", "pixels"});
    pg->addWidget(new QLabel(U("위 여백"), paper), 0, 0);
    pg->addWidget(edTMar, 0, 1);
    pg->addWidget(new QLabel(U("왼쪽 여백"), paper), 0, 2);
    pg->addWidget(edLMar, 0, 3);
    pg->addWidget(new QLabel(U("바둑판 칸"), paper), 1, 0);
    pg->addWidget(edGrid, 1, 1);
    pg->addWidget(new QLabel(U("단위"), paper), 1, 2);
    pg->addWidget(cbUnit, 1, 3);
    pg->addWidget(new QLabel(U("용지 높이"), paper), 2, 0);
    pg->addWidget(edHeight, 2, 1);
    pg->addWidget(new QLabel(U("용지 너비"), paper), 2, 2);
    pg->addWidget(edWidth, 2, 3);
    grid->addWidget(paper, 0, 0, 1, 2);

    auto* method = new QGroupBox(U("인쇄 방법"), this);
    auto* mg = new QGridLayout(method);
    const char* captions[] = {"총보 상태로 인쇄", "부분 상태로 인쇄", "현재 참고도 인쇄", "기보를", "모든 참고도 인쇄"};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        rbMethod[static_cast<std::size_t>(i)] = new QRadioButton(U(captions[i]), method);
        rbMethod[static_cast<std::size_t>(i)]->setObjectName(QString("rbMethod%1").arg(i + 1));
        group->addButton(rbMethod[static_cast<std::size_t>(i)], i + 1);
    }
    // Printing the current commentary alone is offered but not available.
    rbMethod[2]->setEnabled(false);
    edSPos = Field("edSPos", method, 50);
    edEPos = Field("edEPos", method, 50);
    Range = new QLabel(QString::fromUtf8("총 %1 수").arg(lastMove_), method);
    Range->setObjectName("Range");
    edDNum = Field("edDNum", method, 50);
    cbNDiv = new QComboBox(method);
    cbNDiv->setObjectName("cbNDiv");
    cbNDiv->addItems({"1", "2", "4"});
    mg->addWidget(rbMethod[0], 0, 0, 1, 4);
    mg->addWidget(rbMethod[1], 1, 0);
    mg->addWidget(edSPos, 1, 1);
    mg->addWidget(new QLabel("~", method), 1, 2);
    mg->addWidget(edEPos, 1, 3);
    mg->addWidget(Range, 1, 4);
    mg->addWidget(rbMethod[2], 2, 0, 1, 4);
    mg->addWidget(rbMethod[3], 3, 0);
    mg->addWidget(edDNum, 3, 1);
    mg->addWidget(new QLabel(U("수씩 나누어 한 장에"), method), 3, 2);
    mg->addWidget(cbNDiv, 3, 3);
    mg->addWidget(new QLabel(U("개씩 인쇄"), method), 3, 4);
    mg->addWidget(rbMethod[4], 4, 0, 1, 4);
    grid->addWidget(method, 1, 0, 1, 2);

    cbColor = new QCheckBox(U("칼라 인쇄"), this);
    cbColor->setObjectName("cbColor");
    cbColor->setChecked(o.color);
    cbColor->setEnabled(false);
    grid->addWidget(cbColor, 2, 0);

    auto* buttons = new QHBoxLayout;
    btnOk = new QPushButton(U("확 인"), this);
    btnPreview = new QPushButton(U("미리 보기"), this);
    btnPdf = new QPushButton(U("PDF 저장"), this);
    btnCancel = new QPushButton(U("취 소"), this);
    btnOk->setObjectName("btnOk");
    btnPreview->setObjectName("btnPreview");
    btnPdf->setObjectName("btnPdf");
    btnCancel->setObjectName("btnCancel");
    for (QPushButton* b : {btnOk, btnPreview, btnPdf, btnCancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    btnOk->setDefault(true);
    grid->addLayout(buttons, 3, 0, 1, 2);

    lengths_ = {std::max(o.tMargin, 0), std::max(o.lMargin, 0), std::max(o.goGrid, kMinCell)};
    for (int i = 0; i < 3; ++i)
        LengthField(i)->setText(Shown(lengths_[static_cast<std::size_t>(i)]));
    edHeight->setText(Shown(pageHeight_));
    edWidth->setText(Shown(pageWidth_));
    cbUnit->setCurrentIndex(unit_);
    edDNum->setText(QString::number(o.splitNo));
    cbNDiv->setCurrentIndex(std::clamp(o.perPage, 0, 2));
    edSPos->setText(QString::number(lastMove_ > 0 ? 1 : 0));
    edEPos->setText(QString::number(lastMove_));
    const int m = o.method;
    const bool offered = m >= kPrintWhole && m <= kPrintCommentaries && m != kPrintCurrentCommentary;
    rbMethod[static_cast<std::size_t>(offered ? m - 1 : 0)]->setChecked(true);

    connect(cbUnit, &QComboBox::currentIndexChanged, this, [this](int unit) { cbUnitChange(unit); });
    connect(btnOk, &QPushButton::clicked, this, [this] { btnOkClick(kToPrinter); });
    connect(btnPreview, &QPushButton::clicked, this, [this] { btnOkClick(kToPreview); });
    connect(btnPdf, &QPushButton::clicked, this, [this] { btnOkClick(kToPdf); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TVeskForm::Shown(int pixels) const
{
    if (unit_ == kPixels)
        return QString::number(pixels);
    return QString::number(pixels * kMmPerInch / resolution_, 'f', 1);
}

QLineEdit* TVeskForm::LengthField(int index) const
{
    return index == 0 ? edTMar : index == 1 ? edLMar : edGrid;
}

bool TVeskForm::ReadLength(int index, int& pixels) const
{
    const QLineEdit* field = LengthField(index);
    if (field->text() == Shown(lengths_[static_cast<std::size_t>(index)])) {
        pixels = lengths_[static_cast<std::size_t>(index)];
        return true;
    }
    bool ok = false;
    const double value = field->text().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0 || value > 100000)
        return false;
    pixels = static_cast<int>(std::lround(unit_ == kPixels ? value : value * resolution_ / kMmPerInch));
    return true;
}

void TVeskForm::cbUnitChange(int unit)
{
    std::array<int, 3> read{};
    bool ok = true;
    for (int i = 0; i < 3; ++i)
        ok = ReadLength(i, read[static_cast<std::size_t>(i)]) && ok;
    unit_ = unit == kPixels ? kPixels : kMm;
    if (ok) {
        lengths_ = read;
        for (int i = 0; i < 3; ++i)
            LengthField(i)->setText(Shown(lengths_[static_cast<std::size_t>(i)]));
    }
    edHeight->setText(Shown(pageHeight_));
    edWidth->setText(Shown(pageWidth_));
}

void TVeskForm::Refuse(const char* text)
{
    prompts_.Notify(Utf8ToCp949(text), kRefusalMs);
}

void TVeskForm::btnOkClick(TOutput output)
{
    int top = 0, left = 0, cell = 0;
    if (!ReadLength(0, top) || !ReadLength(1, left) || !ReadLength(2, cell) || cell < kMinCell)
        return Refuse("여백과 바둑판 칸의 크기를 숫자로 입력하세요.");
    int method = kPrintWhole;
    for (int i = 0; i < 5; ++i)
        if (rbMethod[static_cast<std::size_t>(i)]->isChecked())
            method = i + 1;
    bool splitOk = false;
    const int split = edDNum->text().trimmed().toInt(&splitOk);
    if (method == kPrintSplit && (!splitOk || split < 1 || split > kMaxMoves))
        return Refuse("나누어 인쇄할 수의 개수를 1부터 500까지의 숫자로 입력하세요.");
    TPrintRequest r;
    r.Method = method;
    r.SplitNo = splitOk && split >= 1 ? std::min(split, kMaxMoves) : status_.printOption.splitNo;
    r.PerPage = kPerPage[std::clamp(cbNDiv->currentIndex(), 0, 2)];
    r.From = 1;
    r.To = lastMove_;
    if (method == kPrintRange && !ReadPrintRange(FromQ(edSPos->text()), FromQ(edEPos->text()), lastMove_, r.From, r.To))
        return Refuse("인쇄할 수순의 범위가 올바르지 않습니다. 인쇄하지 않습니다.");

    PrintOptionInfo& o = status_.printOption;
    o.tMargin = top;
    o.lMargin = left;
    o.goGrid = cell;
    o.dspUnit = unit_;
    o.splitNo = r.SplitNo;
    o.perPage = std::clamp(cbNDiv->currentIndex(), 0, 2);
    o.method = method;
    o.color = cbColor->isChecked();
    status_.Save(TZelStatus::kPrintOption);
    request_ = r;
    output_ = output;
    accept();
}

} // namespace zel
