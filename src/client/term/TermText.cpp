#include "client/term/TermText.h"

#include <QFontDatabase>
#include <QStringList>

namespace zel {

QString TermFontFamily()
{
    const QStringList families = QFontDatabase::families();
    for (const char* name : {"굴림체", "NanumGothicCoding", "NanumGothic", "Unifont"})
        if (families.contains(QString::fromUtf8(name)))
            return QString::fromUtf8(name);
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

} // namespace zel
