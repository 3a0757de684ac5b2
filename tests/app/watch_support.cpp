#include "tests/app/watch_support.h"

#include <algorithm>
#include <tuple>

#include "app/mail_queue.h"
#include "app/settings.h"
#include "classlib/core/text.h"
#include "classlib/windows/timer.h"
#include "platform/drive_set_file.h"
#include "tests/support/pump.h"

std::vector<TRecordedAlert> Sorted(std::vector<TRecordedAlert> Alerts) {
    std::sort(Alerts.begin(), Alerts.end(), [](const TRecordedAlert& A, const TRecordedAlert& B) {
        return std::tie(A.Message, A.Header) < std::tie(B.Message, B.Header);
    });
    return Alerts;
}

TPrivilegeResult RecordingPower::EnableShutdownPrivilege() {
    std::lock_guard guard(lock_);
    calls.push_back("privilege");
    return privilege;
}

bool RecordingPower::InitiateShutdown(const std::string& Machine, const std::string& Message, DWORD Timeout,
                                      bool ForceAppsClosed, bool Reboot) {
    std::lock_guard guard(lock_);
    calls.push_back(Format("initiate machine='%s' message='%s' timeout=%u force=%d reboot=%d", Machine,
                           Message, static_cast<unsigned>(Timeout), ForceAppsClosed ? 1 : 0, Reboot ? 1 : 0));
    return accept;
}

bool RecordingPower::AbortShutdown(const std::string&) {
    std::lock_guard guard(lock_);
    calls.push_back("abort");
    return true;
}

bool RecordingPower::ExitSession(UINT Flags, DWORD Reserved) {
    std::lock_guard guard(lock_);
    calls.push_back(Format("exit flags=%u reserved=%u", Flags, static_cast<unsigned>(Reserved)));
    return accept;
}

TGatedDrives::TGatedDrives(const std::string& Text)
    : drives_(std::make_shared<TSimulatedDriveAccess>(ParseDriveSet(Text, "gated.ini"))) {}

void TGatedDrives::Shut(int Number) {
    std::lock_guard guard(lock_);
    shut_ = true;
    shutNumber_ = Number;
}

void TGatedDrives::Release() {
    {
        std::lock_guard guard(lock_);
        shut_ = false;
    }
    opened_.notify_all();
}

int TGatedDrives::Waiting() {
    std::lock_guard guard(lock_);
    return waiting_;
}

int TGatedDrives::Opens(const std::string& Path) {
    std::lock_guard guard(lock_);
    return opens_[Path];
}

TOsFamily TGatedDrives::OsFamily() {
    return drives_->OsFamily();
}

std::unique_ptr<TDeviceHandle> TGatedDrives::Open(const std::string& Path, uint32_t Access, uint32_t Share,
                                                  uint32_t Creation) {
    std::unique_lock guard(lock_);
    ++opens_[Path];
    const bool gated =
        shutNumber_ < 0 || SameText(Path, "\\\\.\\PhysicalDrive" + std::to_string(shutNumber_));
    if (shut_ && gated) {
        ++waiting_;
        opened_.wait(guard, [this] { return !shut_; });
        --waiting_;
    }
    guard.unlock();
    return drives_->Open(Path, Access, Share, Creation);
}

uint32_t TGatedDrives::LastError() {
    return drives_->LastError();
}

int TGatedDrives::WmiQuery(const std::wstring& Query, const std::wstring& PropName, std::string& Value) {
    return drives_->WmiQuery(Query, PropName, Value);
}

std::string DriveSection(int Number, const std::string& Model, int Temperature,
                         const std::vector<std::string>& Attributes) {
    std::string text = Format("[drive %d]\nwmi model = %s\ndisk size = 1073741824\n", Number, Model);
    text += Format("attribute 0 = 194 0x0022 %d %d 0 %d\n", Temperature, Temperature, Temperature);
    for (size_t i = 0; i < Attributes.size(); ++i)
        text += Format("attribute %d = %s\n", static_cast<int>(i + 1), Attributes[i]);
    return text;
}

std::string FailingAttribute(int Id) {
    return Format("%d 0x0033 10 10 36 0", Id);
}

void SetDriveString(const std::string& Model, const std::string& Name, const std::string& Value) {
    auto key = OpenDriveSettings(Model, true);
    key->WriteString(Name, Value);
    // Or the start writes the default actions over the test's.
    key->WriteInteger("CreateReg", 1);
}

void SetDriveInteger(const std::string& Model, const std::string& Name, int Value) {
    auto key = OpenDriveSettings(Model, true);
    key->WriteInteger(Name, Value);
    key->WriteInteger("CreateReg", 1);
}

void StoreMailSettings(int Port, bool WithRecipient) {
    auto settings = OpenSettings(true);
    settings->WriteString("SMTPServer", "127.0.0.1");
    settings->WriteInteger("Port", Port);
    settings->WriteString("FromMail", "monitor@example.com");
    if (WithRecipient) settings->WriteString("ToMail", "admin@example.com");
}

std::vector<TScriptStep> OneMailSession() {
    return {Send("220 ready\r\n"), ReadLine(), Send("250 ok\r\n"),     ReadLine(),
            Send("250 ok\r\n"),    ReadLine(), Send("250 ok\r\n"),     ReadLine(),
            Send("354 go\r\n"),    ReadData(), Send("250 queued\r\n"), ReadLine(),
            Send("221 bye\r\n")};
}

void WatchTest::StartStill(const std::string& DriveSet) {
    Start(DriveSet);
    MainForm->tmr1->SetEnabled(false);
    MainForm->tmr2->SetEnabled(false);
}

bool WatchTest::Refresh() {
    const int applied = MainForm->RefreshCounts().Applied;
    MainForm->tmr1Timer(nullptr);
    return PumpUntil([&] { return MainForm->RefreshCounts().Applied > applied; }, 10000);
}

bool WatchTest::Settle(int Milliseconds) {
    return PumpUntil(
        [] {
            TMailQueue* mail = MainForm->MailQueue();
            return MainForm->MessageBoxes()->Pending() == 0 &&
                   (!mail || (mail->Waiting() == 0 && !mail->Sending()));
        },
        Milliseconds);
}

std::string WatchTest::Temperature(int Row) const {
    return Rows()->Item(Row)->SubItems()->Strings(1);
}
