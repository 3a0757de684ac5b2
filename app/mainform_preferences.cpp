// The main window's Preference page (loading, colours, saving, the mail
// dialog and the log viewer) and the tray icons' Apply.
#include "app/mainform.h"
#include "app/page_rules.h"
#include "app/settings.h"
#include "app/smtpform.h"
#include "classlib/stdctrls/combobox.h"
#include "classlib/stdctrls/dialogs_common.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/label.h"
#include "classlib/stdctrls/spinedit.h"
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/windows/timer.h"
#include "notify/notifytrayicon.h"
#include "notify/texttrayicon.h"
#include "notify/zklogfile.h"

namespace {

// Checked for 1, unchecked for any other stored value, left as it is when
// the value is missing.
void LoadBox(TCheckBox* Box, TRegistry* Settings, const std::string& Name) {
    if (const auto stored = ReadStoredInteger(Settings, Name)) Box->SetChecked(*stored == 1);
}

}  // namespace

void TMainForm::ReadOption() {
    auto settings = OpenSettings(true);
    LoadBox(chkSWS, settings.get(), "MessageWhenStart");
    LoadBox(chkLog, settings.get(), "Log");
    // Both show what is in force, so that OK on an untouched page keeps it.
    chkRWS->SetChecked(ReadWWS());
    chkAutoRun->SetChecked(ReadIntegerOr(settings.get(), "AutoRun", 0) != 0);

    TStrings* drives = cbDriveColor->Items();
    drives->Clear();
    TListItems* rows = lvDrvList->Items();
    for (int row = 0; row < rows->Count(); ++row) drives->Add(rows->Item(row)->Caption());
    if (drives->Count() > 0) {
        cbDriveColor->SetItemIndex(0);
        cbDriveColorSelect(cbDriveColor);
    }

    lblMailAddress->SetCaption(ReadStringOr(settings.get(), "ToMail", "None mail"));
    seTime->SetValue(PollIntervalFromStore(ReadIntegerOr(settings.get(), "RTimer", 0)) / 60000);
}

void TMainForm::cbDriveColorSelect(TObject*) {
    const int item = cbDriveColor->ItemIndex();
    if (item < 0 || item >= MaxDrives) return;
    const std::optional<TColor> chosen = DriveColors[static_cast<size_t>(item)];
    edt2->SetColor(chosen ? *chosen
                          : static_cast<TColor>(ReadTrayColor(cbDriveColor->Items()->Strings(item))));
}

void TMainForm::btnColorClick(TObject*) {
    const int item = cbDriveColor->ItemIndex();
    if (item >= 0) dlgColorDrive->SetColor(edt2->Color());
    if (!dlgColorDrive->Execute()) return;
    edt2->SetColor(dlgColorDrive->Color());
    if (item >= 0 && item < MaxDrives) DriveColors[static_cast<size_t>(item)] = dlgColorDrive->Color();
}

void TMainForm::btnOptionClick(TObject*) {
    auto settings = OpenSettings(true);
    if (!settings) return;
    settings->WriteInteger("MessageWhenStart", chkSWS->Checked() ? 1 : 0);
    RunWWS(chkRWS->Checked());
    settings->WriteInteger("Log", chkLog->Checked() ? 1 : 0);
    settings->WriteInteger("AutoRun", chkAutoRun->Checked() ? 1 : 0);

    TStrings* drives = cbDriveColor->Items();
    for (int item = 0; item < drives->Count() && item < MaxDrives; ++item)
        if (const std::optional<TColor> color = DriveColors[static_cast<size_t>(item)])
            settings->WriteInteger(drives->Strings(item), static_cast<int>(*color));

    const int interval = PollIntervalOfMinutes(seTime->Value());
    settings->WriteInteger("RTimer", interval);
    // The poll follows the saved time at once: a time starts it, 0 stops it.
    if (interval != 0) tmr2->SetInterval(static_cast<unsigned>(interval));
    tmr2->SetEnabled(interval != 0);
}

void TMainForm::btnMailClick(TObject*) {
    Smtp->ShowModal();
}

void TMainForm::btnViewLogClick(TObject*) {
    LogThis->ShowLog("Vexmora");
}

// ---- Tray icons

TTextTrayIcon* TMainForm::MakeTrayIcon(int Row) {
    TListItem* item = lvDrvList->Items()->Item(Row);
    TTextTrayIcon* icon = Create<TTextTrayIcon>(TextTrayIcon1);
    icon->SetColor(static_cast<TColor>(ReadTrayColor(item->Caption())));
    icon->SetPopupMenu(pm1);
    icon->OnDblClick = TNotifyEvent(this, &TMainForm::TextTrayIcon2DblClick);
    icon->SetText(RowTemperature(item));
    icon->SetHint(item->Caption());
    return icon;
}

void TMainForm::ShowSystemTrayItems0Click(TObject*) {
    const bool refreshing = tmr1->Enabled();
    tmr1->SetEnabled(false);
    auto settings = OpenSettings(true);
    TListItems* rows = lvDrvList->Items();
    // The first row whose icon comes or goes now: the icons after it come
    // again behind it, so that they stand in row order, each drawn anew in
    // its place (the tray may leave blank the place that an icon moved to).
    int firstChanged = -1;
    for (int row = 0; row < rows->Count() && row < MaxDrives; ++row) {
        TListItem* item = rows->Item(row);
        TTextTrayIcon*& icon = TrayIcons[static_cast<size_t>(row)];
        const int number = RowDrive(row);
        if (number < 0) continue;
        bool& watched = watched_[static_cast<size_t>(number)];
        // The tick is what counts, not the icon: a drive listed meanwhile
        // may have taken the icons after its row away for a moment.
        if (item->Checked()) {
            OpenDriveSettings(item->Caption(), true);
            if (!watched) {
                watched = true;
                // Ticked again: its actions from now on, not from the next
                // start; stored ones stay.
                MarkUnwatched(settings.get(), item->Caption(), false);
                defaultsPending_[static_cast<size_t>(number)] =
                    !CreateReg(item->Caption(), LastReading(number));
            }
            if (!icon) icon = MakeTrayIcon(row);
            if (!icon->IconVisible() && firstChanged < 0) firstChanged = row;
        } else if (watched) {
            watched = false;
            defaultsPending_[static_cast<size_t>(number)] = false;
            if (settings) {
                settings->DeleteKey(item->Caption());
                // Remembered, or the next start's defaults would bring it back.
                MarkUnwatched(settings.get(), item->Caption(), true);
            }
            if (icon && icon->IconVisible()) {
                icon->SetIconVisible(false);
                if (firstChanged < 0) firstChanged = row;
            }
        }
    }
    if (firstChanged >= 0) {
        HideTrayIconsAfter(firstChanged);
        ShowWatchedTrayIcons();
    }
    tmr1->SetEnabled(refreshing);
}

void TMainForm::TextTrayIcon2DblClick(TObject*) {
    NotifyTrayIcon1->ShowMainForm();
}
