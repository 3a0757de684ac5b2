#include "engine/smart_tables.h"

#include "classlib/core/text.h"
#include "engine/smart_result.h"

const char* const DriverErrorTexts[11] = {
    "No error",
    "Error from IDE controller",
    "Invalid command flag",
    "Invalid command byte",
    "Bad buffer (null, invalid addr..)",
    "Drive number not valid",
    "Invalid IOCTL",
    "Could not lock user\"s buffer",
    "Some IDE Register not valid",
    "Invalid cmd flag set",
    "Cmd issued to device not present although drive number is valid",
};

const char* const SmartAttrNamesLow[14] = {
    "No Attribute Here",     "Raw Read Error Rate",      "Throughput Performance", "Spin Up Time",
    "Start/Stop Count",      "Reallocated Sector Count", "Read Channel Margin",    "Seek Error Rate",
    "Seek Time Performance", "Power On Count",           "Spin Retry Count",       "Calibration Retry Count",
    "Power Cycle Count",     "(Unknown attribute)",
};

const char* const SmartAttrNamesHigh[18] = {
    "Emergency Retract Cycle",
    "Load Cycle Count",
    "Temperature Celcius",
    "Hardware ECC",
    "Reallocation Event Count",
    "Current Pending Sector",
    "Off-line Uncorrectable",
    "Ultra ATA CRC Error Rate",
    "Multi Zone Error Rate",
    "Soft Read Error Rate",
    "TA Increase Count",
    "Run Out Cancel",
    "Shock Count Write Ops",
    "Shock Rate Write Ops",
    "Unknown Attribute",
    "Spin High Current",
    "Spin Buzz",
    "Offline Seek Perf",
};

std::string AttributeName(int id) {
    if (id >= 1 && id <= 12) return SmartAttrNamesLow[id];
    if (id >= 192 && id <= 209) return SmartAttrNamesHigh[id - 192];
    return "Unknown";
}

std::string DriverStatusText(int status) {
    if (status >= 0 && status <= 10) return DriverErrorTexts[status];
    return Format("Unknown driver status %d", status);
}

const char* AttributeStateWord(TAttributeState state) {
    switch (state) {
        case TAttributeState::OK:
            return "OK";
        case TAttributeState::AlwaysPasses:
            return "Always passes";
        case TAttributeState::FailingNow:
            return "Failing Now";
        case TAttributeState::FailedInPast:
            return "Failed In Past";
        case TAttributeState::Warning:
            return "Warning";
    }
    return "";
}

bool IsFineState(const std::string& stateWord) {
    return stateWord == "OK" || stateWord == "Always passes";
}
