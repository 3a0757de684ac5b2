#include "skins/sbitem.h"

#include "classlib/core/filer.h"
#include "classlib/core/properties.h"
#include "classlib/windows/accelerators.h"
#include "skins/sbviewer.h"
#include "skins/wsfiler.h"

std::string WideToAnsiText(const std::wstring& Text) {
    if (Text.empty()) return {};
    // No best-fit look-alikes: a character the code page lacks must not turn
    // into a different letter.
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, Text.data(),
                                         static_cast<int>(Text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, Text.data(), static_cast<int>(Text.size()),
                        result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring AnsiToWideText(const std::string& Text) {
    if (Text.empty()) return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), result.data(), size);
    return result;
}

TSbCustomItem::TSbCustomItem(TComponent* AOwner)
    : inherited(AOwner), fontSettings_(MakeOwned<TSbFontSettings>()) {
    fontSettings_->OnChange = TNotifyEvent(this, &TSbCustomItem::FontSettingsChanged);
}

// An action or other framework code may have set the 8-bit text directly;
// the wide text stands only while it still converts to what is there.
std::wstring TSbCustomItem::Caption() const {
    if (WideToAnsiText(caption_) == AnsiCaption()) return caption_;
    return AnsiToWideText(AnsiCaption());
}

void TSbCustomItem::SetCaption(const std::wstring& Value) {
    if (caption_ == Value && WideToAnsiText(Value) == AnsiCaption()) return;
    caption_ = Value;
    const std::string ansi = WideToAnsiText(Value);
    if (ansi != AnsiCaption())
        inherited::SetCaption(ansi);
    else
        // Characters outside the code page: the 8-bit text stays the same,
        // but the wide one measures differently.
        Change(true);
}

std::wstring TSbCustomItem::Hint() const {
    if (WideToAnsiText(hint_) == AnsiHint()) return hint_;
    return AnsiToWideText(AnsiHint());
}

void TSbCustomItem::SetHint(const std::wstring& Value) {
    hint_ = Value;
    inherited::SetHint(WideToAnsiText(Value));
}

void TSbCustomItem::SetAlignment(TAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    Change(false);
}

void TSbCustomItem::SetCaptionGlow(TSbGlowDirection Value) {
    if (captionGlow_ == Value) return;
    captionGlow_ = Value;
    Change(false);
}

void TSbCustomItem::SetCaptionGlowColor(TColor Value) {
    if (captionGlowColor_ == Value) return;
    captionGlowColor_ = Value;
    Change(false);
}

void TSbCustomItem::SetWrapping(TTextWrapping Value) {
    if (wrapping_ == Value) return;
    wrapping_ = Value;
    Change(false);
}

void TSbCustomItem::SetSizeField(int& Field, int Value) {
    if (Field == Value) return;
    Field = Value;
    Change(true);
}

void TSbCustomItem::SetCustomWidth(int Value) {
    SetSizeField(customWidth_, Value);
}
void TSbCustomItem::SetCustomHeight(int Value) {
    SetSizeField(customHeight_, Value);
}
void TSbCustomItem::SetMargins(int Value) {
    SetSizeField(margins_, Value);
}
void TSbCustomItem::SetMinHeight(int Value) {
    SetSizeField(minHeight_, Value);
}
void TSbCustomItem::SetMinWidth(int Value) {
    SetSizeField(minWidth_, Value);
}

void TSbCustomItem::SetStretch(bool Value) {
    if (stretch_ == Value) return;
    stretch_ = Value;
    Change(true);
}

void TSbCustomItem::SetControl(TControl* Value) {
    if (control_ == Value) return;
    if (control_) control_->RemoveFreeNotification(this);
    control_ = Value;
    if (Value) Value->FreeNotification(this);
    UpdateProps();
}

void TSbCustomItem::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == control_) control_ = nullptr;
}

bool TSbCustomItem::DialogChar(char) {
    return false;
}

void TSbCustomItem::DoDrawHint(TBitmap* Bitmap, std::wstring& Hint, bool& PaintDefault) {
    if (OnDrawHint) OnDrawHint(this, Bitmap, Hint, PaintDefault);
}

