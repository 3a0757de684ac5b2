// VexmoraU.exe: the program's entry.
#include "app/program.h"
#include "classlib/core/win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return ProgramBlock();
}
