#pragma once
// The journal of a replacement of several files: what is staged beside which target, and
// what every target held before, so that a replacement cut short by a crash can be finished
// or undone at the next start, whatever the spelling of the folder by then.
#include <cstdint>
#include <vector>

#include "base/text.h"

namespace vorlane {

// The length and 64-bit FNV-1a checksum of some bytes: any change of one byte changes it.
struct Fingerprint {
    std::uint64_t size = 0;
    std::uint64_t checksum = 0;
    bool operator==(const Fingerprint&) const = default;
};

Fingerprint fingerprint(const Bytes& bytes);

// One file of a replacement.
struct PlannedFile {
    Text name{};    // below the root, as the journal names it
    Text target{};  // the full path, in the spelling of this run
    bool existed = false;  // undoing puts `old` back; otherwise it removes the target
    Fingerprint old{};     // what the target held, when it existed
    bool stays = true;     // false: the replacement removes the target
    Fingerprint fresh{};   // the new bytes, when it stays
};

Text journalText(const std::vector<PlannedFile>& plan);

struct ParsedJournal {
    enum class Kind {
        Damaged,  // cut short or altered: it was being written, so nothing was moved yet
        Unknown,  // whole, but of another format, or naming a file that is no target
        Plan,
    };
    Kind kind = Kind::Damaged;
    std::vector<PlannedFile> plan{};  // targets resolved, in the journal's order
};

// `targets` are the files the journal may name, as full paths below `root`; names are matched
// without regard to ASCII case or the kind of slash.
ParsedJournal parseJournal(const Bytes& bytes, const Text& root, const std::vector<Text>& targets);

// The part of `target` below `root`; empty when it does not lie below it.
Text nameBelow(const Text& root, const Text& target);

}  // namespace vorlane
