#include "core/mapping/registerentry.h"

namespace setforge {

int packByteSelector(int highPart, int lowPart)
{
    return highPart * 16 + lowPart;
}

void unpackByteSelector(int selector, int& highPart, int& lowPart)
{
    highPart = (selector >> 4) & 15;
    lowPart = selector & 15;
}

} // namespace setforge
