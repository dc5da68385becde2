#include "client/game/GameRequestForm.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <tuple>

#include "client/base/ButtonRow.h"
#include "client/base/QtText.h"
#include "client/base/UiFont.h"

namespace zel {

namespace {

QLabel* Panel(QWidget* parent, const char* name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(220);
    return l;
}

} // namespace

TGameRequestForm::TGameRequestForm(TGameRequestModel& model, std::function<std::int32_t()> now, QWidget* parent)
    : QDialog(parent), model_(model), now_(std::move(now))
{
    setObjectName("TGameRequestForm");
    setWindowTitle(QString::fromUtf8("대국 신청입니다"));
    setFont(UiFont(9));
    auto* column = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    PanelBlack = Panel(this, "PanelBlack");
    PanelWhite = Panel(this, "PanelWhite");
    PanelMethod = Panel(this, "PanelMethod");
    PanelTLimit = Panel(this, "PanelTLimit");
    const char* labels[4] = {"흑 대국자", "백 대국자", "대국 방식", "제한 시간"};
    QLabel* panels[4] = {PanelBlack, PanelWhite, PanelMethod, PanelTLimit};
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(new QLabel(QString::fromUtf8(labels[i]), this), i, 0);
        grid->addWidget(panels[i], i, 1);
    }
    Gauge = new QProgressBar(this);
    Gauge->setObjectName("Gauge");
    Gauge->setRange(0, 100);
    Gauge->setTextVisible(false);
    grid->addWidget(new QLabel(QString::fromUtf8("자동 거부"), this), 4, 0);
    grid->addWidget(Gauge, 4, 1);
    column->addLayout(grid);
    std::tie(OkButton, CancelBtn) =
        AddOkCancelRow(this, column, QString::fromUtf8("수 락"), QString::fromUtf8("거 부"));

    PanelBlack->setText(ToQ(model_.Black));
    PanelWhite->setText(ToQ(model_.White));
    PanelMethod->setText(ToQ(model_.Method));
    PanelTLimit->setText(ToQ(model_.TimeLimit));

    Timer = new QTimer(this);
    Timer->setInterval(1000);
    connect(Timer, &QTimer::timeout, this, &TGameRequestForm::TimerTimer);
    connect(OkButton, &QPushButton::clicked, this, [this] { done(1); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(2); });
}

void TGameRequestForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    model_.Start(now_ ? now_() : 0);
    Gauge->setValue(0);
    Timer->start();
}

void TGameRequestForm::TimerTimer()
{
    model_.Tick(now_ ? now_() : 0);
    Gauge->setValue(model_.GaugePercent());
    if (model_.Expired()) {
        Timer->stop();
        done(2);
    }
}

} // namespace zel
