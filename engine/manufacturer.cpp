#include "engine/manufacturer.h"

std::string GetManufacturer(const std::string& model) {
    // Tested in this order; the first prefix that matches wins.
    static constexpr struct {
        const char* Prefix;
        const char* Maker;
    } kMakers[] = {
        {"ST", "Seagate Technology"}, {"IC", "IBM"},         {"HDC", "HITACHI"},
        {"WD", "Western Digital "},   {"FUJITS", "FUJITSU"},
    };
    for (const auto& maker : kMakers)
        if (model.rfind(maker.Prefix, 0) == 0) return maker.Maker;
    return {};
}
