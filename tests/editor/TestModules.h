#pragma once

#include "model/ModuleModel.h"

// The six counts of a module record, in the order the overview lists them.
struct ModuleCounts {
    int srcBits = 0;
    int srcRegs = 0;
    int src2Regs = 0;
    int src4 = 0;
    int dstBits = 0;
    int dstRegs = 0;
};

// A present module of `kind` with the given counts.
inline ModuleRecord moduleOf(int kind, ModuleCounts counts)
{
    ModuleRecord module;
    module.present = 1;
    module.iModulKennNr = kind;
    module.srcBitCount = counts.srcBits;
    module.srcRegCount = counts.srcRegs;
    module.src2RegCount = counts.src2Regs;
    module.src4Count = counts.src4;
    module.dstBitCount = counts.dstBits;
    module.dstRegCount = counts.dstRegs;
    return module;
}
