// Decoding the pass-through replies into a TSmartResult: IDENTIFY strings and
// fields, and the attribute and threshold tables with the state of each
// attribute, its counters and the temperature bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/smart_result.h"
#include "platform/smart_wire.h"

// Values at or above it are not taken into the hour, sector and cycle counters.
constexpr int64_t RawValueCeiling = 0x7FFFFFFF;
// The baseline of the Warning rule, and the one a hot spin-up raises it to.
constexpr int NormalBaseline = 100;
constexpr int RaisedBaseline = 253;

// Swaps the bytes of every pair, then trims control characters and blanks
// from both ends.
std::string SwapIdentifyString(const char* bytes, size_t count);

// The six raw bytes as an unsigned little-endian number.
int64_t RawValue(const uint8_t (&raw)[6]);

// The state of one attribute; `baseline` is 100 or the raised 253.
TAttributeState AttributeState(bool preFail, int id, int current, int worst, int threshold, int64_t raw,
                               int baseline);

// Fills DriveIndex, Size, SerialNumber, FirmwareRev, ModelNumber, IdentifyWord47.
void DecodeIdentity(const TIdentifyData& identify, int device, TSmartResult& result);

// Fills the slots, counters and temperature from the two tables, pairing
// entries by position.
void DecodeSmartTables(const TSmartAttributeTable& attributes, const TSmartThresholdTable& thresholds,
                       TSmartResult& result);
