// Shared by the watching tests: alerts and power requests recorded instead
// of shown or carried out, drive sections written in a line, drives that
// hold their reads at a gate, per-drive settings, and a refresh or poll run
// to its end.
#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "app/desktop_alerts.h"
#include "classlib/services/powerservice.h"
#include "platform/simulated_drives.h"
#include "tests/app/program_fixture.h"
#include "tests/mail/smtp_script_server.h"

struct TRecordedAlert {
    std::string Message;
    std::string Header;
    bool operator==(const TRecordedAlert&) const = default;
    friend void PrintTo(const TRecordedAlert& Alert, std::ostream* Out) {
        *Out << "{\"" << Alert.Message << "\", \"" << Alert.Header << "\"}";
    }
};

// Sorted: drives read side by side land in any order.
std::vector<TRecordedAlert> Sorted(std::vector<TRecordedAlert> Alerts);

class RecordingAlerts : public TDesktopAlerts {
public:
    std::vector<TRecordedAlert> shown;
    void Show(TComponent*, TPicture*, const std::string& Message, const std::string& Header) override {
        shown.push_back({Message, Header});
    }
};

// Answers as told and writes down every call, one line each.
class RecordingPower : public TPowerService {
public:
    TPrivilegeResult privilege = prEnabled;
    bool accept = true;
    std::vector<std::string> calls;

    TPrivilegeResult EnableShutdownPrivilege() override;
    bool InitiateShutdown(const std::string& Machine, const std::string& Message, DWORD Timeout,
                          bool ForceAppsClosed, bool Reboot) override;
    bool AbortShutdown(const std::string& Machine) override;
    bool ExitSession(UINT Flags, DWORD Reserved) override;

private:
    std::mutex lock_;
};

// A simulated drive set whose devices do not open while the gate is shut
// (for every drive, or for one drive number); it counts the opens of each
// device path.
class TGatedDrives : public TDriveAccess {
public:
    explicit TGatedDrives(const std::string& Text);
    void Shut(int Number = -1);
    void Release();
    // Opens waiting at the gate now.
    int Waiting();
    int Opens(const std::string& Path);
    // Devices opened and not yet closed.
    int OpenDevices() const { return drives_->OpenDevices(); }

    TOsFamily OsFamily() override;
    std::unique_ptr<TDeviceHandle> Open(const std::string& Path, uint32_t Access, uint32_t Share,
                                        uint32_t Creation) override;
    uint32_t LastError() override;
    bool AnswersWmi() const override { return true; }
    int WmiQuery(const std::wstring& Query, const std::wstring& PropName, std::string& Value) override;

private:
    std::shared_ptr<TSimulatedDriveAccess> drives_;
    std::mutex lock_;
    std::condition_variable opened_;
    bool shut_ = false;
    int shutNumber_ = -1;
    int waiting_ = 0;
    std::map<std::string, int> opens_;
};

// "[drive N]", its model, a temperature attribute and the given attribute
// lines (slots from 1 on).
std::string DriveSection(int Number, const std::string& Model, int Temperature,
                         const std::vector<std::string>& Attributes = {});
// A pre-failure attribute below its threshold: "Failing Now".
std::string FailingAttribute(int Id);

// Creates the drive's subkey (the drive is monitored from the next start),
// writes the value and marks the defaults as written, so the start keeps it.
void SetDriveString(const std::string& Model, const std::string& Name, const std::string& Value);
void SetDriveInteger(const std::string& Model, const std::string& Name, int Value);

// Mail settings for a server on loopback at Port, from monitor@example.com
// to admin@example.com (no recipient: the settings are incomplete).
void StoreMailSettings(int Port, bool WithRecipient = true);
// A server's side of one session that delivers one mail: the client's lines
// are Received()[0..5], the message text is [4].
std::vector<TScriptStep> OneMailSession();

class WatchTest : public ProgramTest {
protected:
    // Starts with the timers stopped: the tests tick them by hand.
    void StartStill(const std::string& DriveSet);
    // One refresh tick, waited for until its snapshot was applied.
    bool Refresh();
    // Pumps until no message box waits and the mail queue is idle.
    bool Settle(int Milliseconds = 5000);
    std::string Temperature(int Row) const;

    RecordingAlerts alerts;

private:
    TServiceOverride<TDesktopAlerts> alertsOverride_{alerts};
};
