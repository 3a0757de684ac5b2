#include "app/alert_picture.h"

#include "classlib/core/exceptions.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/picture.h"

void LoadAlertPicture(TPicture* Picture) {
    auto bitmap = MakeOwned<TBitmap>();
    try {
        bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), "ALERTPICTURE");
    } catch (const EResNotFound&) {
        return;
    }
    Picture->SetGraphic(bitmap.get());
}
