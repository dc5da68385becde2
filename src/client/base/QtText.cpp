#include "client/base/QtText.h"

#include "core/base/Cp949.h"

namespace zel {

QString ToQ(const std::string& cp949)
{
    return QString::fromStdString(Cp949ToUtf8(cp949));
}

std::string FromQ(const QString& text)
{
    return Utf8ToCp949(text.toStdString());
}

} // namespace zel