void TSbCustomItem::DoDrawItem(TCanvas* Canvas, TRect ARect, const TSbItemDrawInfo& Info, TSbDrawStage Stage,
                               bool& PaintDefault) {
    if (OnDrawItem) OnDrawItem(this, Canvas, ARect, Info, Stage, PaintDefault);
}

void TSbCustomItem::DoDrawCaption(TCanvas* Canvas, TRect ARect, const TSbItemDrawInfo& Info,
                                  bool& PaintDefault) {
    if (OnDrawCaption) OnDrawCaption(this, Canvas, ARect, Info, sdsBefore, PaintDefault);
}

void TSbCustomItem::DoDrawImage(TCanvas* Canvas, TRect ARect, const TSbItemDrawInfo& Info,
                                bool& PaintDefault) {
    if (OnDrawImage) OnDrawImage(this, Canvas, ARect, Info, sdsBefore, PaintDefault);
}

void TSbCustomItem::DoPopupShowingChanged(TWinControl*, bool) {}

void TSbCustomItem::ToggleControl() {
    if (control_) control_->SetVisible(!control_->Visible());
}

void TSbCustomItem::UpdateProps() {
    if (!control_) return;
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying) ||
        ComponentState().Contains(csDesigning))
        return;
    SetChecked(control_->Visible());
}

void TSbCustomItem::Click() {
    if (control_) ToggleControl();
    inherited::Click();
}

void TSbCustomItem::InitiateAction() {
    inherited::InitiateAction();
    UpdateProps();
}

std::wstring TSbCustomItem::CaptionText() const {
    const std::wstring caption = Caption();
    return caption.substr(0, caption.find(L'\t'));
}

std::wstring TSbCustomItem::ShortCutText() const {
    const std::wstring caption = Caption();
    const size_t tab = caption.find(L'\t');
    if (tab != std::wstring::npos) return caption.substr(tab + 1);
    return ShortCut() ? AnsiToWideText(ShortCutToText(ShortCut())) : std::wstring();
}

void TSbCustomItem::ActionChange(TObject* Sender, bool CheckDefaults) {
    if (auto* action = dynamic_cast<TCustomAction*>(Sender)) {
        if (!CheckDefaults || Caption().empty()) SetCaption(AnsiToWideText(action->Caption()));
        if (!CheckDefaults || Hint().empty()) SetHint(AnsiToWideText(action->Hint()));
    }
    inherited::ActionChange(Sender, CheckDefaults);
}

void TSbCustomItem::ReadLegacyCaption(TReader* Reader) {
    if (Reader->NextValue() == vaWString || Reader->NextValue() == vaUTF8String)
        SetCaption(Reader->ReadWideString());
    else
        SetCaption(AnsiToWideText(Reader->ReadString()));
}

void TSbCustomItem::ReadLegacyHint(TReader* Reader) {
    if (Reader->NextValue() == vaWString || Reader->NextValue() == vaUTF8String)
        SetHint(Reader->ReadWideString());
    else
        SetHint(AnsiToWideText(Reader->ReadString()));
}

void TSbCustomItem::DefineProperties(TFiler* Filer) {
    inherited::DefineProperties(Filer);
    // Written by older versions; read, never written. They come before the
    // wide layer's readers, which would drop the same two names: the first
    // definition of a name is the one that reads it.
    Filer->DefineProperty("CaptionW", TReaderProc(this, &TSbCustomItem::ReadLegacyCaption), nullptr, false);
    Filer->DefineProperty("HintW", TReaderProc(this, &TSbCustomItem::ReadLegacyHint), nullptr, false);
    DefineWideProperties(Filer, this);
}

TBarItemViewer* TSbCustomItem::CreateItemViewer(TBarView* View, int GroupLevel) {
    return Create<TSbItemViewer>(View, this, GroupLevel);
}

