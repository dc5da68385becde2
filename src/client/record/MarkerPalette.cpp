#include "client/record/MarkerPalette.h"

#include <QGridLayout>
#include <QToolButton>

namespace zel {

TMarkerPalette::TMarkerPalette(QWidget* parent) : QFrame(parent)
{
    setObjectName("MarkerPalette");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(3, 3, 3, 3);
    grid->setSpacing(1);
    for (int i = 0; i < 26; ++i) {
        auto* b = new QToolButton(this);
        b->setText(QString(QChar('A' + i)));
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setFixedSize(20, 20);
        connect(b, &QToolButton::clicked, this, [this, i] { Select(i); });
        grid->addWidget(b, i / 7, i % 7);
        buttons_[static_cast<std::size_t>(i)] = b;
    }
    Select(0);
    adjustSize();
}

void TMarkerPalette::Select(int index)
{
    if (index < 0 || index >= 26)
        return;
    selected_ = index;
    for (int i = 0; i < 26; ++i)
        buttons_[static_cast<std::size_t>(i)]->setChecked(i == index);
}

} // namespace zel
