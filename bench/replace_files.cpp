// Times the switch's file replacement against its baseline, alternating the two:
//   replace_files.exe <game folder> <rounds>
// Per round one JSON line each: {"replace_files_ms": x} for the program's journalled
// all-or-nothing replacement of the four launcher files (Win32FileOps), and {"plain_writes_ms": x} for
// the least a writer can do that still puts the bytes on disk: each file overwritten in
// place and flushed, with no side files and no way back.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/file_replace.h"
#include "win32/services.h"

namespace {

using vorlane::Bytes;
using vorlane::FileWrite;
using vorlane::Text;

// The four launcher files with bytes of about their real sizes; `round` makes each set new.
std::vector<FileWrite> launcherFiles(const Text& folder, int round) {
    const char* names[] = {"\\TCLS\\config\\dirserver.xml", "\\TCLS\\config\\VersionServerConfig.xml",
                           "\\TCLS\\config\\VersionServerConfigdynamic.ini", "\\TCLS\\mmog_data.xml"};
    const std::size_t sizes[] = {700, 420, 90, 380};
    std::vector<FileWrite> files;
    for (int i = 0; i < 4; ++i) {
        Bytes bytes(sizes[i], static_cast<std::uint8_t>('a' + (round + i) % 26));
        files.push_back({folder + names[i], bytes});
    }
    return files;
}

bool plainWrites(const std::vector<FileWrite>& files) {
    for (const FileWrite& f : files) {
        auto path = vorlane::win32::systemPath(f.path);
        if (!path) return false;
        HANDLE file = CreateFileW(path->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        DWORD wrote = 0;
        bool ok = WriteFile(file, f.bytes.data(), static_cast<DWORD>(f.bytes.size()), &wrote, nullptr) &&
                  wrote == f.bytes.size() && FlushFileBuffers(file);
        if (!CloseHandle(file) || !ok) return false;
    }
    return true;
}

double elapsedMs(LARGE_INTEGER start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    auto folder = argc == 3 ? vorlane::win32::narrow(argv[1]) : std::nullopt;
    int rounds = argc == 3 ? _wtoi(argv[2]) : 0;
    if (!folder || rounds < 1) {
        std::fprintf(stderr, "usage: replace_files <game folder> <rounds>\n");
        return 2;
    }
    CreateDirectoryW((std::wstring(argv[1]) + L"\\TCLS").c_str(), nullptr);
    CreateDirectoryW((std::wstring(argv[1]) + L"\\TCLS\\config").c_str(), nullptr);
    if (!plainWrites(launcherFiles(*folder, 0))) return 1;

    vorlane::win32::Win32FileOps ops;
    for (int round = 1; round <= rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            // Which goes first alternates, so that neither always finds a warmer cache.
            bool replace = (turn == 0) == (round % 2 == 1);
            std::vector<FileWrite> files = launcherFiles(*folder, 2 * round + turn);
            LARGE_INTEGER start;
            QueryPerformanceCounter(&start);
            bool ok = replace ? replaceFilesAtomically(ops, files, {*folder + "\\TCLS\\switch.vorlane-journal", *folder}).ok
                              : plainWrites(files);
            double ms = elapsedMs(start);
            if (!ok) return 1;
            std::printf("{\"%s\": %.3f}\n", replace ? "replace_files_ms" : "plain_writes_ms", ms);
        }
    }
    return 0;
}
