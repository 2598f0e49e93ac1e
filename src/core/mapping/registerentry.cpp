#include "core/mapping/registerentry.h"

int packByteSelector(int hiPart, int loPart)
{
    return hiPart * 16 + loPart;
}

void unpackByteSelector(int selector, int& hiPart, int& loPart)
{
    hiPart = (selector >> 4) & 15;
    loPart = selector & 15;
}
