#pragma once
// The four launcher files a switch replaces, and the two known contents the campaign
// alternates between. Every file has its own size in each set, so a truncated, missing
// or mixed file never passes for a complete one.
#include <string>

namespace vorlane::crash {

constexpr int kFiles = 4;

// Relative to the game folder, in the order a switch writes them.
constexpr const wchar_t* kRelativePaths[kFiles] = {
    L"TCLS\\mmog_data.xml",
    L"TCLS\\config\\dirserver.xml",
    L"TCLS\\config\\VersionServerConfig.xml",
    L"TCLS\\config\\VersionServerConfigdynamic.ini",
};

// Where the replacement keeps its journal, relative to the game folder.
constexpr const wchar_t* kJournal = L"TCLS\\switch.vorlane-journal";

enum class Set { Old, New };

// Numbered lines naming the file and the set, cut to a size that differs per file and set.
inline std::string contents(int file, Set set) {
    const std::size_t size = 6000 * static_cast<std::size_t>(file + 1) + (set == Set::Old ? 123 : 4567);
    const std::string tag = "file " + std::to_string(file) + (set == Set::Old ? " old " : " new ");
    std::string bytes;
    for (int line = 0; bytes.size() < size; ++line) bytes += tag + std::to_string(line) + "\r\n";
    bytes.resize(size);
    return bytes;
}

}  // namespace vorlane::crash
