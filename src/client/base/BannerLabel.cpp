#include "client/base/BannerLabel.h"

#include <QMouseEvent>
#include <QMovie>
#include <QPainter>

namespace zel {

BannerLabel::BannerLabel(QWidget* parent) : QLabel(parent) {}

void BannerLabel::SetPicture(const QPixmap& picture)
{
    StopMovie();
    picture_ = picture;
    setText({});
    setStyleSheet({});
    updateGeometry();
    update();
}

bool BannerLabel::LoadPicture(const QString& path)
{
    auto* movie = new QMovie(path, QByteArray(), this);
    if (!movie->isValid() || !movie->jumpToFrame(0) || movie->currentPixmap().isNull()) {
        delete movie;
        return false;
    }
    SetPicture(movie->currentPixmap());
    if (movie->frameCount() <= 1) {
        delete movie;
        return true;
    }
    movie_ = movie;
    connect(movie_, &QMovie::frameChanged, this, [this] {
        picture_ = movie_->currentPixmap();
        update();
    });
    movie_->start();
    return true;
}

void BannerLabel::StopMovie()
{
    if (!movie_)
        return;
    movie_->stop();
    movie_->deleteLater();
    movie_ = nullptr;
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

void BannerLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        emit Clicked();
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

} // namespace zel
