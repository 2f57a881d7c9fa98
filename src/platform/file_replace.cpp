#include "platform/file_replace.h"

#include <algorithm>

#include "platform/replace_journal.h"

// A journalled replacement takes these steps; every write and move reaches the disk
// before the next step begins:
//   1. stage: the new bytes of every target go to <target>.vorlane-new;
//   2. journal: every target, named below the root, with a fingerprint of what it held (or
//      that it did not exist) and of its new bytes (or that it goes);
//   3. move, in order: the target is kept as <target>.vorlane-old, the staged file moved over
//      it (a target that goes is removed);
//   4. read every target back; 5. drop the kept copies; 6. remove the journal.
// A crash before the journal is whole leaves every target untouched: recovery removes the
// side files. From then on every file's new bytes are intact, staged or in place, so
// recovery finishes steps 3 to 6. A failure in step 3 or 4 puts every target back; doing so
// removes the staged files first, after which a recovery can only undo too. Nothing is put
// back unchecked: a kept copy only if it holds the old bytes, and a target that did not exist
// is removed only while it holds the new ones. What an undo cannot put right is named, and
// the journal stays for the next start. A whole journal of another format, or naming a file
// that is no target, changes nothing.
namespace vorlane {

Text stagedName(const Text& target) { return target + ".vorlane-new"; }
Text keptName(const Text& target) { return target + ".vorlane-old"; }

namespace {

ReplaceOutcome done() { return {.ok = true}; }

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

bool holds(FileOps& ops, const Text& path, const Fingerprint& print) {
    const FileRead read = ops.read(path);
    return read.ok && fingerprint(read.bytes) == print;
}

// `exact`, when known, are the new bytes themselves; otherwise the fingerprint decides.
bool holdsNewBytes(FileOps& ops, const Text& path, const PlannedFile& file, const Bytes* exact) {
    if (!file.stays) return !ops.exists(path);
    if (!exact) return holds(ops, path, file.fresh);
    const FileRead read = ops.read(path);
    return read.ok && read.bytes == *exact;
}

// A target that goes has no new bytes to lose.
bool everyNewFileIntact(FileOps& ops, const std::vector<PlannedFile>& plan) {
    for (const PlannedFile& f : plan) {
        if (!f.stays) continue;
        const Text staged = stagedName(f.target);
        if (!holdsNewBytes(ops, ops.exists(staged) ? staged : f.target, f, nullptr)) return false;
    }
    return true;
}

// Every target that does not hold what it held before (a target that did not exist: still
// holds our bytes). When all do, the side files and the journal that could not be removed.
std::vector<Text> notAsBefore(FileOps& ops, const std::vector<PlannedFile>& plan, const Text& journal) {
    std::vector<Text> left;
    for (const PlannedFile& f : plan) {
        if (f.existed ? !holds(ops, f.target, f.old) : f.stays && holds(ops, f.target, f.fresh)) {
            left.push_back(f.target);
        }
    }
    if (!left.empty()) return left;
    for (const PlannedFile& f : plan) {
        for (const Text& side : {stagedName(f.target), keptName(f.target)}) {
            if (ops.exists(side)) left.push_back(side);
        }
    }
    if (left.empty() && !journal.empty() && ops.exists(journal) && !ops.remove(journal)) left.push_back(journal);
    return left;
}

// Every target gets back what it held; the journal goes only when all of them did.
std::vector<Text> putBack(FileOps& ops, const std::vector<PlannedFile>& plan, const Text& journal) {
    for (const PlannedFile& f : plan) {
        const Text staged = stagedName(f.target);
        if (ops.exists(staged)) ops.remove(staged);
    }
    for (auto f = plan.rbegin(); f != plan.rend(); ++f) {
        const Text kept = keptName(f->target);
        if (ops.exists(kept)) {
            // A copy that a power loss cut short stays under its own name; its target is named.
            if (!holds(ops, kept, f->old)) continue;
            if (!holds(ops, f->target, f->old) && !ops.moveOver(kept, f->target)) continue;
            // Moving one name of a file over another name of the same file can leave both.
            if (ops.exists(kept)) ops.remove(kept);
        } else if (!f->existed && f->stays && holds(ops, f->target, f->fresh)) {
            // Only our own bytes go: the launcher may have written the file since.
            ops.remove(f->target);
        }
    }
    return notAsBefore(ops, plan, journal);
}

ReplaceOutcome undone(FileOps& ops, const std::vector<PlannedFile>& plan, const Text& journal, const Text& failed) {
    std::vector<Text> left = putBack(ops, plan, journal);
    return {.failedPath = failed.empty() && !left.empty() ? left.front() : failed, .notRestored = std::move(left)};
}

// Steps 3 to 6 for every file whose staged copy is still there; on failure, puts all back.
ReplaceOutcome finish(FileOps& ops, const std::vector<PlannedFile>& plan, const Text& journal,
                      const std::vector<FileWrite>* intended) {
    for (const PlannedFile& f : plan) {
        const Text staged = stagedName(f.target);
        const Text kept = keptName(f.target);
        if (f.stays ? !ops.exists(staged) : !ops.exists(f.target)) continue;
        // The target still holds its old bytes. They are kept afresh: a copy that a crash
        // cut short would otherwise be left to an undo.
        const bool keptOld = (!ops.exists(kept) || ops.remove(kept)) &&
                             (!ops.exists(f.target) || ops.keepCopy(f.target, kept));
        if (!keptOld || !(f.stays ? ops.moveOver(staged, f.target) : ops.remove(f.target))) {
            return undone(ops, plan, journal, f.target);
        }
    }
    for (std::size_t i = 0; i < plan.size(); ++i) {
        if (!holdsNewBytes(ops, plan[i].target, plan[i], intended ? &(*intended)[i].bytes : nullptr)) {
            return undone(ops, plan, journal, plan[i].target);
        }
    }
    // The set is whole and new. A kept copy or the journal that cannot be removed now is
    // removed at the next start: the journal then reads as this finished switch.
    for (const PlannedFile& f : plan) {
        if (ops.exists(keptName(f.target))) ops.remove(keptName(f.target));
    }
    if (!journal.empty()) ops.remove(journal);
    return done();
}

}  // namespace

ReplaceOutcome replaceFilesAtomically(FileOps& ops, const std::vector<FileWrite>& files, const JournalPlace& journal) {
    const std::vector<Text> targets = targetsOf(files);
    if (journal.path.empty()) {
        // Without a journal, side files of a run that was cut short are stale: each target
        // always holds complete old or new bytes.
        removeSideFiles(ops, targets);
    } else if (ReplaceOutcome earlier = recoverReplacement(ops, journal, targets); !earlier.ok) {
        return earlier;
    }

    std::vector<PlannedFile> plan;
    for (const FileWrite& f : files) {
        PlannedFile planned{.name = nameBelow(journal.root, f.path), .target = f.path, .existed = ops.exists(f.path),
                            .stays = !f.remove, .fresh = f.remove ? Fingerprint{} : fingerprint(f.bytes)};
        // What the target holds now is what an undo must find again.
        const FileRead old = planned.existed ? ops.read(f.path) : FileRead{.ok = true};
        planned.old = fingerprint(old.bytes);
        const bool named = journal.path.empty() || !planned.name.empty();
        if (!named || !old.ok || (planned.stays && !ops.writeNew(stagedName(f.path), f.bytes))) {
            removeSideFiles(ops, targets);
            return {.failedPath = f.path};
        }
        plan.push_back(std::move(planned));
    }
    if (!journal.path.empty() && !ops.writeNew(journal.path, textToBytes(journalText(plan)))) {
        if (ops.exists(journal.path)) ops.remove(journal.path);
        removeSideFiles(ops, targets);
        return {.failedPath = journal.path};
    }
    return finish(ops, plan, journal.path, &files);
}

ReplaceOutcome recoverReplacement(FileOps& ops, const JournalPlace& journal, const std::vector<Text>& targets) {
    if (ops.exists(journal.path)) {
        const FileRead read = ops.read(journal.path);
        // Unreadable is not damaged: guessing could mix the two sets, so try again later.
        if (!read.ok) return {.failedPath = journal.path, .notRestored = {journal.path}};
        const ParsedJournal parsed = parseJournal(read.bytes, journal.root, targets);
        switch (parsed.kind) {
            case ParsedJournal::Kind::Unknown:
                return {.failedPath = journal.path, .unknownJournal = true};
            case ParsedJournal::Kind::Damaged:
                // It was being written: nothing has been moved yet, so only side files go.
                removeSideFiles(ops, targets);
                if (!ops.remove(journal.path)) return {.failedPath = journal.path, .notRestored = {journal.path}};
                break;
            case ParsedJournal::Kind::Plan: {
                const ReplaceOutcome outcome = everyNewFileIntact(ops, parsed.plan)
                                                   ? finish(ops, parsed.plan, journal.path, nullptr)
                                                   : undone(ops, parsed.plan, journal.path, {});
                if (!outcome.ok && !outcome.notRestored.empty()) return outcome;
                break;
            }
        }
    }
    removeSideFiles(ops, targets);
    return done();
}

}  // namespace vorlane
