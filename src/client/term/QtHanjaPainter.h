#pragma once
#include <QFont>

#include "core/term/HanjaPainter.h"

namespace zel {

// Draws Hanja with a Korean system font into the terminal's pixel buffer.
class TQtHanjaPainter : public THanjaPainter {
public:
    TQtHanjaPainter();
    void DrawHanja(TPixmap& target, int x, int y, std::string_view cp949, std::uint32_t colour) override;

private:
    QFont font_;
};

} // namespace zel
