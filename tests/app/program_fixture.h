// Shared by the program tests: the program's forms made as the program block
// makes them, on a private registry root, in a folder of their own (for
// Vexmora.log), with an inline or example drive set, scripted message boxes
// and a tray shell that records its calls instead of reaching the real one.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/mainform.h"
#include "classlib/core/registryredirect.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/stdctrls/messagedialogs.h"
#include "notify/trayshell.h"
#include "tests/platform/scoped_drives.h"

class RecordingTrayShell : public TTrayShell {
public:
    std::vector<DWORD> messages;
    // The icons in the notification area by their tips, in the order they came.
    std::vector<std::string> InArea() const {
        std::vector<std::string> tips;
        for (const auto& icon : icons_) tips.push_back(icon.second);
        return tips;
    }
    bool NotifyIcon(DWORD Message, TTrayIconData& Data) override {
        messages.push_back(Message);
        const auto icon = std::find_if(icons_.begin(), icons_.end(),
                                       [&](const auto& Icon) { return Icon.first == Data.uID; });
        if (Message == NIM_ADD && icon == icons_.end())
            icons_.emplace_back(Data.uID, Data.szTip);
        else if (Message == NIM_MODIFY && icon != icons_.end() && (Data.uFlags & NIF_TIP))
            icon->second = Data.szTip;
        else if (Message == NIM_DELETE && icon != icons_.end())
            icons_.erase(icon);
        return true;
    }

private:
    std::vector<std::pair<UINT, std::string>> icons_;
};

// A fresh folder made the current one; it goes, with its content, at the end.
class TScopedFolder {
public:
    TScopedFolder();
    ~TScopedFolder();
    TScopedFolder(const TScopedFolder&) = delete;
    TScopedFolder& operator=(const TScopedFolder&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string saved_;
    std::string path_;
};

std::string ReadTextFile(const std::string& FileName);

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest();
    ~ProgramTest() override;

    // Makes the program's forms (freeing those of an earlier start) with
    // this drive set, or with examples/drives.ini.
    void Start(std::string_view DriveSet);
    void StartWithExampleDrives();
    // With a drive access of the test's own (a drive-set file it rewrites).
    void StartWith(std::shared_ptr<TDriveAccess> Access);

    TListItems* Rows() const { return MainForm->lvDrvList->Items(); }
    // Caption and sub-items of every row.
    std::vector<std::vector<std::string>> Cells() const;
    std::vector<bool> Checks() const;

    // Shows the main window right after making the forms, as the program's
    // loop does.
    bool showAtStart = false;
    // After making the forms, handles what waits: the drives and the tray
    // icons; false leaves the start as CreateProgramForms ends it.
    bool waitForTrayIcons = true;

    TRegistryRedirect privateRoot;
    TScopedFolder folder;
    TScriptedMessageBoxes boxes;
    RecordingTrayShell trayShell;
    std::vector<std::string> exceptions;

private:
    void Caught(TObject*, const Exception& E) { exceptions.push_back(E.Message()); }
    void EndLastStart();
    void MakeForms();

    TServiceOverride<TTrayShell> trayOverride_{trayShell};
    std::unique_ptr<TScopedDrives> drives_;
};
