#include "client/game/GameSetForm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <initializer_list>
#include <tuple>

#include "client/base/ButtonRow.h"
#include "client/base/QtText.h"
#include "client/base/UiFont.h"

namespace zel {

namespace {

// Tab order of the time modes: Korean, none, international.
constexpr int kTabOfMode[3] = {1, 0, 2};
constexpr int kModeOfTab[3] = {1, 0, 2};

QSpinBox* Spin(QWidget* parent, int low, int high, int step, const QString& suffix)
{
    auto* s = new QSpinBox(parent);
    s->setRange(low, high);
    s->setSingleStep(step);
    s->setSuffix(suffix);
    return s;
}

// Lays `widgets` out from left to right on `parent`.
void Row(QWidget* parent, std::initializer_list<QWidget*> widgets)
{
    auto* row = new QHBoxLayout(parent);
    for (QWidget* w : widgets)
        row->addWidget(w);
}

} // namespace

TGameSetForm::TGameSetForm(TGameSetModel& model, Random& random, QWidget* parent)
    : QDialog(parent), model_(model), random_(random)
{
    setObjectName("TGameSetForm");
    setWindowTitle(QString::fromUtf8("대국 신청(설정)"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setFont(UiFont(9));

    auto* column = new QVBoxLayout(this);
    auto* method = new QGroupBox(QString::fromUtf8("방법/공제"), this);
    cbHandi = new QComboBox(method);
    cbHandi->setObjectName("cbHandi");
    cbHandi->addItem(QString::fromUtf8("호선"));
    cbHandi->addItem(QString::fromUtf8("정선"));
    for (int i = 2; i <= 9; ++i)
        cbHandi->addItem(QString::fromUtf8("%1 점").arg(i));
    cbHandi->addItem(QString::fromUtf8("13점"));
    cbDumP = new QComboBox(method);
    cbDumP->setObjectName("cbDumP");
    cbDumP->addItems({QString::fromUtf8("흑"), QString::fromUtf8("백")});
    cbDumV = Spin(method, 0, 99, 1, QString());
    cbDumV->setObjectName("cbDumV");
    Row(method, {cbHandi, cbDumP, cbDumV, new QLabel(QString::fromUtf8("집 반 공제"), method)});
    column->addWidget(method);

    auto* timeBox = new QGroupBox(QString::fromUtf8("제한 시간"), this);
    auto* timeColumn = new QVBoxLayout(timeBox);
    Tabs = new QTabWidget(timeBox);
    Tabs->setObjectName("STL");
    auto* korean = new QWidget(Tabs);
    seKBase = Spin(korean, 1, 500, 5, QString::fromUtf8(" 분"));
    seKSec = Spin(korean, 10, 60, 10, QString::fromUtf8(" 초"));
    seKSecC = Spin(korean, 1, 99, 1, QString::fromUtf8(" 회"));
    seKBase->setObjectName("seKBase");
    Row(korean, {seKBase, seKSec, seKSecC});
    auto* none = new QWidget(Tabs);
    Row(none, {new QLabel(QString::fromUtf8("제한 시간 없음"), none)});
    auto* intl = new QWidget(Tabs);
    seCBase = Spin(intl, 0, 500, 1, QString::fromUtf8(" 분"));
    seCMin = Spin(intl, 0, 90, 1, QString::fromUtf8(" 분"));
    seCMove = Spin(intl, 0, 99, 1, QString::fromUtf8(" 수"));
    seCBase->setObjectName("seCBase");
    Row(intl, {seCBase, seCMin, seCMove});
    Tabs->addTab(korean, QString::fromUtf8("한국식"));
    Tabs->addTab(none, QString::fromUtf8("무제한"));
    Tabs->addTab(intl, QString::fromUtf8("국제식"));
    timeColumn->addWidget(Tabs);
    column->addWidget(timeBox);

    auto* colourBox = new QGroupBox(QString::fromUtf8("내돌 선택"), this);
    rbBlack = new QRadioButton(QString::fromUtf8("흑 돌"), colourBox);
    rbWhite = new QRadioButton(QString::fromUtf8("백 돌"), colourBox);
    rbAuto = new QRadioButton(QString::fromUtf8("자동(호선)"), colourBox);
    rbBlack->setObjectName("rbBlack");
    rbWhite->setObjectName("rbWhite");
    rbAuto->setObjectName("rbAuto");
    Row(colourBox, {rbBlack, rbWhite, rbAuto});
    column->addWidget(colourBox);

    std::tie(OkButton, CancelBtn) =
        AddOkCancelRow(this, column, QString::fromUtf8("대국 신청"), QString::fromUtf8("신청 취소"));

    connect(cbHandi, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (syncing_)
            return;
        model_.HandicapChanged(index);
        Sync();
    });
    connect(cbDumV, &QSpinBox::valueChanged, this, [this](int komi) {
        if (!syncing_)
            model_.KomiChanged(komi);
    });
    auto colour = [this](TGameSetModel::Colour c) {
        if (syncing_)
            return;
        model_.ColourClicked(c);
        Sync();
    };
    connect(rbBlack, &QRadioButton::clicked, this, [colour] { colour(TGameSetModel::Colour::Black); });
    connect(rbWhite, &QRadioButton::clicked, this, [colour] { colour(TGameSetModel::Colour::White); });
    connect(rbAuto, &QRadioButton::clicked, this, [colour] { colour(TGameSetModel::Colour::Auto); });
    connect(Tabs, &QTabWidget::tabBarClicked, this, [this](int tab) {
        if (tab == 1)
            OkButton->setFocus();
        else if (tab == 0)
            seKBase->setFocus();
        else
            seCBase->setFocus();
    });
    connect(OkButton, &QPushButton::clicked, this, &TGameSetForm::OkButtonClick);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(2); });
}

