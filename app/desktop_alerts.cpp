#include "app/desktop_alerts.h"

#include "notify/zkdesktopalert.h"

namespace {

// An alert at the stack's corner, closable only, that frees itself once it
// closed and stays ten minutes at most.
class TZkAlerts : public TDesktopAlerts {
public:
    void Show(TComponent* Owner, TPicture* Image, const std::string& MessageText,
              const std::string& HeaderText) override {
        auto* alert = Create<TZkDesktopAlert>(Owner);
        if (Image) alert->SetImage(Image);
        alert->SetAutoFree(true);
        alert->SetOptions({});
        alert->Location()->SetAlwaysResetPosition(false);
        alert->StyleOptions()->SetDisplayDuration(600000);
        alert->SetOptions({daoCanClose});
        alert->SetHeaderText(HeaderText);
        alert->SetMessageText(MessageText);
        alert->Execute();
    }
};

}  // namespace

TDesktopAlerts& TDesktopAlerts::Default() {
    static TZkAlerts alerts;
    return alerts;
}
