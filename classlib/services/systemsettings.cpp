#include "classlib/services/systemsettings.h"

#include <shellapi.h>

namespace {

class TWin32Settings : public TSystemSettings {
public:
    int Metric(int Index) override { return GetSystemMetrics(Index); }
    bool ParametersInfo(UINT Action, UINT Param, void* Data, UINT WinIni) override {
        return SystemParametersInfoA(Action, Param, Data, WinIni);
    }
};

}  // namespace

TSystemSettings& TSystemSettings::Default() {
    static TWin32Settings settings;
    return settings;
}

UINT_PTR TSystemSettings::AppBarMessage(DWORD Message, APPBARDATA* Data) {
    return SHAppBarMessage(Message, Data);
}
