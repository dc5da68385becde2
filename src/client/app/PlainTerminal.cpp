#include "client/app/PlainTerminal.h"

#include <QFont>
#include <QScrollBar>

#include "client/base/QtText.h"

namespace zel {

PlainTerminal::PlainTerminal(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setMaximumBlockCount(kMaxLines);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont font("NanumGothicCoding");
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(10);
    setFont(font);
    setFrameShape(QFrame::NoFrame);
}

void PlainTerminal::PrintLine(const std::string& cp949)
{
    appendPlainText(ToQ(cp949));
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

} // namespace zel
