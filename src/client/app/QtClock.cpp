#include "client/app/QtClock.h"

#include <QTime>

namespace zel {

std::int32_t QtClock::Now() const
{
    return QTime::currentTime().msecsSinceStartOfDay();
}

} // namespace zel
