// The system's common dialogs as components: `TColorDialog` (pick a colour)
// and `TSaveDialog` (pick a file to save to, with filters and a default
// extension). `Execute` shows the dialog modally and answers whether the
// user confirmed it. The colour dialog runs through a replaceable service,
// so a test can answer it.
#pragma once

#include <string>

#include "classlib/core/component.h"
#include "classlib/core/delegate.h"
#include "classlib/core/service.h"
#include "classlib/core/set.h"
#include "classlib/core/win32.h"
#include "classlib/graphics/colors.h"

#include <commdlg.h>

class TCommonDialog : public TComponent {
    VX_CLASS(TCommonDialog, TComponent)
public:
    explicit TCommonDialog(TComponent* AOwner) : inherited(AOwner) {}

    virtual bool Execute() = 0;

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    // The window the dialog belongs to: the active window of this thread,
    // else the application window.
    HWND OwnerWindow() const;
    virtual void DoShow();
    virtual void DoClose();
};

// Shows the system's colour dialog for a prepared record; true when the user
// confirmed it (the choice is then in rgbResult).
class TColorChooser {
public:
    virtual ~TColorChooser() = default;
    virtual bool Choose(CHOOSECOLORW& Record) = 0;
    static TColorChooser& Default();
};

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = TSet<TColorDialogOption>;

class TColorDialog : public TCommonDialog {
    VX_CLASS(TColorDialog, TCommonDialog)
public:
    explicit TColorDialog(TComponent* AOwner);

    // The colour shown first and, after a confirmed Execute, the one chosen.
    TColor Color() const { return color_; }
    void SetColor(TColor Value) { color_ = Value; }
    TColorDialogOptions Options() const { return options_; }
    void SetOptions(TColorDialogOptions Value) { options_ = Value; }

    bool Execute() override;

private:
    TColor color_ = clBlack;
    TColorDialogOptions options_;
    // The dialog's sixteen custom colours, kept from one Execute to the next.
    COLORREF customColors_[16];
};

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing,
    ofDontAddToRecent,
    ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TCommonDialog {
    VX_CLASS(TOpenDialog, TCommonDialog)
public:
    explicit TOpenDialog(TComponent* AOwner) : inherited(AOwner) {}

    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& Value) { fileName_ = Value; }
    // The name chosen, as the dialog gave it: unlike FileName it keeps
    // letters outside the code page. Empty until a dialog is confirmed.
    const std::wstring& WideFileName() const { return wideFileName_; }
    // Added to a file name typed without an extension ("csv", no dot).
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& Value) { defaultExt_ = Value; }
    // "Description|*.ext|Description|*.ext2;*.ext3".
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& Value) { filter_ = Value; }
    // 1 for the first filter.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int Value) { filterIndex_ = Value; }
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& Value) { initialDir_ = Value; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& Value) { title_ = Value; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions Value) { options_ = Value; }

    bool Execute() override;

protected:
    // Runs the system dialog on the prepared record.
    virtual bool RunDialog(OPENFILENAMEW& Record);

private:
    std::string fileName_;
    std::wstring wideFileName_;
    std::string defaultExt_;
    std::string filter_;
    int filterIndex_ = 1;
    std::string initialDir_;
    std::string title_;
    TOpenOptions options_{ofHideReadOnly, ofEnableSizing};
};

class TSaveDialog : public TOpenDialog {
    VX_CLASS(TSaveDialog, TOpenDialog)
public:
    explicit TSaveDialog(TComponent* AOwner) : inherited(AOwner) {}

protected:
    bool RunDialog(OPENFILENAMEW& Record) override;
};
