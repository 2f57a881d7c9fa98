#include "platform/file_replace.h"

#include <algorithm>

#include "platform/replace_journal.h"

// A journalled replacement takes these steps; every write and move reaches the disk
// before the next step begins:
//   1. stage: the new bytes of every target go to <target>.vorlane-new;
//   2. journal: every target with the size and checksum of its new bytes;
//   3. move, in order: the target is kept as <target>.vorlane-old, the staged file moved over it;
//   4. read every target back; 5. drop the kept copies; 6. remove the journal.
// A crash before the journal is whole leaves every target untouched: recovery removes the
// side files. From then on every file's new bytes are intact, staged or in place, so
// recovery finishes steps 3 to 6. A failure in step 3 or 4 puts every target back; doing so
// removes the staged files first, after which a recovery can only undo too.
namespace vorlane {

Text stagedName(const Text& target) { return target + ".vorlane-new"; }
Text keptName(const Text& target) { return target + ".vorlane-old"; }

namespace {

constexpr ReplaceOutcome kDone{true, {}};

std::vector<Text> targetsOf(const std::vector<FileWrite>& files) {
    std::vector<Text> targets;
    for (const FileWrite& f : files) targets.push_back(f.path);
    return targets;
}

void removeSideFiles(FileOps& ops, const std::vector<Text>& targets) {
    for (const Text& target : targets) {
        for (const Text& side : {stagedName(target), keptName(target)}) {
            if (ops.exists(side)) ops.remove(side);
        }
    }
}

// `exact`, when known, are the new bytes themselves; otherwise the fingerprint decides.
bool holdsNewBytes(FileOps& ops, const Text& path, const PlannedFile& file, const Bytes* exact) {
    const FileRead read = ops.read(path);
    if (!read.ok) return false;
    if (exact) return read.bytes == *exact;
    return read.bytes.size() == file.size && checksum(read.bytes) == file.checksum;
}

bool everyNewFileIntact(FileOps& ops, const std::vector<PlannedFile>& plan) {
    for (const PlannedFile& f : plan) {
        const Text staged = stagedName(f.target);
        if (!holdsNewBytes(ops, ops.exists(staged) ? staged : f.target, f, nullptr)) return false;
    }
    return true;
}

// Every target gets back the bytes it had; the journal goes only when all of them did.
ReplaceOutcome putBack(FileOps& ops, const std::vector<PlannedFile>& plan, const Text& journal) {
    ReplaceOutcome outcome = kDone;
    auto failed = [&](const Text& path) {
        if (outcome.ok) outcome = {false, path};
    };
    for (const PlannedFile& f : plan) {
        const Text staged = stagedName(f.target);
        if (ops.exists(staged) && !ops.remove(staged)) failed(f.target);
    }
    for (auto f = plan.rbegin(); f != plan.rend(); ++f) {
        const Text kept = keptName(f->target);
        if (ops.exists(kept)) {
            // A target that was never replaced already holds the kept bytes.
            const FileRead old = ops.read(kept);
            const FileRead now = ops.read(f->target);
            if (!(old.ok && now.ok && old.bytes == now.bytes) && !ops.moveOver(kept, f->target)) {
                failed(f->target);
                continue;
            }
            // Moving one name of a file over another name of the same file can leave both.
            if (ops.exists(kept) && !ops.remove(kept)) failed(f->target);
        } else if (!f->existed && ops.exists(f->target) && !ops.remove(f->target)) {
            failed(f->target);
        }
    }
    if (outcome.ok && !journal.empty() && ops.exists(journal)) ops.remove(journal);
    return outcome;
}

// Steps 3 to 6 for every file whose staged copy is still there; on failure, puts all back.
ReplaceOutcome finish(FileOps& ops, const std::vector<PlannedFile>& plan, const Text& journal,
                      const std::vector<FileWrite>* intended) {
    for (const PlannedFile& f : plan) {
        const Text staged = stagedName(f.target);
        const Text kept = keptName(f.target);
        if (!ops.exists(staged)) continue;
        // The target still holds its old bytes. They are kept afresh: a copy that a crash
        // cut short would otherwise be put back over them.
        const bool keptOld = (!ops.exists(kept) || ops.remove(kept)) &&
                             (!ops.exists(f.target) || ops.keepCopy(f.target, kept));
        if (!keptOld || !ops.moveOver(staged, f.target)) {
            (void)putBack(ops, plan, journal);
            return {false, f.target};
        }
    }
    for (std::size_t i = 0; i < plan.size(); ++i) {
        if (!holdsNewBytes(ops, plan[i].target, plan[i], intended ? &(*intended)[i].bytes : nullptr)) {
            (void)putBack(ops, plan, journal);
            return {false, plan[i].target};
        }
    }
    for (const PlannedFile& f : plan) {
        if (ops.exists(keptName(f.target))) ops.remove(keptName(f.target));
    }
    if (!journal.empty()) ops.remove(journal);
    return kDone;
}

}  // namespace

ReplaceOutcome replaceFilesAtomically(FileOps& ops, const std::vector<FileWrite>& files, const Text& journal) {
    const std::vector<Text> targets = targetsOf(files);
    if (journal.empty()) {
        // Without a journal, side files of a run that was cut short are stale: each target
        // always holds complete old or new bytes.
        removeSideFiles(ops, targets);
    } else if (ReplaceOutcome earlier = recoverReplacement(ops, journal, targets); !earlier.ok) {
        return earlier;
    }

    std::vector<PlannedFile> plan;
    for (const FileWrite& f : files) {
        if (!ops.writeNew(stagedName(f.path), f.bytes)) {
            removeSideFiles(ops, targets);
            return {false, f.path};
        }
        plan.push_back({f.path, ops.exists(f.path), f.bytes.size(), checksum(f.bytes)});
    }
    if (!journal.empty() && !ops.writeNew(journal, textToBytes(journalText(plan)))) {
        if (ops.exists(journal)) ops.remove(journal);
        removeSideFiles(ops, targets);
        return {false, journal};
    }
    return finish(ops, plan, journal, &files);
}

ReplaceOutcome recoverReplacement(FileOps& ops, const Text& journal, const std::vector<Text>& targets) {
    if (ops.exists(journal)) {
        const FileRead read = ops.read(journal);
        // Unreadable is not damaged: guessing could mix the two sets, so try again later.
        if (!read.ok) return {false, journal};
        std::optional<std::vector<PlannedFile>> plan = parseJournal(read.bytes);
        for (std::size_t i = 0; plan && i < plan->size(); ++i) {
            if (std::find(targets.begin(), targets.end(), (*plan)[i].target) == targets.end()) plan.reset();
        }
        ReplaceOutcome outcome;
        if (plan && everyNewFileIntact(ops, *plan)) {
            outcome = finish(ops, *plan, journal, nullptr);
        } else if (plan) {
            outcome = putBack(ops, *plan, journal);
        } else {
            // A journal cut short was being written: nothing has been moved yet.
            std::vector<PlannedFile> unknown;
            for (const Text& target : targets) unknown.push_back({target, true, 0, 0});
            outcome = putBack(ops, unknown, journal);
        }
        if (!outcome.ok) return outcome;
    }
    removeSideFiles(ops, targets);
    return kDone;
}

}  // namespace vorlane
