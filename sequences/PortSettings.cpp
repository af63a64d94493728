#include "sequences/PortSettings.h"

int32_t ComPortNr = 1;
int32_t ComBaud = 0;
char ComParity = '\0';
