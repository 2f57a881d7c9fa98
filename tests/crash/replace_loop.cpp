// The helper the crash campaign kills: it replaces the four launcher files of a game
// folder with the program's own journalled all-or-nothing replacement, switching between
// the old and the new contents as fast as it can, until it is killed. After a kill it
// recovers the folder as the program does at start.
//   replace_loop.exe <game folder> loop <event name>   signals the event, then loops
//   replace_loop.exe <game folder> once                 one replacement to the new set
//   replace_loop.exe <game folder> recover              finishes or undoes a killed one
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/file_replace.h"
#include "switch_files.h"
#include "win32/services.h"

namespace {

using vorlane::Bytes;
using vorlane::FileWrite;
using vorlane::crash::Set;

std::vector<FileWrite> filesFor(const vorlane::Text& folder, Set set) {
    std::vector<FileWrite> files;
    for (int i = 0; i < vorlane::crash::kFiles; ++i) {
        const std::string bytes = vorlane::crash::contents(i, set);
        const auto relative = vorlane::win32::narrow(vorlane::crash::kRelativePaths[i]);
        files.push_back({folder + "\\" + *relative, Bytes(bytes.begin(), bytes.end())});
    }
    return files;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc >= 3 ? argv[2] : L"";
    const auto folder = argc >= 3 ? vorlane::win32::narrow(argv[1]) : std::nullopt;
    if (!folder || (mode != L"once" && mode != L"recover" && (mode != L"loop" || argc < 4))) {
        std::fprintf(stderr, "usage: replace_loop <game folder> loop <event name> | once | recover\n");
        return 2;
    }
    vorlane::win32::Win32FileOps ops;
    const std::vector<FileWrite> sets[] = {filesFor(*folder, Set::New), filesFor(*folder, Set::Old)};
    const vorlane::JournalPlace journal{*folder + "\\" + *vorlane::win32::narrow(vorlane::crash::kJournal), *folder};
    if (mode != L"loop") {
        std::vector<vorlane::Text> targets;
        for (const FileWrite& f : sets[0]) targets.push_back(f.path);
        const vorlane::ReplaceOutcome outcome = mode == L"once"
                                                    ? vorlane::replaceFilesAtomically(ops, sets[0], journal)
                                                    : vorlane::recoverReplacement(ops, journal, targets);
        if (!outcome.ok) std::fprintf(stderr, "failed at %s\n", outcome.failedPath.c_str());
        return outcome.ok ? 0 : 1;
    }
    HANDLE started = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
    if (!started || !SetEvent(started)) return 3;
    for (unsigned round = 0;; ++round) {
        if (!vorlane::replaceFilesAtomically(ops, sets[round % 2], journal).ok) return 1;
    }
}
