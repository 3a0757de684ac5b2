// The published properties of every control, for the filer's form streams.
#include "classlib/core/properties.h"

#include <mutex>

#include "classlib/windows/controls.h"

void PublishControlProperties() {
    static std::once_flag once;
    std::call_once(once, [] {
        TPublish<TControl>()
            .Property("Left", &TControl::Left, &TControl::SetLeft)
            .Property("Top", &TControl::Top, &TControl::SetTop)
            .Property("Width", &TControl::Width, &TControl::SetWidth)
            .Property("Height", &TControl::Height, &TControl::SetHeight)
            .Property("Align", &TControl::Align, &TControl::SetAlign,
                      {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"})
            .Default(alNone)
            .Property("Anchors", &TControl::Anchors, &TControl::SetAnchors,
                      {"akLeft", "akTop", "akRight", "akBottom"})
            .Default(TAnchors{akLeft, akTop}.Bits())
            .Property("Color", &TControl::Color, &TControl::SetColor)
            .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
            .Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
            .Property("Enabled", &TControl::Enabled, &TControl::SetEnabled)
            .Default(1)
            .Property("Visible", &TControl::Visible, &TControl::SetVisible)
            .Default(1)
            .Property("Hint", &TControl::Hint, &TControl::SetHint)
            .Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
            .Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint)
            .Default(1)
            .Property("Cursor", &TControl::Cursor, &TControl::SetCursor)
            .Default(crDefault);
    });
}
