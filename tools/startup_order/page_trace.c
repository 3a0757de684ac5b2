// Built only for tools/startup_order: loaded into the program, it records
// which pages of the program's code run. Every page of the code section
// starts without access; the first touch of a page raises an access
// violation, which is noted and the page opened again. After a while (the
// environment's VEXMORA_PAGE_TRACE_SECONDS, 20 by default) the addresses of
// the pages touched so far go to the file VEXMORA_PAGE_TRACE_FILE names.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

static BYTE* code;
static SIZE_T codeSize;
// Where the code section's pages lie when the program is loaded at its
// preferred base, which is what the linker's symbols say.
static SIZE_T preferredCode;
static volatile BYTE* touched;

static LONG CALLBACK NoteTouch(EXCEPTION_POINTERS* Pointers) {
    const EXCEPTION_RECORD* record = Pointers->ExceptionRecord;
    if (record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    BYTE* address = (BYTE*)record->ExceptionInformation[1];
    if (address < code || address >= code + codeSize) return EXCEPTION_CONTINUE_SEARCH;
    const SIZE_T page = (SIZE_T)(address - code) / 4096;
    DWORD old;
    touched[page] = 1;
    VirtualProtect(code + page * 4096, 4096, PAGE_EXECUTE_READ, &old);
    return EXCEPTION_CONTINUE_EXECUTION;
}

// The program's own vectored handlers live in its code: were they called
// before ours, the first one would fault on its own page without end. The
// program's imported AddVectoredExceptionHandler is pointed here, which puts
// them after ours.
static PVOID WINAPI AddHandlerLast(ULONG First, PVECTORED_EXCEPTION_HANDLER Handler) {
    (void)First;
    return AddVectoredExceptionHandler(0, Handler);
}

static void RedirectHandlerImports(BYTE* Image, const IMAGE_NT_HEADERS* Headers) {
    const IMAGE_DATA_DIRECTORY imports = Headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const FARPROC real = GetProcAddress(GetModuleHandleA("kernel32.dll"), "AddVectoredExceptionHandler");
    for (IMAGE_IMPORT_DESCRIPTOR* module = (IMAGE_IMPORT_DESCRIPTOR*)(Image + imports.VirtualAddress);
         imports.VirtualAddress && module->Name; ++module)
        for (FARPROC* slot = (FARPROC*)(Image + module->FirstThunk); *slot; ++slot)
            if (*slot == real) {
                DWORD old;
                VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
                *slot = (FARPROC)(void*)AddHandlerLast;
                VirtualProtect(slot, sizeof *slot, old, &old);
            }
}

static DWORD WINAPI WriteWhenDone(void* Unused) {
    (void)Unused;
    const char* seconds = getenv("VEXMORA_PAGE_TRACE_SECONDS");
    const char* name = getenv("VEXMORA_PAGE_TRACE_FILE");
    Sleep((seconds ? (DWORD)atoi(seconds) : 20) * 1000);
    if (!name) return 0;
    char partial[MAX_PATH];
    snprintf(partial, sizeof partial, "%s.partial", name);
    FILE* out = fopen(partial, "w");
    if (!out) return 0;
    for (SIZE_T page = 0; page < codeSize / 4096; ++page)
        if (touched[page]) fprintf(out, "%lx\n", (unsigned long)(preferredCode + page * 4096));
    fclose(out);
    MoveFileExA(partial, name, MOVEFILE_REPLACE_EXISTING);
    return 0;
}

// The program refers to this, so that it imports (and so loads) the tracer.
__declspec(dllexport) int PageTraceAnchor(void) {
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE Instance, DWORD Reason, void* Reserved) {
    (void)Instance;
    (void)Reserved;
    if (Reason != DLL_PROCESS_ATTACH) return TRUE;
    BYTE* image = (BYTE*)GetModuleHandleA(NULL);
    const IMAGE_NT_HEADERS* headers = (const IMAGE_NT_HEADERS*)(image + ((IMAGE_DOS_HEADER*)image)->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(headers);
    if (!(section->Characteristics & IMAGE_SCN_CNT_CODE)) return TRUE;
    code = image + section->VirtualAddress;
    preferredCode = headers->OptionalHeader.ImageBase + section->VirtualAddress;
    codeSize = (section->Misc.VirtualSize + 4095) & ~(SIZE_T)4095;
    touched = (volatile BYTE*)VirtualAlloc(NULL, codeSize / 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!touched) return TRUE;
    RedirectHandlerImports(image, headers);
    AddVectoredExceptionHandler(1, NoteTouch);
    DWORD old;
    VirtualProtect(code, codeSize, PAGE_NOACCESS, &old);
    HANDLE writer = CreateThread(NULL, 0, WriteWhenDone, NULL, 0, NULL);
    if (writer) CloseHandle(writer);
    return TRUE;
}
