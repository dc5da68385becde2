#pragma once
#include <QLabel>
#include <QPixmap>

class QMovie;

namespace zel {

// A banner picture that shrinks with the room it gets, keeping its shape.
// An animated picture plays on the event loop's timers. Without a picture it
// shows its text like any label. A press on it is reported as Clicked.
class BannerLabel : public QLabel {
    Q_OBJECT
public:
    explicit BannerLabel(QWidget* parent = nullptr);
    void SetPicture(const QPixmap& picture);
    // Loads a picture file, animated when it has more than one frame; false
    // (and nothing changed) when the file is not a readable picture.
    bool LoadPicture(const QString& path);
    bool Animated() const { return movie_ != nullptr; }
    QSize sizeHint() const override;

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void StopMovie();
    QPixmap picture_;
    QMovie* movie_ = nullptr;
};

} // namespace zel
