#include "platform/file_replace.h"

namespace vorlane {

Text stagedName(const Text& target) { return target + ".vorlane-new"; }
Text keptName(const Text& target) { return target + ".vorlane-old"; }

ReplaceOutcome replaceFilesAtomically(FileOps& ops, const std::vector<FileWrite>& files) {
    // Side files of an earlier run that was cut short are stale: the targets themselves
    // always hold complete old or new bytes.
    for (const FileWrite& f : files) {
        for (const Text& side : {stagedName(f.path), keptName(f.path)}) {
            if (ops.exists(side)) ops.remove(side);
        }
    }

    std::size_t staged = 0;
    for (; staged < files.size(); ++staged) {
        if (!ops.writeNew(stagedName(files[staged].path), files[staged].bytes)) break;
    }
    if (staged < files.size()) {
        for (std::size_t i = 0; i <= staged && i < files.size(); ++i) ops.remove(stagedName(files[i].path));
        return {false, files[staged].path};
    }

    struct Kept {
        bool existed = false;
        bool moved = false;
    };
    std::vector<Kept> kept(files.size());
    std::size_t failed = files.size();
    for (std::size_t i = 0; i < files.size(); ++i) {
        const Text& target = files[i].path;
        kept[i].existed = ops.exists(target);
        if (kept[i].existed && !ops.keepCopy(target, keptName(target))) {
            failed = i;
            break;
        }
        if (!ops.moveOver(stagedName(target), target)) {
            failed = i;
            break;
        }
        kept[i].moved = true;
    }

    if (failed == files.size()) {
        for (const FileWrite& f : files) ops.remove(keptName(f.path));
        return {true, {}};
    }

    // Put back what was already replaced, newest first.
    for (std::size_t i = failed + 1; i-- > 0;) {
        const Text& target = files[i].path;
        if (kept[i].moved) {
            if (kept[i].existed) {
                ops.moveOver(keptName(target), target);
            } else {
                ops.remove(target);
            }
        } else {
            ops.remove(keptName(target));
        }
    }
    for (const FileWrite& f : files) ops.remove(stagedName(f.path));
    return {false, files[failed].path};
}

}  // namespace vorlane