void TSbCustomItem::PublishProperties() {
    TPublish<TSbCustomItem>()
        .Property("Caption", &TSbCustomItem::Caption, &TSbCustomItem::SetCaption)
        .Property("Hint", &TSbCustomItem::Hint, &TSbCustomItem::SetHint)
        .Property("Alignment", &TSbCustomItem::Alignment, &TSbCustomItem::SetAlignment,
                  {"taLeftJustify", "taRightJustify", "taCenter"})
        .Default(taCenter)
        .Property("Anchored", &TSbCustomItem::Anchored, &TSbCustomItem::SetAnchored)
        .Default(0)
        .Property("CaptionGlow", &TSbCustomItem::CaptionGlow, &TSbCustomItem::SetCaptionGlow,
                  {"gldNone", "gldAll", "gldTopLeft", "gldBottomRight"})
        .Default(gldNone)
        .Property("CaptionGlowColor", &TSbCustomItem::CaptionGlowColor, &TSbCustomItem::SetCaptionGlowColor)
        .Default(clYellow)
        .Property("CustomWidth", &TSbCustomItem::CustomWidth, &TSbCustomItem::SetCustomWidth)
        .Default(-1)
        .Property("CustomHeight", &TSbCustomItem::CustomHeight, &TSbCustomItem::SetCustomHeight)
        .Default(-1)
        .Property("Margins", &TSbCustomItem::Margins, &TSbCustomItem::SetMargins)
        .Default(0)
        .Property("MinHeight", &TSbCustomItem::MinHeight, &TSbCustomItem::SetMinHeight)
        .Default(0)
        .Property("MinWidth", &TSbCustomItem::MinWidth, &TSbCustomItem::SetMinWidth)
        .Default(0)
        .Property("Wrapping", &TSbCustomItem::Wrapping, &TSbCustomItem::SetWrapping,
                  {"twNone", "twEndEllipsis", "twPathEllipsis", "twWrap"})
        .Default(twWrap);
}

// ---- kinds --------------------------------------------------------------------------

TSbSubmenuItem::TSbSubmenuItem(TComponent* AOwner) : inherited(AOwner) {
    SetItemStyle(ItemStyle() | isfSubmenu);
}

void TSbSubmenuItem::SetDropdownCombo(bool Value) {
    if (DropdownCombo() == Value) return;
    SetItemStyle(Value ? ItemStyle() | isfCombo : ItemStyle() & ~isfCombo);
    Change(true);
}

void TSbSubmenuItem::SetToolBoxPopup(bool Value) {
    TBarItemOptions options = Options();
    if (Value)
        options.Include(tboToolbarStyle);
    else
        options.Exclude(tboToolbarStyle);
    SetOptions(options);
}

void TSbSubmenuItem::DoPopupShowingChanged(TWinControl*, bool IsVisible) {
    if (IsVisible) {
        if (OnInitPopup) OnInitPopup(this);
    } else if (OnClosePopup) {
        OnClosePopup(this);
    }
}

TSbCustomLabelItem::TSbCustomLabelItem(TComponent* AOwner) : inherited(AOwner) {
    SetItemStyle((ItemStyle() & ~(isfSelectable | isfRedrawOnSelChange | isfRedrawOnMouseOverChange)) |
                 isfClicksTransparent);
    SetAlignment(taLeftJustify);
    SetDisplayMode(nbdmImageAndText);
    SetStretch(false);
}

bool TSbCustomLabelItem::DialogChar(char Key) {
    auto* target = dynamic_cast<TWinControl*>(Control());
    if (!target || !Enabled() || !Visible()) return false;
    if (!IsAccel(static_cast<unsigned char>(Key), Caption())) return false;
    if (!target->CanFocus()) return false;
    target->SetFocus();
    return true;
}

TBarItemViewer* TSbCustomLabelItem::CreateItemViewer(TBarView* View, int GroupLevel) {
    return Create<TSbLabelItemViewer>(View, this, GroupLevel);
}

TBarItemViewer* TSbSeparatorItem::CreateItemViewer(TBarView* View, int GroupLevel) {
    return Create<TSbSeparatorItemViewer>(View, this, GroupLevel);
}
