#include "app/program_units.h"

#include "classlib/windows/dispatcher.h"
#include "controls/scscheme.h"
#include "foundation/zcsupportunits.h"
#include "foundation/zkutils.h"
#include "notify/notifytrayicon.h"
#include "skins/builtinskins.h"
#include "skins/sbitemsunit.h"
#include "skins/skinmanager.h"
#include "toolbar/baracc.h"
#include "toolbar/barpopup.h"

namespace {

struct TProgramUnit {
    void (*Start)();
    void (*Stop)();
};

void StartSkins() {
    InitSkinsUnit();
    RegisterBuiltInSkins();
}

void Nothing() {}

const TProgramUnit kUnits[] = {
    {RecordGuiThread, Nothing},             // the thread workers hand their results to
    {StartSupportUnits, StopSupportUnits},  // version registry, character tables, system facts
    // Before the skinned items, which give 101 and 102 cursors of their own.
    {AssignDragCursors, Nothing},              // the drag sources' cursors 100-103
    {InitTrayIconUnit, FinalizeTrayIconUnit},  // "TaskbarCreated", so icons outlive a new taskbar
    {InitScCommon, Nothing},                   // the styled controls' colour scheme and depth
    {BarAccStartup, BarAccShutdown},           // COM for the bars' accessibility objects, cut off at the end
    {BarPopupStartup, BarPopupShutdown},       // the toolbars' and menus' shared font
    {StartSkins, FinalizeSkinsUnit},           // the skin manager and the built-in skins
    {InitSkinnedItemsUnit, FinalizeSkinnedItemsUnit},  // small-caption font, hint bitmap, glyph list, cursors
};
constexpr int kUnitCount = static_cast<int>(sizeof kUnits / sizeof kUnits[0]);

}  // namespace

TProgramUnits::TProgramUnits() {
    try {
        for (; started_ < kUnitCount; ++started_) kUnits[started_].Start();
    } catch (...) {
        // No destructor runs for a constructor that throws.
        while (started_ > 0) kUnits[--started_].Stop();
        throw;
    }
}

TProgramUnits::~TProgramUnits() {
    while (started_ > 0) kUnits[--started_].Stop();
}
