#include "client/base/UiFont.h"

#include <QApplication>
#include <QFontDatabase>

namespace zel {

QFont UiFont(int pointSize)
{
    static const bool haveNanum = QFontDatabase::families().contains("NanumGothic");
    QFont font = haveNanum ? QFont("NanumGothic") : QApplication::font();
    font.setPointSize(pointSize);
    return font;
}

} // namespace zel