void TGameSetForm::Sync()
{
    syncing_ = true;
    if (model_.Handicap >= 0 && model_.Handicap < cbHandi->count())
        cbHandi->setCurrentIndex(model_.Handicap);
    cbDumP->setCurrentIndex(model_.KomiSide == 1 ? 1 : 0);
    cbDumV->setValue(model_.Komi);
    rbBlack->setChecked(model_.Choice == TGameSetModel::Colour::Black);
    rbWhite->setChecked(model_.Choice == TGameSetModel::Colour::White);
    rbAuto->setChecked(model_.Choice == TGameSetModel::Colour::Auto);
    syncing_ = false;
}

void TGameSetForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    syncing_ = true;
    seKBase->setValue(model_.KBase);
    seKSec->setValue(model_.KSec);
    seKSecC->setValue(model_.KCount);
    seCBase->setValue(model_.CBase);
    seCMin->setValue(model_.CMin);
    seCMove->setValue(model_.CMoves);
    Tabs->setCurrentIndex(kTabOfMode[model_.TimeMode >= 0 && model_.TimeMode <= 2 ? model_.TimeMode : 1]);
    setWindowTitle(ToQ(model_.Caption()));
    model_.Choice = TGameSetModel::Colour::Auto;
    syncing_ = false;
    Sync();
    cbHandi->setFocus();
}

void TGameSetForm::OkButtonClick()
{
    model_.TimeMode = kModeOfTab[Tabs->currentIndex() >= 0 ? Tabs->currentIndex() : 0];
    if (model_.TimeMode == 1) {
        model_.KBase = seKBase->value();
        model_.KSec = seKSec->value();
        model_.KCount = seKSecC->value();
    } else if (model_.TimeMode == 2) {
        model_.CBase = seCBase->value();
        model_.CMin = seCMin->value();
        model_.CMoves = seCMove->value();
    }
    model_.Handicap = cbHandi->currentIndex();
    model_.KomiSide = cbDumP->currentIndex();
    model_.Komi = cbDumV->value();
    model_.Confirm(random_);
    done(1);
}

} // namespace zel
