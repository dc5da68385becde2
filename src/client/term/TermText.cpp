#include "client/term/TermText.h"

#include <QFontDatabase>
#include <QStringList>

#include "core/base/Cp949.h"

namespace zel {

QString FromCp949(const std::string& cp949) { return QString::fromStdString(Cp949ToUtf8(cp949)); }

std::string ToCp949(const QString& text) { return Utf8ToCp949(text.toStdString()); }

QString TermFontFamily()
{
    const QStringList families = QFontDatabase::families();
    for (const char* name : {"굴림체", "NanumGothicCoding", "NanumGothic", "Unifont"})
        if (families.contains(QString::fromUtf8(name)))
            return QString::fromUtf8(name);
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

} // namespace zel
