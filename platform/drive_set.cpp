#include "platform/drive_set.h"

#include <algorithm>
#include <cstring>

namespace {

// Blank-padded, each pair of characters stored the other way round.
void PutAtaString(char* field, size_t size, const std::string& text) {
    std::memset(field, ' ', size);
    std::memcpy(field, text.data(), std::min(size, text.size()));
    for (size_t i = 0; i + 1 < size; i += 2) std::swap(field[i], field[i + 1]);
}

}  // namespace

const TSimFailure* TSimDrive::FailureFor(TSimCommand command, int device) const {
    const TSimFailure& failure = Failures[static_cast<size_t>(command)];
    if (!failure.Active) return nullptr;
    if (failure.Device >= 0 && failure.Device != device) return nullptr;
    return &failure;
}

TIdentifyData TSimDrive::IdentifyData() const {
    TIdentifyData data{};
    PutAtaString(data.SerialNumber, sizeof data.SerialNumber, SerialNumber);
    PutAtaString(data.FirmwareRev, sizeof data.FirmwareRev, FirmwareRev);
    PutAtaString(data.ModelNumber, sizeof data.ModelNumber, ModelNumber);
    data.Word47 = Word47;
    data.TotalSectors = TotalSectors;
    return data;
}

const TSimDrive* TDriveSet::Drive(int number) const {
    auto found = Drives.find(number);
    return found == Drives.end() ? nullptr : &found->second;
}
