#pragma once
#include <QFrame>
#include <array>

class QToolButton;

namespace zel {

// The letter palette used while writing a commentary: 26 letters, one of
// them selected. Placing a letter on the board moves the selection on.
class TMarkerPalette : public QFrame {
    Q_OBJECT
public:
    explicit TMarkerPalette(QWidget* parent = nullptr);

    int SelectedMarker() const { return selected_; }
    void Select(int index);
    // The letter after the selected one (after "Z" comes "A").
    void Advance() { Select((selected_ + 1) % 26); }

private:
    std::array<QToolButton*, 26> buttons_{};
    int selected_ = 0;
};

} // namespace zel
