#pragma once
#include <QString>
#include <string>

namespace zel {

// The client's one codec: CP949 bytes of the core to and from QString.
// Characters without a CP949 counterpart become '?'.
QString ToQ(const std::string& cp949);
std::string FromQ(const QString& text);

} // namespace zel
