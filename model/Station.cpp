#include "model/Station.h"

void Station::ResetModel()
{
    ClearModules();
    AnzBefehle = 0;
}
