// System settings and metrics (work area, menu fonts, frame sizes, ...),
// replaceable in tests.
#pragma once

#include "classlib/core/service.h"
#include "classlib/core/win32.h"

#include <shellapi.h>

class TSystemSettings {
public:
    virtual ~TSystemSettings() = default;
    // GetSystemMetrics.
    virtual int Metric(int Index) = 0;
    // SystemParametersInfoA; true on success.
    virtual bool ParametersInfo(UINT Action, UINT Param, void* Data, UINT WinIni) = 0;
    // SHAppBarMessage (the taskbar's edge and auto-hide state).
    virtual UINT_PTR AppBarMessage(DWORD Message, APPBARDATA* Data);

    static TSystemSettings& Default();
};

inline TSystemSettings& SystemSettings() {
    return TServiceSlot<TSystemSettings>::Current();
}
