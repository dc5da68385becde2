#pragma once
#include <QPlainTextEdit>

#include "client/app/LobbyTerminal.h"

namespace zel {

// A read-only text view with the fixed-width Korean font, standing in for
// the server terminal.
class PlainTerminal : public QPlainTextEdit, public LobbyTerminal {
    Q_OBJECT
public:
    explicit PlainTerminal(QWidget* parent = nullptr);
    QWidget* Widget() override { return this; }
    void PrintLine(const std::string& cp949) override;

    static constexpr int kMaxLines = 2000;
};

} // namespace zel
