#include "classlib/stdctrls/dialogs_common.h"

#include <commdlg.h>

#include <vector>

#include "classlib/core/laterlibrary.h"
#include "classlib/core/text.h"
#include "classlib/windows/application.h"

// --- TCommonDialog

HWND TCommonDialog::OwnerWindow() const {
    if (HWND active = GetActiveWindow()) return active;
    return Application ? Application->Handle() : nullptr;
}

void TCommonDialog::DoShow() {
    if (Assigned(OnShow)) OnShow(this);
}

void TCommonDialog::DoClose() {
    if (Assigned(OnClose)) OnClose(this);
}

// --- TColorDialog

namespace {

class TSystemColorChooser : public TColorChooser {
public:
    bool Choose(CHOOSECOLORW& Record) override {
        static const auto choose = LaterFunction<decltype(&ChooseColorW)>(L"comdlg32.dll", "ChooseColorW");
        return choose && choose(&Record) != FALSE;
    }
};

}  // namespace

TColorChooser& TColorChooser::Default() {
    static TSystemColorChooser chooser;
    return chooser;
}

TColorDialog::TColorDialog(TComponent* AOwner) : inherited(AOwner) {
    for (COLORREF& color : customColors_) color = RGB(255, 255, 255);
}

bool TColorDialog::Execute() {
    CHOOSECOLORW record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = OwnerWindow();
    record.rgbResult = ColorToRGB(color_);
    record.lpCustColors = customColors_;
    record.Flags = CC_RGBINIT;
    if (options_.Contains(cdFullOpen)) record.Flags |= CC_FULLOPEN;
    if (options_.Contains(cdPreventFullOpen)) record.Flags |= CC_PREVENTFULLOPEN;
    if (options_.Contains(cdShowHelp)) record.Flags |= CC_SHOWHELP;
    if (options_.Contains(cdSolidColor)) record.Flags |= CC_SOLIDCOLOR;
    if (options_.Contains(cdAnyColor)) record.Flags |= CC_ANYCOLOR;
    DoShow();
    const bool confirmed = TServiceSlot<TColorChooser>::Current().Choose(record);
    DoClose();
    if (confirmed) color_ = static_cast<TColor>(record.rgbResult);
    return confirmed;
}

// --- TOpenDialog and TSaveDialog

bool TOpenDialog::Execute() {
    // "A|*.a|B|*.b" becomes "A\0*.a\0B\0*.b\0\0".
    std::wstring filter = ToWide(filter_);
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    if (!filter.empty()) filter.append(2, L'\0');
    std::vector<wchar_t> file(MAX_PATH * 4, L'\0');
    const std::wstring initial = ToWide(fileName_);
    initial.copy(file.data(), file.size() - 1);
    const std::wstring defaultExt = ToWide(defaultExt_);
    const std::wstring initialDir = ToWide(initialDir_);
    const std::wstring title = ToWide(title_);

    OPENFILENAMEW record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = OwnerWindow();
    record.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    record.nFilterIndex = static_cast<DWORD>(filterIndex_);
    record.lpstrFile = file.data();
    record.nMaxFile = static_cast<DWORD>(file.size());
    record.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    record.lpstrTitle = title.empty() ? nullptr : title.c_str();
    record.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    record.Flags = OFN_EXPLORER;
    static constexpr std::pair<TOpenOption, DWORD> flags[] = {
        {ofReadOnly, OFN_READONLY},
        {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
        {ofHideReadOnly, OFN_HIDEREADONLY},
        {ofNoChangeDir, OFN_NOCHANGEDIR},
        {ofShowHelp, OFN_SHOWHELP},
        {ofNoValidate, OFN_NOVALIDATE},
        {ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
        {ofPathMustExist, OFN_PATHMUSTEXIST},
        {ofFileMustExist, OFN_FILEMUSTEXIST},
        {ofCreatePrompt, OFN_CREATEPROMPT},
        {ofShareAware, OFN_SHAREAWARE},
        {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
        {ofNoTestFileCreate, OFN_NOTESTFILECREATE},
        {ofNoNetworkButton, OFN_NONETWORKBUTTON},
        {ofNoLongNames, OFN_NOLONGNAMES},
        {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS},
        {ofEnableIncludeNotify, OFN_ENABLEINCLUDENOTIFY},
        {ofEnableSizing, OFN_ENABLESIZING},
        {ofDontAddToRecent, OFN_DONTADDTORECENT},
        {ofForceShowHidden, OFN_FORCESHOWHIDDEN},
    };
    for (const auto& [option, flag] : flags)
        if (options_.Contains(option)) record.Flags |= flag;

    DoShow();
    const bool confirmed = RunDialog(record);
    DoClose();
    if (!confirmed) return false;
    wideFileName_ = file.data();
    fileName_ = ToAnsi(wideFileName_);
    filterIndex_ = static_cast<int>(record.nFilterIndex);
    // The extension differs from the default one the dialog was given.
    if (!defaultExt.empty() && record.nFileExtension > 0) {
        const std::wstring ext = file.data() + record.nFileExtension;
        if (lstrcmpiW(ext.c_str(), defaultExt.c_str()) != 0)
            options_.Include(ofExtensionDifferent);
        else
            options_.Exclude(ofExtensionDifferent);
    }
    return true;
}

bool TOpenDialog::RunDialog(OPENFILENAMEW& Record) {
    static const auto run = LaterFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    return run && run(&Record) != FALSE;
}

bool TSaveDialog::RunDialog(OPENFILENAMEW& Record) {
    static const auto run = LaterFunction<decltype(&GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
    return run && run(&Record) != FALSE;
}
