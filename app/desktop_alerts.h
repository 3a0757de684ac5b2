// How the program raises a desktop alert: one replaceable service, so tests
// can record alerts instead of opening windows. The real one makes an
// auto-freeing alert owned by the given alert component, unless one with the
// same header and message is still on screen.
#pragma once

#include <string>

#include "classlib/core/service.h"

class TComponent;
class TPicture;

class TDesktopAlerts {
public:
    virtual ~TDesktopAlerts() = default;
    // On the GUI thread. Owner is the main window's alert component.
    virtual void Show(TComponent* Owner, TPicture* Image, const std::string& MessageText,
                      const std::string& HeaderText) = 0;

    static TDesktopAlerts& Default();
};

inline TDesktopAlerts& DesktopAlerts() {
    return TServiceSlot<TDesktopAlerts>::Current();
}
