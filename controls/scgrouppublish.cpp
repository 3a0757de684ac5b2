// The published properties of the group bar, its groups, their items and
// the group controller, with their defaults for form streams; and the old
// properties that older form files still carry, read and dropped.
#include "classlib/core/filer.h"
#include "classlib/core/properties.h"
#include "classlib/stdctrls/menus.h"
#include "controls/scgroup.h"
#include "controls/scgroupbar.h"
#include "controls/scgroupcontroller.h"
#include "controls/scoldprops.h"
#include "controls/scpublishnames.h"

#define SC_GRADIENT_COLOR_STYLE_NAMES \
    { "gcsSystem", "gcsMSOffice", "gcsCustom" }
#define SC_FONT_STYLE_NAMES \
    { "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut" }

namespace {

// The looks a group and the controller share, with the same defaults.
template <class C>
void PublishSharedLooks() {
    TPublish<C>()
        .Property("BorderColor", &C::BorderColor, &C::SetBorderColor)
        .Default(clBtnHighlight)
        .Property("CaptionColorStart", &C::CaptionColorStart, &C::SetCaptionColorStart)
        .Default(clWindow)
        .Property("CaptionColorStop", &C::CaptionColorStop, &C::SetCaptionColorStop)
        .Default(clBtnFace)
        .Property("CaptionFont", &C::CaptionFont)
        .Property("CaptionHotColor", &C::CaptionHotColor, &C::SetCaptionHotColor)
        .Default(clHotLight)
        .Property("DividerColor", &C::DividerColor, &C::SetDividerColor)
        .Default(clHighlight)
        .Property("DividerVisible", &C::DividerVisible, &C::SetDividerVisible)
        .Default(0)
        .Property("ItemHeight", &C::ItemHeight, &C::SetItemHeight)
        .Default(20)
        .Property("ItemHotColor", &C::ItemHotColor, &C::SetItemHotColor)
        .Default(clHotLight)
        .Property("ItemIndent", &C::ItemIndent, &C::SetItemIndent)
        .Default(20)
        .Property("ItemStaticFont", &C::ItemStaticFont)
        .Property("SelectionColor", &C::SelectionColor, &C::SetSelectionColor)
        .Default(clBtnFace)
        .Property("SelectionShadowColor", &C::SelectionShadowColor, &C::SetSelectionShadowColor)
        .Default(clBtnShadow)
        .Property("SelectionFrameColor", &C::SelectionFrameColor, &C::SetSelectionFrameColor)
        .Default(cl3DDkShadow)
        .Property("ShowItemSelection", &C::ShowItemSelection, &C::SetShowItemSelection)
        .Default(0)
        .Property("ItemSelectionStyle", &C::ItemSelectionStyle, &C::SetItemSelectionStyle,
                  {"issImage", "issCaption", "issImageAndCaption"})
        .Default(issImageAndCaption)
        .Property("IgnoreSelectedItemClick", &C::IgnoreSelectedItemClick, &C::SetIgnoreSelectedItemClick)
        .Default(1);
}

[[maybe_unused]] const bool published = [] {
    {
        using C = TScGroupBar;
        TPublish<C>()
            .Property("Style", &C::Style, &C::SetStyle, {"gbsCategoryView", "gbsTaskList", "gbsOutlook"})
            .Default(gbsCategoryView)
            .Property("ExclusiveMode", &C::ExclusiveMode, &C::SetExclusiveMode)
            .Default(0)
            .Property("UniqueItemSelection", &C::UniqueItemSelection, &C::SetUniqueItemSelection)
            .Default(0)
            .Property("VisualStyle", &C::VisualStyle, &C::SetVisualStyle,
                      {"vsClassic", "vsWinXP", "vsGradient"})
            .Default(vsGradient)
            .Property("GradientColorStyle", &C::GradientColorStyle, &C::SetGradientColorStyle,
                      SC_GRADIENT_COLOR_STYLE_NAMES)
            .Default(gcsSystem)
            .Property("GradientColorStart", &C::GradientColorStart, &C::SetGradientColorStart)
            .Default(clBtnFace)
            .Property("GradientColorStop", &C::GradientColorStop, &C::SetGradientColorStop)
            .Default(clBtnShadow)
            .Property("GradientPath", &C::GradientPath, &C::SetGradientPath,
                      {"gpTopToBottom", "gpBottomToTop"})
            .Default(gpTopToBottom)
            .Property("GroupBorderSize", &C::GroupBorderSize, &C::SetGroupBorderSize)
            .Default(8)
            .Property("BorderInner", &C::BorderInner, &C::SetBorderInner, SC_FRAME_STYLE_NAMES)
            .Default(fsNone)
            .Property("BorderOuter", &C::BorderOuter, &C::SetBorderOuter, SC_FRAME_STYLE_NAMES)
            .Default(fsNone)
            .Property("BorderSides", &C::BorderSides, &C::SetBorderSides, SC_SIDE_NAMES)
            .Default(AllSides.Bits())
            .Property("BevelWidth", &C::BevelWidth, &C::SetBevelWidth)
            .Default(1)
            .Property("BorderColor", &C::BorderColor, &C::SetBorderColor)
            .Default(clBtnFace)
            .Property("BorderHighlight", &C::BorderHighlight, &C::SetBorderHighlight)
            .Default(clBtnHighlight)
            .Property("BorderShadow", &C::BorderShadow, &C::SetBorderShadow)
            .Default(clBtnShadow)
            .Property("FlatColor", &C::FlatColor, &C::SetFlatColor)
            .Default(clBtnShadow)
            .Property("FlatColorAdjustment", &C::FlatColorAdjustment, &C::SetFlatColorAdjustment)
            .Default(30)
            .Property("SmallImages", &C::SmallImages, &C::SetSmallImages)
            .Property("LargeImages", &C::LargeImages, &C::SetLargeImages);
    }
    {
        using C = TScGroup;
        TPublish<C>()
            .Property("Opened", &C::Opened, &C::SetOpened)
            .Default(0)
            .Property("OpenedHeight", &C::OpenedHeight, &C::SetOpenedHeight)
            .Default(50)
            .Property("CanClose", &C::CanClose, &C::SetCanClose)
            .Default(1)
            .Property("CaptionHeight", &C::CaptionHeight, &C::SetCaptionHeight)
            .Default(20)
            .Property("CaptionStyle", &C::CaptionStyle, &C::SetCaptionStyle, {"csSmall", "csLarge"})
            .Default(csSmall)
            .Property("CaptionImageIndex", &C::CaptionImageIndex, &C::SetCaptionImageIndex)
            .Default(-1)
            .Property("CaptionColor", &C::CaptionColor, &C::SetCaptionColor)
            .Stored([](C* c) { return !c->CaptionColorDefault(); })
            .Property("CaptionColorDefault", &C::CaptionColorDefault, &C::SetCaptionColorDefault)
            .Default(1)
            .Property("ColorDefault", &C::ColorDefault, &C::SetColorDefault)
            .Default(1)
            .Property("ItemStyle", &C::ItemStyle, &C::SetItemStyle, {"isSmall", "isLarge"})
            .Default(isSmall)
            .Property("Items", &C::Items)
            .Property("Special", &C::Special, &C::SetSpecial)
            .Default(0)
            .Property("SmallImages", &C::SmallImages, &C::SetSmallImages)
            .Property("LargeImages", &C::LargeImages, &C::SetLargeImages)
            .Property("ItemPopupMenu", &C::ItemPopupMenu,
                      [](C* c, TPopupMenu* Menu) { c->SetItemPopupMenu(Menu, Menu); })
            .Property("GroupController", &C::GroupController, &C::SetGroupController);
        PublishSharedLooks<C>();
    }
    {
        using C = TScGroupItem;
        TPublish<C>()
            .Property("Action", &C::Action, &C::SetAction)
            .Property("Caption", &C::Caption, &C::SetCaption)
            .Stored([](C* c) { return !c->ValueFromAction(TScGroupItem::avCaption); })
            .Property("Enabled", &C::Enabled, &C::SetEnabled)
            .Stored([](C* c) { return !c->Enabled() && !c->ValueFromAction(TScGroupItem::avEnabled); })
            .Property("Visible", &C::Visible, &C::SetVisible)
            .Default(1)
            .Property("FontColor", &C::FontColor, &C::SetFontColor)
            .Default(clNone)
            .Property("FontStyle", &C::FontStyle, &C::SetFontStyle, SC_FONT_STYLE_NAMES)
            .Default(0)
            .Property("ImageIndex", &C::ImageIndex, &C::SetImageIndex)
            .Stored(
                [](C* c) { return c->ImageIndex() != -1 && !c->ValueFromAction(TScGroupItem::avImageIndex); })
            .Property("DisabledIndex", &C::DisabledIndex, &C::SetDisabledIndex)
            .Default(-1)
            .Property("IndentLevel", &C::IndentLevel, &C::SetIndentLevel)
            .Default(0)
            .Property("Selected", &C::Selected, &C::SetSelected)
            .Default(0)
            .Property("Tag", &C::Tag, &C::SetTag)
            .Default(0)
            .Property("Hint", &C::Hint, &C::SetHint)
            .Stored([](C* c) { return !c->Hint().empty() && !c->ValueFromAction(TScGroupItem::avHint); });
    }
    {
        using C = TScGroupController;
        TPublish<C>()
            .Property("CaptionColor", &C::CaptionColor, &C::SetCaptionColor)
            .Default(clHighlightText)
            .Property("CaptionHeight", &C::CaptionHeight, &C::SetCaptionHeight)
            .Default(20)
            .Property("Color", &C::Color, &C::SetColor)
            .Default(clBtnFace)
            .Property("Font", &C::Font)
            .Property("ParentColor", &C::ParentColor, &C::SetParentColor)
            .Default(0)
            .Property("ParentFont", &C::ParentFont, &C::SetParentFont)
            .Default(1)
            .Property("RegIniFile", &C::RegIniFile, &C::SetRegIniFile);
        PublishSharedLooks<C>();
    }
    return true;
}();

void Skip(TReader* Reader) {
    Reader->SkipValue();
}

// Wide forms of the text ("CaptionW", "Caption_UTF7") are read and dropped.
void SkipWide(TFiler* Filer, const char* Name) {
    Filer->DefineProperty(std::string(Name) + "W", TReaderProc(&Skip), nullptr, false);
    Filer->DefineProperty(std::string(Name) + "_UTF7", TReaderProc(&Skip), nullptr, false);
}

}  // namespace

void TScGroupBar::DefineProperties(TFiler* Filer) {
    inherited::DefineProperties(Filer);
    Filer->DefineProperty("ColorAdjustment", TReaderProc(OldPropReader(), &TScOldPropReader::ReadInteger),
                          nullptr, false);
    Filer->DefineProperty("ThemeAware", TReaderProc(OldPropReader(), &TScOldPropReader::ReadBoolean), nullptr,
                          false);
    Filer->DefineProperty("UseGradients", TReaderProc(OldPropReader(), &TScOldPropReader::ReadBoolean),
                          nullptr, false);
}

void TScGroup::DefineProperties(TFiler* Filer) {
    inherited::DefineProperties(Filer);
    SkipWide(Filer, "Caption");
}

void TScGroupItem::DefineProperties(TFiler* Filer) {
    inherited::DefineProperties(Filer);
    SkipWide(Filer, "Caption");
    SkipWide(Filer, "Hint");
}

void TScGroupController::DefineProperties(TFiler* Filer) {
    inherited::DefineProperties(Filer);
    Filer->DefineProperty("UseGradients", TReaderProc(OldPropReader(), &TScOldPropReader::ReadBoolean),
                          nullptr, false);
}
