#include "platform/file_copy.h"

#include <algorithm>
#include <vector>

#include "platform/file_replace.h"

// A copy takes these steps, each piece of it held in memory only while it passes:
//   1. the source, a regular file, is copied to <target>.vorlane-new, which is flushed;
//   2. the staged copy is read back against the source;
//   3. the caller's last step, if any, may hold it back;
//   4. it is moved over the target in one step.
// A failure removes the staged copy; a crash leaves the target whole, and at worst a staged
// copy that the next copy writes anew. An empty source is no music: nothing is written.
namespace vorlane {
namespace {

constexpr std::size_t kPiece = 1u << 20;

// As many bytes as fill `into` or are left in the file; nullopt when a read fails.
std::optional<std::size_t> readPiece(FileReader& file, std::vector<std::uint8_t>& into) {
    std::size_t got = 0;
    while (got < into.size()) {
        const std::optional<std::size_t> n = file.read(into.data() + got, into.size() - got);
        if (!n) return std::nullopt;
        if (*n == 0) break;
        got += *n;
    }
    return got;
}

CopyOutcome writeCopy(FileReader& from, FileWriter& to) {
    std::vector<std::uint8_t> piece(kPiece);
    bool empty = true;
    for (;;) {
        const std::optional<std::size_t> n = readPiece(from, piece);
        if (!n) return CopyOutcome::SourceUnusable;
        if (*n == 0) break;
        if (!to.write(piece.data(), *n)) return CopyOutcome::TargetUnwritable;
        empty = false;
    }
    if (empty) return CopyOutcome::SourceUnusable;
    return to.finish() ? CopyOutcome::Copied : CopyOutcome::TargetUnwritable;
}

bool readsBackAs(CopyOps& ops, const Text& copy, const Text& original) {
    const std::unique_ptr<FileReader> a = ops.openRegular(copy);
    const std::unique_ptr<FileReader> b = a ? ops.openRegular(original) : nullptr;
    if (!b) return false;
    std::vector<std::uint8_t> x(kPiece), y(kPiece);
    for (;;) {
        const std::optional<std::size_t> n = readPiece(*a, x);
        const std::optional<std::size_t> m = readPiece(*b, y);
        if (!n || !m || *n != *m || !std::equal(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(*n), y.begin())) {
            return false;
        }
        if (*n == 0) return true;
    }
}

}  // namespace

CopyOutcome copyFileAtomically(CopyOps& ops, const Text& source, const Text& target,
                               const std::function<bool()>& beforeReplacing) {
    const Text staged = stagedName(target);
    CopyOutcome outcome;
    {
        const std::unique_ptr<FileReader> from = ops.openRegular(source);
        if (!from) return CopyOutcome::SourceUnusable;
        const std::unique_ptr<FileWriter> to = ops.createRegular(staged);
        if (!to) return CopyOutcome::TargetUnwritable;
        outcome = writeCopy(*from, *to);
    }
    if (outcome == CopyOutcome::Copied) {
        if (!readsBackAs(ops, staged, source)) {
            outcome = CopyOutcome::TargetUnwritable;
        } else if (beforeReplacing && !beforeReplacing()) {
            outcome = CopyOutcome::HeldBack;
        } else if (ops.moveOver(staged, target)) {
            return outcome;
        } else {
            outcome = CopyOutcome::TargetUnwritable;
        }
    }
    ops.remove(staged);
    return outcome;
}

}  // namespace vorlane
