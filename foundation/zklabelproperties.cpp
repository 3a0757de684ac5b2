// The published properties of the extended label, for the filer's form
// streams.
#include <mutex>

#include "classlib/core/properties.h"
#include "foundation/zklabel.h"

void PublishZkLabelProperties() {
    static std::once_flag once;
    std::call_once(once, [] {
        using L = TZkCustomLabel;
        TPublish<L>()
            .Property("Alignment", &L::Alignment, &L::SetAlignment,
                      {"taLeftJustify", "taRightJustify", "taCenter"})
            .Default(taLeftJustify)
            .Property("Layout", &L::Layout, &L::SetLayout, {"tlTop", "tlCenter", "tlBottom"})
            .Default(tlTop)
            .Property("AutoSize", &L::AutoSize, &L::SetAutoSize)
            .Default(1)
            .Property("WordWrap", &L::WordWrap, &L::SetWordWrap)
            .Default(0)
            .Property("ShowAccelChar", &L::ShowAccelChar, &L::SetShowAccelChar)
            .Default(1)
            .Property("ShowFocus", &L::ShowFocus, &L::SetShowFocus)
            .Default(0)
            .Property("FocusControl", &L::FocusControl, &L::SetFocusControl)
            .Property("Transparent", &L::Transparent, &L::SetTransparent)
            .Default(0)
            .Property("TextEllipsis", &L::TextEllipsis, &L::SetTextEllipsis,
                      {"teNone", "teWordEllipsis", "tePathEllipsis", "teEndEllipsis"})
            .Default(teNone)
            .Property("Margin", &L::Margin, &L::SetMargin)
            .Default(0)
            .Property("ShadowColor", &L::ShadowColor, &L::SetShadowColor)
            .Default(clBtnHighlight)
            .Property("ShadowSize", &L::ShadowSize, &L::SetShadowSize)
            .Default(0)
            .Property("ShadowPos", &L::ShadowPos, &L::SetShadowPos,
                      {"spLeftTop", "spLeftBottom", "spRightBottom", "spRightTop"})
            .Default(spRightBottom)
            .Property("Angle", &L::Angle, &L::SetAngle)
            .Default(0)
            .Property("Images", &L::Images, &L::SetImages)
            .Property("ImageIndex", &L::ImageIndex, &L::SetImageIndex)
            .Default(-1)
            .Property("Spacing", &L::Spacing, &L::SetSpacing)
            .Default(4)
            .Property("FrameColor", &L::FrameColor, &L::SetFrameColor)
            .Default(clNone)
            .Property("RoundedFrame", &L::RoundedFrame, &L::SetRoundedFrame)
            .Default(0)
            .Property("HotTrack", &L::HotTrack, &L::SetHotTrack)
            .Default(0)
            .Property("HotTrackFont", &L::HotTrackFont)
            .Property("HotTrackFontOptions", &L::HotTrackFontOptions, &L::SetHotTrackFontOptions,
                      {"hoFollowFont", "hoPreserveCharSet", "hoPreserveColor", "hoPreserveHeight",
                       "hoPreserveName", "hoPreservePitch", "hoPreserveStyle"})
            .Default(TZkTrackFontOptions{hoFollowFont, hoPreserveColor, hoPreserveStyle}.Bits())
            .Property("HotTrackOptions", &L::HotTrackOptions)
            .Property("URL", &L::URL, &L::SetURL)
            .Property("AutoOpenURL", &L::AutoOpenURL, &L::SetAutoOpenURL)
            .Default(1)
            .Property("Provider", &L::Provider)
            .Property("HintColor", &L::HintColor, &L::SetHintColor)
            .Default(clDefault);
    });
}
