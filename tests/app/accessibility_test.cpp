// VexmoraU.exe through a screen reader's eyes: this test program is the
// other process that reads the running program's windows through the
// accessibility library. Every bar and the group bar answer; every child is
// named, has a role a reader knows, and is not called unavailable when it is
// drawn as normal; the About item's default action shows the About page.
#include <gtest/gtest.h>

#include "classlib/core/win32.h"
// After windows.h.
#include <oleacc.h>

#include <set>
#include <string>
#include <vector>

#include "tests/app/program_fixture.h"
#include "tests/app/running_program.h"
#include "tests/app/user_settings_guard.h"
#include "tests/support/acc_child.h"

namespace {

std::wstring ClassOf(HWND Window) {
    wchar_t name[64] = {};
    GetClassNameW(Window, name, 64);
    return name;
}

BOOL CALLBACK Collect(HWND Window, LPARAM List) {
    reinterpret_cast<std::vector<HWND>*>(List)->push_back(Window);
    return TRUE;
}

// COM for this thread, for the test's length.
struct TComScope {
    TComScope() { CoInitialize(nullptr); }
    ~TComScope() { CoUninitialize(); }
};

// One child as a reader finds it.
struct TSeen {
    std::wstring Path;
    std::wstring Name;
    LONG Role = 0;
    LONG State = 0;
};

class Reader {
public:
    // Every descendant below Object (itself not included).
    void Walk(IAccessible* Object, const std::wstring& Path) {
        LONG count = 0;
        if (Object->get_accChildCount(&count) != S_OK || count <= 0) return;
        std::vector<VARIANT> children(static_cast<size_t>(count));
        LONG got = 0;
        if (AccessibleChildren(Object, 0, count, children.data(), &got) != S_OK) return;
        for (LONG i = 0; i < got; ++i) {
            VARIANT& child = children[static_cast<size_t>(i)];
            if (child.vt == VT_DISPATCH) {
                IAccessible* object = nullptr;
                child.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&object));
                child.pdispVal->Release();
                if (!object) continue;
                const TSeen seen = See(object, CHILDID_SELF, Path);
                found.push_back(seen);
                Walk(object, seen.Path);
                object->Release();
            } else if (child.vt == VT_I4) {
                found.push_back(See(Object, child.lVal, Path));
            }
        }
    }
    static TSeen See(IAccessible* Object, LONG Child, const std::wstring& Path) {
        TSeen seen;
        BSTR name = nullptr;
        if (Object->get_accName(AccChild(Child), &name) == S_OK && name) seen.Name = name;
        SysFreeString(name);
        VARIANT v;
        VariantInit(&v);
        if (Object->get_accRole(AccChild(Child), &v) == S_OK && v.vt == VT_I4) seen.Role = v.lVal;
        VariantInit(&v);
        if (Object->get_accState(AccChild(Child), &v) == S_OK && v.vt == VT_I4) seen.State = v.lVal;
        seen.Path = Path + L"/" + seen.Name;
        return seen;
    }
    std::vector<TSeen> found;
};

IAccessible* ClientObject(HWND Window) {
    IAccessible* object = nullptr;
    if (AccessibleObjectFromWindow(Window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                   reinterpret_cast<void**>(&object)) != S_OK)
        return nullptr;
    return object;
}

std::wstring ShownPage(HWND Window) {
    std::vector<HWND> windows;
    EnumChildWindows(Window, Collect, reinterpret_cast<LPARAM>(&windows));
    for (HWND w : windows)
        if (ClassOf(w) == L"TTabSheet" && IsWindowVisible(w)) {
            wchar_t text[64] = {};
            GetWindowTextW(w, text, 64);
            return text;
        }
    return L"?";
}

}  // namespace

