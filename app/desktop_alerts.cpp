#include "app/desktop_alerts.h"

namespace {

// Stands in until the alert component is in the program.
class TNoDesktopAlerts : public TDesktopAlerts {
public:
    void Show(TComponent*, TPicture*, const std::string&, const std::string&) override {}
};

}  // namespace

TDesktopAlerts& TDesktopAlerts::Default() {
    static TNoDesktopAlerts alerts;
    return alerts;
}
