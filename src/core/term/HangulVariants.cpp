#include "core/term/HangulVariants.h"

#include <algorithm>
#include <initializer_list>

namespace zel {
namespace {

bool In(int v, std::initializer_list<int> set)
{
    return std::find(set.begin(), set.end(), v) != set.end();
}

} // namespace

int InitialVariant(int medial, bool hasFinal)
{
    if (hasFinal) {
        if ((medial >= 3 && medial <= 7) || (medial >= 10 && medial <= 12) || medial == 29)
            return 5;
        if (In(medial, {13, 19, 20, 26, 27}))
            return 6;
        if (In(medial, {14, 15, 18, 21, 22, 23, 28}))
            return 7;
        return 0;
    }
    if (In(medial, {13, 19, 27}))
        return 1;
    if (In(medial, {20, 26}))
        return 2;
    if (In(medial, {14, 15, 18, 28}))
        return 3;
    if (medial >= 21 && medial <= 23)
        return 4;
    return 0;
}

int MedialVariant(int initial, bool hasFinal)
{
    const bool bare = initial == 2 || initial == 17;
    if (hasFinal)
        return bare ? 2 : 3;
    return bare ? 0 : 1;
}

int FinalVariant(int medial)
{
    if (In(medial, {7, 11, 18, 21, 23, 28, 29}))
        return 1;
    if (In(medial, {4, 6, 10, 12, 15, 22}))
        return 2;
    if (In(medial, {13, 19, 20, 26, 27}))
        return 3;
    return 0;
}

} // namespace zel