TEST(ScreenReader, EveryBarAndTheGroupBarAnswerWithNamedChildrenAndTheAboutItemWorks) {
    TComScope com;
    TScopedFolder folder;
    TUserSettingsGuard settingsGuard;
    ASSERT_TRUE(settingsGuard.Ready());
    TRunningProgram program("--drives \"Z:" VEXMORA_SOURCE_DIR "/examples/drives.ini\"");
    HWND window = program.WaitForWindow(L"Zantipelle Vexmora Ultimate ", nullptr);
    ASSERT_NE(window, nullptr);
    // The window shows before the start is done: the bars come with it, the
    // drive list's rows last.
    std::vector<HWND> windows;
    auto started = [&] {
        windows.clear();
        EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&windows));
        bool rows = false, groupBar = false;
        for (HWND w : windows) {
            rows = rows || (ClassOf(w) == L"TListView" && SendMessageW(w, LVM_GETITEMCOUNT, 0, 0) == 4);
            groupBar = groupBar || ClassOf(w) == L"TScGroupBar";
        }
        return rows && groupBar;
    };
    for (int tries = 0; tries < 200 && !started(); ++tries) Sleep(50);
    std::wstring classes;
    for (HWND w : windows) classes += ClassOf(w) + L" ";

    const std::set<LONG> childRoles{ROLE_SYSTEM_PUSHBUTTON, ROLE_SYSTEM_BUTTONMENU, ROLE_SYSTEM_STATICTEXT,
                                    ROLE_SYSTEM_LINK, ROLE_SYSTEM_GROUPING};
    std::set<LONG> barRoles;
    std::vector<TSeen> all;
    IAccessible* groupBar = nullptr;
    for (HWND w : windows) {
        const std::wstring name = ClassOf(w);
        const bool skinnedBar = name.rfind(L"TSb", 0) == 0 && name.find(L"Toolbar") != std::wstring::npos;
        if (!skinnedBar && name != L"TScGroupBar") continue;
        IAccessible* bar = ClientObject(w);
        ASSERT_NE(bar, nullptr) << std::string(name.begin(), name.end());
        const TSeen self = Reader::See(bar, CHILDID_SELF, name);
        barRoles.insert(self.Role);
        Reader reader;
        reader.Walk(bar, name);
        all.insert(all.end(), reader.found.begin(), reader.found.end());
        if (name == L"TScGroupBar")
            groupBar = bar;
        else
            bar->Release();
    }
    EXPECT_EQ(barRoles, (std::set<LONG>{ROLE_SYSTEM_TOOLBAR, ROLE_SYSTEM_STATUSBAR, ROLE_SYSTEM_PANE}))
        << std::string(classes.begin(), classes.end());
    ASSERT_NE(groupBar, nullptr);

    // The system, minimise and close buttons and the caption (the window has
    // no maximise button), the status text, four groups and seven items.
    EXPECT_GE(all.size(), 16u);
    std::set<std::wstring> names;
    for (const TSeen& seen : all) {
        const std::string path(seen.Path.begin(), seen.Path.end());
        EXPECT_FALSE(seen.Name.empty()) << path;
        EXPECT_TRUE(childRoles.count(seen.Role)) << path << " role " << seen.Role;
        // Everything the program shows is drawn enabled: text and buttons alike.
        EXPECT_FALSE(seen.State & STATE_SYSTEM_UNAVAILABLE) << path;
        if (seen.Role == ROLE_SYSTEM_STATICTEXT) {
            EXPECT_TRUE(seen.State & STATE_SYSTEM_READONLY) << path;
        }
        names.insert(seen.Name);
    }
    for (const wchar_t* name :
         {L"System", L"Minimize", L"Close", L"Main", L"Infomation", L"Monitor", L"Setting", L"Preference",
          L"Performance", L"Show System tray", L"Apply", L"About"})
        EXPECT_TRUE(names.count(name)) << std::string(name, name + wcslen(name));

    // The About group is the last; its one item is the About page.
    VARIANT last;
    ASSERT_EQ(groupBar->accNavigate(NAVDIR_LASTCHILD, AccChild(CHILDID_SELF), &last), S_OK);
    ASSERT_EQ(last.vt, VT_DISPATCH);
    IAccessible* about = nullptr;
    last.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&about));
    last.pdispVal->Release();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(Reader::See(about, CHILDID_SELF, L"").Name, L"About");
    EXPECT_EQ(Reader::See(about, CHILDID_SELF, L"").Role, ROLE_SYSTEM_GROUPING);
    BSTR action = nullptr;
    ASSERT_EQ(about->get_accDefaultAction(AccChild(1), &action), S_OK);
    EXPECT_STREQ(action, L"Click");
    SysFreeString(action);
    EXPECT_NE(ShownPage(window), L"About");
    EXPECT_EQ(about->accDoDefaultAction(AccChild(1)), S_OK);
    for (int tries = 0; tries < 60 && ShownPage(window) != L"About"; ++tries) Sleep(50);
    EXPECT_EQ(ShownPage(window), L"About");
    about->Release();
    groupBar->Release();

    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND question = program.WaitForWindow(L"Vexmora", L"#32770");
    ASSERT_NE(question, nullptr);
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}
