// The component notifications that both extended bases (graphic control and
// form) turn into overridable operations, dispatched in one place.
#pragma once

#include <string>

#include "classlib/windows/controls.h"
#include "classlib/windows/hintwindow.h"
#include "foundation/zktypes.h"

namespace zk_detail {

// Calls Target's operation for Message and answers true, or answers false
// when Message is not one of the shared notifications.
template <class Target>
bool DispatchSharedNotification(Target& target, TMessage& Message) {
    switch (Message.Msg) {
        case CM_DIALOGCHAR: {
            const auto key = static_cast<WORD>(Message.WParam);
            Message.Result =
                target.WantKey(key, KeyDataToShiftState(Message.LParam), std::string(1, char(key)));
            return true;
        }
        case CM_HITTEST:
            Message.Result = target.HitTest(Message.XPos(), Message.YPos());
            return true;
        case CM_TEXTCHANGED:
            target.TextChanged();
            return true;
        case CM_HINTSHOW:
            Message.Result = target.HintShow(*Message.template LParamAs<THintInfo>());
            return true;
        case CM_DENYSUBCLASSING:
            Message.Result = DeniesSubclassing(&target);
            return true;
        case CM_FOCUSCHANGED:
            target.FocusChanged(Message.template LParamAs<TControl>());
            return true;
        case CM_MOUSEENTER:
            target.MouseEnter(Message.template LParamAs<TControl>());
            return true;
        case CM_MOUSELEAVE:
            target.MouseLeave(Message.template LParamAs<TControl>());
            return true;
        case CM_VISIBLECHANGED:
            target.VisibleChanged();
            return true;
        case CM_ENABLEDCHANGED:
            target.EnabledChanged();
            return true;
        case CM_COLORCHANGED:
            target.ColorChanged();
            return true;
        case CM_FONTCHANGED:
            target.FontChanged();
            return true;
        case CM_PARENTFONTCHANGED:
            target.ParentFontChanged();
            return true;
        case CM_PARENTCOLORCHANGED:
            target.ParentColorChanged();
            return true;
        case CM_PARENTSHOWHINTCHANGED:
            target.ParentShowHintChanged();
            return true;
        default:
            return false;
    }
}

}  // namespace zk_detail
