#include "skins/builtinskins.h"

#include "skins/skinmanager.h"

namespace {

struct TBuiltInSkin {
    const char* Name;
    TClass (*SkinClass)();
};

constexpr TBuiltInSkin kBuiltInSkins[] = {
    {"Athen", &TSbAthenSkin::ClassInfo},
    {"Dream", &TSbDreamSkin::ClassInfo},
    {"Eos", &TSbEosSkin::ClassInfo},
    {"Leopard", &TSbLeopardSkin::ClassInfo},
    {"Xito", &TSbXitoSkin::ClassInfo},
    {"Office XP", &TSbOfficeXPSkin::ClassInfo},
    {"Office 2003", &TSbOffice2003Skin::ClassInfo},
    {"Office 2007 Blue", &TSbOffice2007BlueSkin::ClassInfo},
    {"Office 2007 Black", &TSbOffice2007BlackSkin::ClassInfo},
    {"Office 2007 Silver", &TSbOffice2007SilverSkin::ClassInfo},
};

}  // namespace

void RegisterBuiltInSkins() {
    TSbSkinsList* list = SkinManager()->SkinsList();
    for (const TBuiltInSkin& skin : kBuiltInSkins) list->AddSkin(skin.Name, skin.SkinClass());
}
