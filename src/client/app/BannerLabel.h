#pragma once
#include <QLabel>
#include <QPixmap>

namespace zel {

// A banner picture that shrinks with the room it gets, keeping its shape.
// Without a picture it shows its text like any label.
class BannerLabel : public QLabel {
    Q_OBJECT
public:
    explicit BannerLabel(QWidget* parent = nullptr);
    void SetPicture(const QPixmap& picture);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

} // namespace zel
