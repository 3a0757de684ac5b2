#include "app/page_rules.h"

#include <algorithm>
#include <climits>

namespace {

const TColor Green = static_cast<TColor>(0x008000);
const TColor Red = static_cast<TColor>(0x0000FF);
const TColor StripeGrey = static_cast<TColor>(0xE0E0E0);
constexpr int MinimumThreshold = 21;

}  // namespace

std::array<std::string, 8> DriveInformationTexts(const TSmartResult& Smart, const std::string& SizeGB,
                                                 const std::string& Maker) {
    return {"SerialNumber: " + Smart.SerialNumber,
            "FirmwareRev: " + Smart.FirmwareRev,
            "ModelNumber: " + Smart.ModelNumber,
            "PowerCycles: " + std::to_string(Smart.PowerCycles),
            "Temperature: " + std::to_string(Smart.Temperature),
            "HoursRunning: " + std::to_string(Smart.HoursRunning),
            "Size: " + SizeGB + "GB",
            "Manufacture: " + Maker};
}

std::vector<TAttributeRow> AttributeRows(const TSmartResult& Smart) {
    std::vector<TAttributeRow> rows;
    const int filled = std::clamp(Smart.AttrCount, 0, SmartResultSlots);
    for (size_t slot = 0; slot < static_cast<size_t>(filled); ++slot)
        rows.push_back({Smart.AttrName[slot],
                        {std::to_string(Smart.AttrThreshold[slot]), std::to_string(Smart.AttrCurrent[slot]),
                         std::to_string(Smart.AttrWorst[slot]), std::to_string(Smart.AttrRaw[slot]),
                         Smart.AttrStatus[slot]}});
    return rows;
}

TRowLook DriveRowLook(const std::string& Status) {
    if (Status != "OK") return {Red, true, clNone};
    return {Green, false, clNone};
}

TRowLook AttributeRowLook(const std::string& State, int Row) {
    const TColor background = Row % 2 == 0 ? StripeGrey : clNone;
    if (!IsFineState(State)) return {Red, true, background};
    return {Green, false, background};
}

bool IsThresholdText(const std::string& Text) {
    if (Text.empty() || Text.size() > 10) return false;
    if (!std::all_of(Text.begin(), Text.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
    const long long value = std::stoll(Text);
    return value <= INT_MAX && value >= MinimumThreshold;
}

int PollIntervalOfMinutes(int Minutes) {
    return std::clamp(Minutes, 0, MaxPollMinutes) * 60000;
}

int PollIntervalFromStore(int Stored) {
    return std::max(Stored, 0);
}
