#include "switching/launcher_backup.h"

#include <algorithm>

#include "base/sealed_text.h"
#include "switching/launcher_files.h"
#include "switching/launcher_state.h"

// The list, 备份清单.txt, is a sealed record:
//   vorlane backup 1
//   <existed: 1 or 0> <size> <checksum> <name below the game folder>   (one per launcher file)
//   end <checksum of every byte before this line>
// A backup is replaced as one journalled replacement, the list moved last, so a crash leaves
// the previous backup or the new one, never a mix.
namespace vorlane {
namespace {

constexpr std::string_view kHeader = "vorlane backup 1\r\n";

Text folder(const App& app) { return app.gameDir + "\\Vorlane备份"; }
Text listPath(const App& app) { return folder(app) + "\\备份清单.txt"; }
JournalPlace backupJournal(const App& app) { return {folder(app) + "\\backup.vorlane-journal", app.gameDir}; }

std::vector<Text> backupTargets(const App& app) {
    std::vector<Text> targets;
    for (const Text& target : launcherTargets(app)) targets.push_back(folder(app) + "\\" + nameBelow(app.gameDir, target));
    targets.push_back(listPath(app));
    return targets;
}

// The list's entries in the order of the launcher files; nothing when it does not read.
std::optional<std::vector<KeptFile>> listed(const App& app, const Bytes& bytes) {
    const auto body = sealedBody(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!body || !body->starts_with(kHeader)) return std::nullopt;
    std::vector<KeptFile> files;
    std::string_view rest = body->substr(kHeader.size());
    for (const Text& target : launcherTargets(app)) {
        const std::size_t end = rest.find(kLineEnd);
        std::string_view line = rest.substr(0, end);
        const auto existed = takeFlag(line);
        const auto size = takeNumber(line);
        const auto sum = takeChecksum(line);
        const Text name = nameBelow(app.gameDir, target);
        if (end == std::string_view::npos || !existed || !size || !sum || line != name) return std::nullopt;
        files.push_back({target, folder(app) + "\\" + name, *existed, {*size, *sum}});
        rest.remove_prefix(end + kLineEnd.size());
    }
    if (!rest.empty()) return std::nullopt;
    return files;
}

Text refusal(const Text& path) { return "提示：无法备份游戏原来的启动器文件，未作任何修改：" + path; }

// Each folder of `name` below the game folder, made where it is missing.
std::optional<Text> makeFolders(App& app, const Text& name) {
    Text path = folder(app);
    if (!app.platform.makeFolder(path)) return path;
    for (std::size_t slash = name.find('\\'); slash != Text::npos; slash = name.find('\\', slash + 1)) {
        path = folder(app) + "\\" + name.substr(0, slash);
        if (!app.platform.makeFolder(path)) return path;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Backup> readBackup(App& app) {
    if (!app.platform.exists(listPath(app))) return std::nullopt;
    const FileRead list = app.platform.readFileBytes(listPath(app));
    auto files = list.ok ? listed(app, list.bytes) : std::nullopt;
    if (!files) return Backup{{}, listPath(app)};
    Backup backup{std::move(*files), {}};
    for (KeptFile& kept : backup.files) {
        if (!kept.existed) continue;
        FileRead copy = app.platform.readFileBytes(kept.copy);
        if (!copy.ok || fingerprint(copy.bytes) != kept.print) {
            backup.damaged = kept.copy;
            break;
        }
        kept.bytes = std::move(copy.bytes);
    }
    return backup;
}

bool holdsBackup(App& app, const Backup& backup) {
    for (const KeptFile& kept : backup.files) {
        if (!kept.existed) {
            if (app.platform.exists(kept.target)) return false;
            continue;
        }
        const FileRead now = app.platform.readFileBytes(kept.target);
        if (!now.ok || now.bytes != kept.bytes) return false;
    }
    return true;
}

std::optional<Text> keepGameLauncher(App& app) {
    // Without the launcher the switch fails by itself; a set this program wrote is never kept.
    if (!app.platform.exists(app.gameDir + "\\TCLS\\config") || switchedTo(app)) return std::nullopt;
    if (auto backup = readBackup(app); backup && backup->damaged.empty() && holdsBackup(app, *backup)) {
        return std::nullopt;
    }
    const std::vector<Text> targets = launcherTargets(app);
    // A folder without any of them holds nothing of the game's to keep.
    if (std::none_of(targets.begin(), targets.end(), [&](const Text& t) { return app.platform.exists(t); })) {
        return std::nullopt;
    }
    std::vector<FileWrite> writes;
    Text list(kHeader);
    for (const Text& target : targets) {
        const Text name = nameBelow(app.gameDir, target);
        const Text copy = folder(app) + "\\" + name;
        if (auto missing = makeFolders(app, name)) return refusal(*missing);
        const bool existed = app.platform.exists(target);
        const FileRead read = existed ? app.platform.readFileBytes(target) : FileRead{.ok = true};
        if (!read.ok) return refusal(target);
        const Fingerprint print = fingerprint(read.bytes);
        list += Text(existed ? "1 " : "0 ") + std::to_string(print.size) + " " + checksumField(print.checksum) + " " +
                name + Text(kLineEnd);
        if (existed) {
            writes.push_back({copy, read.bytes});
        } else if (app.platform.exists(copy)) {
            writes.push_back({copy, {}, true});  // left by an earlier backup
        }
    }
    writes.push_back({listPath(app), textToBytes(sealedText(list))});
    const ReplaceOutcome outcome = app.platform.replaceFiles(writes, backupJournal(app));
    if (!outcome.ok) return refusal(outcome.notRestored.empty() ? outcome.failedPath : outcome.notRestored.front());
    return std::nullopt;
}

void recoverBackup(App& app) {
    // What cannot be put right now leaves the backup unreadable: the link that restores it
    // stays hidden, and the next switch over the game's own files says so.
    if (app.platform.exists(folder(app))) (void)app.platform.recoverFiles(backupJournal(app), backupTargets(app));
}

}  // namespace vorlane
