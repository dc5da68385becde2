#include "client/app/BannerLabel.h"

#include <QPainter>

namespace zel {

BannerLabel::BannerLabel(QWidget* parent) : QLabel(parent) {}

void BannerLabel::SetPicture(const QPixmap& picture)
{
    picture_ = picture;
    setText({});
    setStyleSheet({});
    updateGeometry();
    update();
}

QSize BannerLabel::sizeHint() const
{
    if (picture_.isNull() || picture_.height() == 0)
        return QLabel::sizeHint();
    return {picture_.width() * height() / picture_.height(), height()};
}

void BannerLabel::paintEvent(QPaintEvent* event)
{
    if (picture_.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QSize fitted = picture_.size().scaled(size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, (height() - fitted.height()) / 2), fitted);
    p.drawPixmap(target, picture_);
}

} // namespace zel
