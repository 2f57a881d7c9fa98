// The journal of a replacement, against crashes: the double dies during any one change to
// the disk (a write keeping half its bytes), and recovery must leave one whole set.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "platform/file_replace.h"
#include "platform/replace_journal.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;
using testing::FaultyFileOps;

const char* const kNames[] = {"TCLS/mmog_data.xml", "TCLS/config/dirserver.xml", "TCLS/config/VersionServerConfig.xml",
                              "TCLS/config/VersionServerConfigdynamic.ini"};

// Four launcher files with an old and a new content each, of sizes of their own. Without
// `existing`, the config files are new to the folder.
struct Launcher {
    testing::TempDir dir;
    bool existing;

    explicit Launcher(bool existing_) : existing(existing_) {
        fs::create_directories(dir.path() / "TCLS" / "config");
        for (int i = 0; i < 4; ++i) {
            if (i == 0 || existing) testing::writeFile(dir.path() / kNames[i], contents(i, false));
        }
    }
    static std::string contents(int i, bool fresh) { return std::string(100 * (i + 1) + fresh, fresh ? 'n' : 'o'); }
    Text target(int i) const { return dir.text() + "/" + kNames[i]; }
    Text journal() const { return dir.text() + "/TCLS/switch.vorlane-journal"; }
    std::vector<Text> targets() const { return {target(0), target(1), target(2), target(3)}; }
    std::vector<FileWrite> newSet() const {
        std::vector<FileWrite> files;
        for (int i = 0; i < 4; ++i) files.push_back({target(i), textToBytes(contents(i, true))});
        return files;
    }
    // "old" or "new" for a whole set and no other file; otherwise what is wrong.
    std::string census() const {
        std::string kinds, others;
        for (int i = 0; i < 4; ++i) {
            const bool present = fs::exists(dir.path() / kNames[i]);
            const std::string bytes = testing::readFile(dir.path() / kNames[i]);
            const bool old = present ? bytes == contents(i, false) : !(i == 0 || existing);
            kinds += old ? 'o' : present && bytes == contents(i, true) ? 'n' : '?';
        }
        for (const auto& e : fs::recursive_directory_iterator(dir.path())) {
            const std::string name = fs::relative(e.path(), dir.path()).string();
            if (e.is_regular_file() && std::find(std::begin(kNames), std::end(kNames), name) == std::end(kNames)) {
                others += " " + name;
            }
        }
        if (others.empty() && (kinds == "oooo" || kinds == "nnnn")) return kinds == "oooo" ? "old" : "new";
        return kinds + others;
    }
    // A replacement killed during its n-th change to the disk.
    void replaceKilledAt(int n) const {
        FaultyFileOps ops;
        ops.crashAt = n;
        (void)replaceFilesAtomically(ops, newSet(), journal());
    }
    int changesOfAReplacement() const {
        FaultyFileOps ops;
        EXPECT_TRUE(replaceFilesAtomically(ops, newSet(), journal()).ok);
        return ops.changes;
    }
    ReplaceOutcome recover(int killAt = 0) const {
        FaultyFileOps ops;
        ops.crashAt = killAt;
        ReplaceOutcome outcome = recoverReplacement(ops, journal(), targets());
        if (ops.dead()) outcome.failedPath = "killed";
        return outcome;
    }
};

// Killed at every change of a replacement, then killed at every change of its recovery,
// then recovered: always the same whole set, old until the journal is whole, new after.
TEST(ReplaceRecovery, AKillAtAnyStepOfAReplacementOrItsRecoveryLeavesOneWholeSet) {
    for (bool existing : {true, false}) {
        const int steps = Launcher(existing).changesOfAReplacement();
        std::vector<std::string> outcomes;
        for (int n = 1; n <= steps; ++n) {
            std::string outcome;
            for (int m = 0;; ++m) {  // m: the change of the recovery that is killed; 0: none
                Launcher l(existing);
                l.replaceKilledAt(n);
                const bool killed = l.recover(m).failedPath == "killed";
                EXPECT_TRUE(l.recover().ok);
                if (m == 0) outcome = l.census();
                EXPECT_EQ(l.census(), outcome) << "killed at change " << n << ", recovery killed at " << m;
                if (m > 0 && !killed) break;
            }
            EXPECT_TRUE(outcome == "old" || outcome == "new") << "killed at change " << n << ": " << outcome;
            EXPECT_FALSE(!outcomes.empty() && outcomes.back() == "new" && outcome == "old") << n;
            outcomes.push_back(outcome);
        }
        EXPECT_EQ(outcomes.front(), "old");
        EXPECT_EQ(outcomes.back(), "new");
    }
}

// A journal that a crash cut short, or power loss left damaged, reads as no journal: the
// replacement is undone, though the journal once whole would have finished it.
TEST(ReplaceRecovery, AJournalCutShortOrDamagedUndoesTheReplacement) {
    // The last kill that leaves every new file staged and no target kept yet: the journal is whole.
    int n = Launcher(true).changesOfAReplacement();
    for (;; --n) {
        Launcher l(true);
        l.replaceKilledAt(n);
        bool staged = true, kept = false;
        for (const Text& t : l.targets()) {
            staged = staged && fs::exists(stagedName(t));
            kept = kept || fs::exists(keptName(t));
        }
        if (staged && !kept) break;
    }
    const std::string whole = [&] {
        Launcher l(true);
        l.replaceKilledAt(n);
        return testing::readFile(l.journal());
    }();
    std::vector<std::string> damaged = {std::string(whole.size(), '\0')};
    for (std::size_t i = 0; i < whole.size(); i += 7) {
        damaged.push_back(whole.substr(0, i));
        damaged.push_back(whole);
        damaged.back()[i] ^= 0x01;
    }
    damaged.push_back(whole.substr(0, whole.size() - 1));
    std::vector<PlannedFile> foreign = parseJournal(textToBytes(whole)).value();
    foreign[1].target += "2";
    damaged.push_back(journalText(foreign));

    for (const std::string& journal : damaged) {
        Launcher l(true);
        l.replaceKilledAt(n);
        testing::writeFile(l.journal(), journal);
        EXPECT_TRUE(l.recover().ok);
        EXPECT_EQ(l.census(), "old") << "journal of " << journal.size() << " bytes: " << journal;
    }
    Launcher l(true);
    l.replaceKilledAt(n);
    EXPECT_TRUE(l.recover().ok);
    EXPECT_EQ(l.census(), "new") << "the whole journal";
}

}  // namespace
}  // namespace vorlane
