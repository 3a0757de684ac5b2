// `TSmartResult`, the one record in which the engine hands a drive's identity
// and S.M.A.R.T. state to the application, and the five attribute state
// words with the test for a state that leaves a drive fine.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr int SmartResultSlots = 32;  // at most 30 are ever filled

struct TSmartResult {
    int DriveIndex = -1;  // ATA device 0-3 inside the opened device, not the physical drive number
    int64_t Size = 0;
    std::string SerialNumber;
    std::string FirmwareRev;
    std::string ModelNumber;
    int IdentifyWord47 = 0;
    int Temperature = 0;
    int TempByte4 = 0;
    int TempByte2 = 0;
    int HoursRunning = 0;
    int ReallocatedSectors = 0;
    int PowerCycles = 0;
    int FailCount = 0;
    int WarnCount = 0;
    int AttrCount = 0;
    std::array<int, SmartResultSlots> AttrID{};
    std::array<std::string, SmartResultSlots> AttrName;
    std::array<bool, SmartResultSlots> AttrPreFail{};
    std::array<bool, SmartResultSlots> AttrFlagBit4{};
    std::array<bool, SmartResultSlots> AttrFlagBit3{};
    std::array<int, SmartResultSlots> AttrCurrent{};
    std::array<int, SmartResultSlots> AttrWorst{};
    std::array<int, SmartResultSlots> AttrThreshold{};
    std::array<int64_t, SmartResultSlots> AttrRaw{};
    std::array<std::string, SmartResultSlots> AttrStatus;

    bool operator==(const TSmartResult&) const = default;
};

enum class TAttributeState { OK, AlwaysPasses, FailingNow, FailedInPast, Warning };

// "OK", "Always passes", "Failing Now", "Failed In Past", "Warning".
const char* AttributeStateWord(TAttributeState state);
// A drive stays fine while each filled slot's state word is "OK" or "Always passes".
bool IsFineState(const std::string& stateWord);
