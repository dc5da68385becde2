#include "client/base/QtBrowser.h"

#include <QDesktopServices>
#include <QUrl>

#include "client/base/QtText.h"

namespace zel {

void QtBrowser::Open(const std::string& url)
{
    QDesktopServices::openUrl(QUrl(ToQ(url)));
}

std::string WebAddress(const std::string& url)
{
    const QUrl parsed(ToQ(url));
    if (!parsed.isValid() || (parsed.scheme() != "http" && parsed.scheme() != "https") || parsed.host().isEmpty())
        return {};
    return url;
}

} // namespace zel
