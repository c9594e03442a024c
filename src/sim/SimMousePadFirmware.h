#pragma once

#include "sim/SimFirmware.h"

// The RGB mouse pad: lighting only. The program reads a profile block of 26
// bytes at p x 25 and writes 21 bytes at p x 64; bytes 4 and 9..20 are the
// pad's own and are only echoed by the program.
class SimMousePadFirmware : public SimFirmware {
public:
    SimMousePadFirmware(std::shared_ptr<SimMemory> memory, bool receiver);

    static std::shared_ptr<SimMemory> NewMemory();
    void ResetToFactory() override;

protected:
    static SimMemoryLayout PadLayout();
    // The factory profile memory, information block and power record.
    static void FillFactory(SimMemory& memory);
};
