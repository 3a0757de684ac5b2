// Shared by the watching benchmarks: the program's forms made as the program
// block makes them, on a private registry root, over 24 simulated drives, with
// the timers stopped so each run ticks them itself; and a server that
// accepts mail connections and never answers.
#pragma once

#include <winsock2.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "app/mainform.h"
#include "app/program.h"
#include "app/settings.h"
#include "classlib/core/registryredirect.h"
#include "classlib/core/text.h"
#include "classlib/services/powerservice.h"
#include "classlib/windows/application.h"
#include "classlib/windows/timer.h"
#include "platform/drive_access.h"
#include "platform/drive_set_file.h"
#include "platform/simulated_drives.h"

using TClock = std::chrono::steady_clock;

inline double MillisecondsSince(TClock::time_point Start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
}

// The model of simulated drive Number: "BENCH DISK 00" to "BENCH DISK 23".
inline std::string BenchModel(int Number) {
    return std::string("BENCH DISK ") + (Number < 10 ? "0" : "") + std::to_string(Number);
}

// 24 drives with 30 attributes each; with Failing every attribute but the
// temperature is below its threshold.
inline std::string WatchDriveSet(bool Failing, int Temperature) {
    std::string text;
    for (int drive = 0; drive < 24; ++drive) {
        text += Format("[drive %d]\nwmi model = %s\ndisk size = 500107862016\n", drive, BenchModel(drive));
        text += Format("attribute 0 = 194 0x0022 %d %d 0 %d\n", Temperature, Temperature, Temperature);
        for (int slot = 1; slot < 30; ++slot)
            text += Format("attribute %d = %d 0x0033 %d 100 36 0\n", slot, slot, Failing ? 10 : 100);
    }
    return text;
}

// Nothing here may power the machine off: a request ends the run instead.
class TNoPower : public TPowerService {
public:
    TPrivilegeResult EnableShutdownPrivilege() override { Stop(); }
    bool InitiateShutdown(const std::string&, const std::string&, DWORD, bool, bool) override { Stop(); }
    bool AbortShutdown(const std::string&) override { Stop(); }
    bool ExitSession(UINT, DWORD) override { Stop(); }

private:
    [[noreturn]] static void Stop() {
        std::fprintf(stderr, "a power request was made\n");
        std::exit(3);
    }
};

// The forms over a drive set, every drive monitored, the timers stopped.
class TWatchWorld {
public:
    explicit TWatchWorld(const std::string& DriveSet) {
        SetDriveAccess(std::make_shared<TSimulatedDriveAccess>(ParseDriveSet(DriveSet, "bench.ini")));
        for (int drive = 0; drive < 24; ++drive) {
            auto key = OpenDriveSettings(BenchModel(drive), true);
            key->WriteInteger("CreateReg", 1);
        }
        Application->Initialize();
        RegisterProgramForms();
        CreateProgramForms();
        Application->ProcessMessages();
        // The drives come from a worker, the tray icons once the loop has
        // nothing to paint, as they do in the program.
        for (int wait = 0; (MainForm->Detecting() || MainForm->TrayIconsHeld()) && wait < 5000; ++wait) {
            Sleep(1);
            Application->ProcessMessages();
        }
        MainForm->tmr1->SetEnabled(false);
        MainForm->tmr2->SetEnabled(false);
    }
    ~TWatchWorld() {
        FreeProgramForms();
        Application->ProcessMessages();
        UseRealDrives();
    }
    TWatchWorld(const TWatchWorld&) = delete;
    TWatchWorld& operator=(const TWatchWorld&) = delete;

    // One tick, pumped until its snapshot is applied.
    static void Tick() {
        const int applied = MainForm->RefreshCounts().Applied;
        MainForm->tmr1Timer(nullptr);
        while (MainForm->RefreshCounts().Applied == applied) {
            Application->ProcessMessages();
            Sleep(0);
        }
    }

private:
    TRegistryRedirect privateRoot_;
    TNoPower power_;
    TServiceOverride<TPowerService> powerOverride_{power_};
};

// Accepts connections on loopback and holds them without a word.
class TSilentServer {
public:
    TSilentServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 4);
        int length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            for (;;) {
                SOCKET client = accept(listener_, nullptr, nullptr);
                if (client == INVALID_SOCKET) return;
                client_ = client;
            }
        });
    }
    ~TSilentServer() {
        closesocket(listener_);
        thread_.join();
        if (client_ != INVALID_SOCKET) closesocket(client_);
    }
    TSilentServer(const TSilentServer&) = delete;
    TSilentServer& operator=(const TSilentServer&) = delete;
    int Port() const { return port_; }

private:
    SOCKET listener_ = INVALID_SOCKET;
    SOCKET client_ = INVALID_SOCKET;
    int port_ = 0;
    std::thread thread_;
};
