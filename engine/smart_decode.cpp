#include "engine/smart_decode.h"

#include <utility>

#include "classlib/core/text.h"
#include "engine/smart_tables.h"

std::string SwapIdentifyString(const char* bytes, size_t count) {
    std::string text(bytes, count);
    for (size_t i = 0; i + 1 < count; i += 2) std::swap(text[i], text[i + 1]);
    return Trim(text);
}

int64_t RawValue(const uint8_t (&raw)[6]) {
    int64_t value = 0;
    for (int i = 5; i >= 0; --i) value = (value << 8) | raw[i];
    return value;
}

TAttributeState AttributeState(bool preFail, int id, int current, int worst, int threshold, int64_t raw,
                               int baseline) {
    if (!preFail || threshold == 0) return TAttributeState::AlwaysPasses;
    // A value equal to its threshold is not yet failing.
    if (threshold > current) return TAttributeState::FailingNow;
    if (threshold > worst) return TAttributeState::FailedInPast;
    if (current < threshold + (baseline - threshold) / 2 || (id == 5 && raw > 500))
        return TAttributeState::Warning;
    return TAttributeState::OK;
}

void DecodeIdentity(const TIdentifyData& identify, int device, TSmartResult& result) {
    result.DriveIndex = device;
    result.Size = int64_t{identify.TotalSectors} * 512;
    result.SerialNumber = SwapIdentifyString(identify.SerialNumber, sizeof identify.SerialNumber);
    result.FirmwareRev = SwapIdentifyString(identify.FirmwareRev, sizeof identify.FirmwareRev);
    result.ModelNumber = SwapIdentifyString(identify.ModelNumber, sizeof identify.ModelNumber);
    result.IdentifyWord47 = identify.Word47;
}

void DecodeSmartTables(const TSmartAttributeTable& attributes, const TSmartThresholdTable& thresholds,
                       TSmartResult& result) {
    int baseline = NormalBaseline;
    int slot = 0;
    for (int entry = 0; entry < SmartTableEntries; ++entry) {
        const TSmartAttribute& attribute = attributes.Entries[entry];
        if (attribute.ID == 0) continue;
        const int id = attribute.ID;
        const uint16_t flags = attribute.Flags;
        const int64_t raw = RawValue(attribute.Raw);
        const int threshold = thresholds.Entries[entry].Threshold;

        result.AttrID[slot] = id;
        result.AttrName[slot] = AttributeName(id);
        result.AttrPreFail[slot] = flags & 0x0001;
        result.AttrFlagBit4[slot] = flags & 0x0010;
        result.AttrFlagBit3[slot] = flags & 0x0008;
        result.AttrCurrent[slot] = attribute.Current;
        result.AttrWorst[slot] = attribute.Worst;
        result.AttrThreshold[slot] = threshold;
        result.AttrRaw[slot] = raw;

        if (raw > 0 && raw < RawValueCeiling) {
            if (id == 5) result.ReallocatedSectors = static_cast<int>(raw);
            if (id == 9) result.HoursRunning = static_cast<int>(raw) + 1;
            if (id == 12) result.PowerCycles = static_cast<int>(raw);
        }
        if ((id == 3 || id == 4) && attribute.Current > 230) baseline = RaisedBaseline;

        const TAttributeState state =
            AttributeState(flags & 0x0001, id, attribute.Current, attribute.Worst, threshold, raw, baseline);
        result.AttrStatus[slot] = AttributeStateWord(state);
        if (state == TAttributeState::FailingNow || state == TAttributeState::FailedInPast)
            ++result.FailCount;
        if (state == TAttributeState::Warning) ++result.WarnCount;

        if (id == 194) {
            result.Temperature = attribute.Raw[0];
            result.TempByte2 = attribute.Raw[2];
            result.TempByte4 = attribute.Raw[0] == attribute.Current ? attribute.Worst : attribute.Raw[4];
        }
        ++slot;
    }
    result.AttrCount = slot;
}
