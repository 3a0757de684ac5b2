#include "notify/trayshell.h"

#include <shellapi.h>

namespace {
class TRealTrayShell : public TTrayShell {
public:
    bool NotifyIcon(DWORD Message, TTrayIconData& Data) override {
        return Shell_NotifyIconA(Message, reinterpret_cast<NOTIFYICONDATAA*>(&Data)) != FALSE;
    }
};
}  // namespace

TTrayShell& TTrayShell::Default() {
    static TRealTrayShell shell;
    return shell;
}
