#include "core/app/DockZone.h"

namespace zel {

TDockRect DockZone(const TDockRect& client)
{
    if (client.Empty())
        return {};
    // Edges rounded inwards, so the zone never reaches past the fifths.
    const int left = (client.width + 4) / 5;
    const int top = (client.height + 4) / 5;
    const int right = client.width * 4 / 5;
    const int bottom = client.height * 4 / 5;
    if (right <= left || bottom <= top)
        return {};
    return {client.left + left, client.top + top, right - left, bottom - top};
}

bool InDockZone(const TDockRect& client, TDockPoint cursor)
{
    return DockZone(client).Contains(cursor);
}

} // namespace zel
