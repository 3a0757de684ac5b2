#include "app/program_units.h"

#include "foundation/zcsupportunits.h"

namespace {

struct TProgramUnit {
    void (*Start)();
    void (*Stop)();
};

const TProgramUnit kUnits[] = {
    {StartSupportUnits, StopSupportUnits},  // version registry, character tables, system facts
};
constexpr int kUnitCount = static_cast<int>(sizeof kUnits / sizeof kUnits[0]);

}  // namespace

TProgramUnits::TProgramUnits() {
    try {
        for (; started_ < kUnitCount; ++started_) kUnits[started_].Start();
    } catch (...) {
        // No destructor runs for a constructor that throws.
        while (started_ > 0) kUnits[--started_].Stop();
        throw;
    }
}

TProgramUnits::~TProgramUnits() {
    while (started_ > 0) kUnits[--started_].Stop();
}
