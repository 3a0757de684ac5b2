// The rules behind the main window's pages, apart from any window: the
// information labels and attribute rows of a drive, the looks of the list
// rows, the temperature threshold check and the poll time in the registry.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "classlib/graphics/colors.h"
#include "engine/smart_result.h"

// The eight texts of the information page: serial, firmware, model, power
// cycles, temperature, hours running, size ("465" gives "Size: 465GB") and
// maker.
std::array<std::string, 8> DriveInformationTexts(const TSmartResult& Smart, const std::string& SizeGB,
                                                 const std::string& Maker);

// One attribute row: name, then threshold, current, worst, raw (64-bit) and
// state.
struct TAttributeRow {
    std::string Name;
    std::vector<std::string> SubItems;
};
std::vector<TAttributeRow> AttributeRows(const TSmartResult& Smart);

// How a list row is drawn.
struct TRowLook {
    TColor Text;
    bool Bold;
    TColor Background;  // clNone: the list's own colour
};
// A drive row: green, red and bold unless its status is "OK".
TRowLook DriveRowLook(const std::string& Status);
// An attribute row: green, red and bold for a state that is not fine; even
// rows on light grey.
TRowLook AttributeRowLook(const std::string& State, int Row);

// A temperature threshold: digits only, fits an Integer, at least 21.
bool IsThresholdText(const std::string& Text);

// The poll time: the spin box's minutes are bounded so that the stored
// milliseconds fit an Integer; a stored value below 0 reads as 0 (off).
constexpr int MaxPollMinutes = 35791;
int PollIntervalOfMinutes(int Minutes);
int PollIntervalFromStore(int Stored);
