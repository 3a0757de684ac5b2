// System settings and metrics (work area, menu fonts, frame sizes, ...),
// replaceable in tests.
#pragma once

#include "classlib/core/service.h"
#include "classlib/core/win32.h"

class TSystemSettings {
public:
    virtual ~TSystemSettings() = default;
    // GetSystemMetrics.
    virtual int Metric(int Index) = 0;
    // SystemParametersInfoA; true on success.
    virtual bool ParametersInfo(UINT Action, UINT Param, void* Data, UINT WinIni) = 0;

    static TSystemSettings& Default();
};

inline TSystemSettings& SystemSettings() {
    return TServiceSlot<TSystemSettings>::Current();
}
