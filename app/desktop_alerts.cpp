#include "app/desktop_alerts.h"

#include "notify/zkdesktopalert.h"

namespace {

// An alert of Owner with these texts whose window is still there. An
// auto-freeing alert lets go of its window as it closes, so a closed or
// expired one no longer counts.
bool Showing(TComponent* Owner, const std::string& MessageText, const std::string& HeaderText) {
    for (int i = 0; i < Owner->ComponentCount(); ++i) {
        auto* alert = dynamic_cast<TZkDesktopAlert*>(Owner->Components(i));
        if (alert && alert->Window() && alert->HeaderText() == HeaderText &&
            alert->MessageText() == MessageText)
            return true;
    }
    return false;
}

// An alert at the stack's corner, closable only, that frees itself once it
// closed and stays ten minutes at most. A trouble that is already on screen
// is not stacked again: the checks repeat every few seconds.
class TZkAlerts : public TDesktopAlerts {
public:
    void Show(TComponent* Owner, TPicture* Image, const std::string& MessageText,
              const std::string& HeaderText) override {
        if (Showing(Owner, MessageText, HeaderText)) return;
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
