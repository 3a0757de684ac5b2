// A shell that records what it was asked to open instead of opening it, and
// answers as told.
#pragma once

#include <string>
#include <vector>

#include "classlib/services/shellservice.h"

class RecordingShell : public TShellService {
public:
    std::vector<std::string> opened;
    int answer = 42;
    bool Execute(HWND, const std::string& Verb, const std::string& File, const std::string&,
                 const std::string&, int) override {
        opened.push_back(Verb + " " + File);
        return answer > 32;
    }
    bool ExecuteEx(ULONG, HWND, const std::string&, const std::string&, const std::string&,
                   const std::string&, int) override {
        return false;
    }
    bool Run(const std::string&, int) override { return false; }
};
