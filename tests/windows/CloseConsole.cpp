// Ends a running program as Windows does when its console window is closed: the program's
// console control handlers run for CTRL_CLOSE_EVENT on a new thread of that process, and the
// process is ended as soon as they return.
//
//   vanmoor_windows_close_console PROGRAM.exe
#include <windows.h>

#include <tlhelp32.h>

#include <cwchar>
#include <iostream>

namespace {

DWORD ProcessIdOf(const wchar_t* program) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && found == 0;
         more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, program) == 0) {
            found = entry.th32ProcessID;
        }
    }
    CloseHandle(snapshot);
    return found;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const DWORD id = argc == 2 ? ProcessIdOf(argv[1]) : 0;
    const HANDLE process = id != 0 ? OpenProcess(PROCESS_ALL_ACCESS, FALSE, id) : nullptr;
    if (process == nullptr) {
        std::cerr << "no such program running\n";
        return 2;
    }
    // The system's routine that runs a process's handlers; system DLLs have the same address
    // in every process.
    const auto routine = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernelbase.dll"), "CtrlRoutine")));
    const HANDLE thread = CreateRemoteThread(
        process, nullptr, 0, routine,
        reinterpret_cast<void*>(static_cast<ULONG_PTR>(CTRL_CLOSE_EVENT)), 0, nullptr);
    if (thread == nullptr) {
        std::cerr << "cannot run the handlers\n";
        return 1;
    }
    WaitForSingleObject(thread, INFINITE);
    TerminateProcess(process, STATUS_CONTROL_C_EXIT);
    CloseHandle(thread);
    CloseHandle(process);
    return 0;
}
