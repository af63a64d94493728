#include "editor/rules/LinkSelection.h"

void LinkSelection::clearSource()
{
    regQ = 0;
    bitQ = 0;
    anzBit = 0;
}

void LinkSelection::clearTarget()
{
    regZ = 0;
    bitZ = 0;
}
