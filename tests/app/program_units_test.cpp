// The program's start-up table does what once hung on C++ static
// initialisation: the GUI thread, the taskbar's broadcast (forgotten again
// at the end), and the drag cursors, set before the skinned items put their
// own at 101 and 102.
#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "app/program_units.h"
#include "classlib/windows/controls.h"
#include "classlib/windows/dispatcher.h"
#include "classlib/windows/screen.h"
#include "notify/notifytrayicon.h"

TEST(ProgramUnits, StartUpRecordsTheGuiThreadTheTaskbarMessageAndTheDragCursors) {
    // As a program finds them when nothing ran before its start-up: another
    // thread taken for the GUI thread, no taskbar message, the drag cursors
    // not set.
    std::thread([] { RecordGuiThread(); }).join();
    ASSERT_FALSE(IsGuiThread());
    FinalizeTrayIconUnit();
    ASSERT_EQ(TNotifyTrayIcon::TaskbarCreatedMessage(), 0u);
    const HCURSOR unset = Screen->Cursors(crHourGlass);
    for (TCursor id : {100, 101, 102, 103}) Screen->SetCursors(id, unset);

    std::optional<TProgramUnits> units(std::in_place);
    EXPECT_TRUE(IsGuiThread());
    EXPECT_NE(TNotifyTrayIcon::TaskbarCreatedMessage(), 0u);
    EXPECT_EQ(Screen->Cursors(100), Screen->Cursors(crMultiDrag));
    EXPECT_EQ(Screen->Cursors(103), Screen->Cursors(crMultiDrag));
    // The skinned items' move and cancel cursors win over the drag shapes.
    for (TCursor id : {101, 102}) {
        EXPECT_NE(Screen->Cursors(id), unset) << id;
        EXPECT_NE(Screen->Cursors(id), Screen->Cursors(crDrag)) << id;
    }
    units.reset();
    EXPECT_EQ(TNotifyTrayIcon::TaskbarCreatedMessage(), 0u);
}
