#include "app/program_icon.h"

#include "classlib/graphics/bitmap.h"

void LoadProgramIcon(TIcon* Icon) {
    HICON icon =
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    if (!icon) icon = CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)));
    Icon->SetHandle(icon);
}
