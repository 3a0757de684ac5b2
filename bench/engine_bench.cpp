// Times the drive health engine on simulated drives: one ReadDriveSmart, and
// the start-up detection pass over 24 drive numbers (WMI model query, full
// read and size query each). There is no peer to compare with: it prints
// plain figures.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/drive_size.h"
#include "bench/bench_args.h"
#include "classlib/core/files.h"
#include "classlib/core/text.h"
#include "engine/drive_reading.h"
#include "engine/wmi.h"
#include "platform/drive_access.h"
#include "platform/drive_set_file.h"
#include "platform/simulated_drives.h"

namespace {

using TClock = std::chrono::steady_clock;

double MicrosecondsSince(TClock::time_point start) {
    return std::chrono::duration<double, std::micro>(TClock::now() - start).count();
}

// 24 drives with 17 attributes each, as a drive-set file.
std::string DriveSetText(bool probeSize) {
    static const char* const kAttributes[] = {
        "1 0x000F 117 99 6 128712384",    "3 0x0003 97 97 0 0",
        "4 0x0032 100 100 20 1024",       "5 0x0033 100 100 36 0",
        "7 0x000F 72 60 30 15384256",     "9 0x0032 89 89 0 9876",
        "10 0x0013 100 100 97 0",         "12 0x0032 100 100 20 1012",
        "187 0x0032 100 100 0 0",         "189 0x003A 100 100 0 0",
        "190 0x0022 72 55 45 0x2D11001C", "194 0x0022 28 45 0 1C:00:11:00:2D:00",
        "195 0x001A 49 25 0 128712384",   "197 0x0012 100 100 0 0",
        "198 0x0010 100 100 0 0",         "199 0x003E 200 200 0 0",
        "200 0x0000 100 253 0 0",
    };
    std::string text;
    for (int drive = 0; drive < 24; ++drive) {
        text += Format("[drive %d]\nwmi model = ST3500418AS-%d\nserial = 5VM1AB%02d\nfirmware = CC38\n",
                       drive, drive, drive);
        text += "disk size = 500107862016\n";
        if (probeSize) text += "fail geometry ex = 1\n";
        int position = 0;
        for (const char* attribute : kAttributes)
            text += Format("attribute %d = %s\n", position++, attribute);
    }
    return text;
}

void TimeReads(const char* what, int calls) {
    TSmartResult result;
    std::string errMsg;
    if (!ReadDriveSmart(0, result, errMsg) || result.AttrCount != 17) {
        std::printf("ReadDriveSmart failed: %s\n", errMsg.c_str());
        return;
    }
    const auto start = TClock::now();
    for (int i = 0; i < calls; ++i) ReadDriveSmart(i % 24, result, errMsg);
    std::printf("ReadDriveSmart, simulated drive %-22s %8.2f us per call (%d calls)\n", what,
                MicrosecondsSince(start) / calls, calls);
}

void TimeDetection(const char* what, int passes) {
    int found = 0;
    const auto start = TClock::now();
    for (int pass = 0; pass < passes; ++pass) {
        for (int drive = 0; drive < 24; ++drive) {
            std::string model, errMsg;
            GetDriveModelWmi(drive, model);
            if (model.empty()) continue;
            TSmartResult result;
            ReadDriveSmart(drive, result, errMsg);
            if (DriveSizeGB(drive) == "465") ++found;
        }
    }
    std::printf("Detection pass of 24 drives %-24s %8.2f ms per pass (%d passes, %d drives sized)\n", what,
                MicrosecondsSince(start) / 1000 / passes, passes, found / passes);
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    const std::string fileName = GetTempDir() + "vexmora_engine_bench.ini";
    std::ofstream(fileName, std::ios::binary | std::ios::trunc) << DriveSetText(false);
    UseSimulatedDrives(fileName);
    TimeReads("(drive-set file)", bench::Rounds(20000, 500));
    TimeDetection("(drive-set file)", bench::Rounds(200, 5));

    SetDriveAccess(std::make_shared<TSimulatedDriveAccess>(ParseDriveSet(DriveSetText(false), "memory")));
    TimeReads("(in memory)", bench::Rounds(20000, 500));
    TimeDetection("(in memory)", bench::Rounds(200, 5));

    // No extended geometry: each size comes from the geometry and a read probe
    // over the 3288 sectors past the last whole cylinder.
    SetDriveAccess(std::make_shared<TSimulatedDriveAccess>(ParseDriveSet(DriveSetText(true), "memory")));
    TimeDetection("(read probe)", bench::Rounds(20, 1));

    UseRealDrives();
    DeleteFile(fileName);
    return 0;
}
