#pragma once
// The journal of a replacement of several files: what is staged beside which target, so
// that a replacement cut short by a crash can be finished or undone at the next start.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/text.h"

namespace vorlane {

// One file of a replacement: its target and a fingerprint of the new bytes.
struct PlannedFile {
    Text target;
    bool existed = false;  // undoing puts the old bytes back; otherwise it removes the target
    std::uint64_t size = 0;
    std::uint64_t checksum = 0;
};

// 64-bit FNV-1a: any change of one byte changes it.
std::uint64_t checksum(const Bytes& bytes);

Text journalText(const std::vector<PlannedFile>& plan);
// Nothing unless the journal is whole: a journal cut short or damaged is refused.
std::optional<std::vector<PlannedFile>> parseJournal(const Bytes& bytes);

}  // namespace vorlane
