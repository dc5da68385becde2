#pragma once
#include <QColor>
#include <QFont>
#include <QWidget>
#include <cstdint>

#include "core/game/ElmGoInfo.h"

class QTimer;

namespace zel {

class Clock;

// Draws the game information panel: the clock strip with both clock faces
// and their remaining-time texts, then one row per shown line (label on the
// left, value on the right). It owns the panel's model and runs the model's
// 500 ms tick from a window timer with the time of `clock`. It listens to
// the shown model's OnChanged, so height and timer follow every change.
class TElmGoInfoPanel : public QWidget {
    Q_OBJECT
public:
    // `clock` (milliseconds since midnight) outlives the panel.
    explicit TElmGoInfoPanel(const Clock& clock, QWidget* parent = nullptr);
    ~TElmGoInfoPanel() override;

    // The model shown: the panel's own, or one the game session keeps
    // (null goes back to the own one). The other model must outlive the panel
    // or be detached first; the panel takes its OnChanged while shown.
    TElmGoInfo& Model() { return *shown_; }
    const TElmGoInfo& Model() const { return *shown_; }
    void ShowModel(TElmGoInfo* model);

    // Colours as colour values in blue-green-red order.
    void SetColours(int blackFace, int blackHands, int whiteHands, int whiteFace);
    void SetFonts(const QString& family, int size, bool bold);
    // Repaints and adjusts height and timer; the model's setters call it.
    void Refresh();
    // Starts or stops the 500 ms timer as the model's running state asks.
    void SyncTimer();

    int LineHeight() const;
    int StripHeight() const { return Model().TmEnabled() ? 34 : 0; }
    QSize sizeHint() const override;

    // Clock face of one side into `r`: face disc, centre dot, and either the
    // byo-yomi sector of the running period or the minute and second hands.
    static void PaintClockFace(QPainter& p, const QRect& r, const QColor& face, const QColor& hands, int used,
                               bool sector);
    // Row label i, 1..9.
    static QString RowLabel(int row);
    QString RowText(int row) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Tick();
    void Listen(TElmGoInfo& model);

    const Clock& clock_;
    TElmGoInfo own_;
    TElmGoInfo* shown_ = &own_;
    QTimer* timer_;
    QFont font_;
    QColor blackFace_{0, 0, 0};
    QColor blackHands_{0xFF, 0xFF, 0};
    QColor whiteHands_{0, 0, 0xFF};
    QColor whiteFace_{0xFF, 0xFF, 0xFF};
};

// A colour value in blue-green-red order as a QColor.
QColor BgrColour(int value);

} // namespace zel
