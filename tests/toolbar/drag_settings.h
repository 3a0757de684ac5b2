// Settings that say whether windows are dragged whole (live) or as outlines,
// everything else as the system says; installed through the settings seam.
#pragma once

#include "classlib/services/systemsettings.h"

class DragSettings : public TSystemSettings {
public:
    explicit DragSettings(bool Full) : full_(Full) {}
    int Metric(int Index) override { return TSystemSettings::Default().Metric(Index); }
    bool ParametersInfo(UINT Action, UINT Param, void* Data, UINT WinIni) override {
        if (Action == SPI_GETDRAGFULLWINDOWS) {
            *static_cast<BOOL*>(Data) = full_;
            return true;
        }
        return TSystemSettings::Default().ParametersInfo(Action, Param, Data, WinIni);
    }

private:
    bool full_;
};
