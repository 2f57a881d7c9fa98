// The journal of a replacement, against crashes: the double dies during any one change to
// the disk (a write keeping half its bytes), and recovery must leave one whole set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "platform/file_replace.h"
#include "platform/replace_journal.h"
#include "posix/posix_file_ops.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;
using testing::FaultyFileOps;

const char* const kNames[] = {"TCLS/mmog_data.xml", "TCLS/config/dirserver.xml", "TCLS/config/VersionServerConfig.xml",
                              "TCLS/config/VersionServerConfigdynamic.ini"};

// Four launcher files with an old and a new content each, of sizes of their own, in a game
// folder that can move. Without `existing`, the config files are new to the folder; with
// `removes`, the replacement removes the last one.
struct Launcher {
    testing::TempDir dir;
    fs::path home = dir.path() / "game";
    bool existing;
    bool removes;

    explicit Launcher(bool existing_, bool removes_ = false) : existing(existing_), removes(removes_) {
        fs::create_directories(home / "TCLS" / "config");
        for (int i = 0; i < 4; ++i) {
            if (i == 0 || existing) testing::writeFile(home / kNames[i], contents(i, false));
        }
    }
    static std::string contents(int i, bool fresh) { return std::string(100 * (i + 1) + fresh, fresh ? 'n' : 'o'); }
    Text target(int i) const { return home.string() + "/" + kNames[i]; }
    JournalPlace journal() const { return {home.string() + "/TCLS/switch.vorlane-journal", home.string()}; }
    std::vector<Text> targets() const { return {target(0), target(1), target(2), target(3)}; }
    // The folder as the next start finds it under another name (moved, or on another drive).
    void move() {
        const fs::path moved = dir.path() / ("moved " + home.filename().string());
        fs::rename(home, moved);
        home = moved;
    }
    std::vector<FileWrite> newSet() const {
        std::vector<FileWrite> files;
        for (int i = 0; i < 4; ++i) files.push_back({target(i), textToBytes(contents(i, true)), removes && i == 3});
        return files;
    }
    // "old" or "new" for a whole set and no other file; otherwise what is wrong.
    std::string census() const {
        std::string kinds, others;
        for (int i = 0; i < 4; ++i) {
            const bool present = fs::exists(home / kNames[i]);
            const std::string bytes = testing::readFile(home / kNames[i]);
            const bool old = present ? bytes == contents(i, false) : !(i == 0 || existing);
            const bool fresh = removes && i == 3 ? !present : present && bytes == contents(i, true);
            kinds += old ? 'o' : fresh ? 'n' : '?';
        }
        for (const auto& e : fs::recursive_directory_iterator(home)) {
            const std::string name = fs::relative(e.path(), home).string();
            if (e.is_regular_file() && std::find(std::begin(kNames), std::end(kNames), name) == std::end(kNames)) {
                others += " " + name;
            }
        }
        if (others.empty() && (kinds == "oooo" || kinds == "nnnn")) return kinds == "oooo" ? "old" : "new";
        return kinds + others;
    }
    // Every file under the folder with its bytes.
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> all;
        for (const auto& e : fs::recursive_directory_iterator(home)) {
            if (e.is_regular_file()) all[fs::relative(e.path(), home).string()] = testing::readFile(e.path());
        }
        return all;
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
    // The last kill that leaves every new file staged and no target kept yet: the journal is whole.
    static int lastKillBeforeAMove() {
        for (int n = Launcher(true).changesOfAReplacement();; --n) {
            Launcher l(true);
            l.replaceKilledAt(n);
            bool staged = true, kept = false;
            for (const Text& t : l.targets()) {
                staged = staged && fs::exists(stagedName(t));
                kept = kept || fs::exists(keptName(t));
            }
            if (staged && !kept) return n;
        }
    }
};

// Killed at every change of a replacement, then killed at every change of its recovery,
// then recovered: always the same whole set, old until the journal is whole, new after. The
// same holds when the next start finds the folder under another name.
TEST(ReplaceRecovery, AKillAtAnyStepOfAReplacementOrItsRecoveryLeavesOneWholeSet) {
    for (auto [existing, removes] : {std::pair{true, false}, {false, false}, {true, true}}) {
        const int steps = Launcher(existing, removes).changesOfAReplacement();
        std::vector<std::string> outcomes;
        for (int n = 1; n <= steps; ++n) {
            std::string outcome;
            for (int m = 0;; ++m) {  // m: the change of the recovery that is killed; 0: none
                Launcher l(existing, removes);
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

            Launcher moved(existing, removes);
            moved.replaceKilledAt(n);
            moved.move();
            EXPECT_TRUE(moved.recover().ok);
            EXPECT_EQ(moved.census(), outcome) << "killed at change " << n << ", recovered from another folder";
        }
        EXPECT_EQ(outcomes.front(), "old");
        EXPECT_EQ(outcomes.back(), "new");
    }
}

// A journal that a crash cut short, or power loss left damaged, reads as damaged: the
// replacement is undone, though the journal once whole would have finished it.
TEST(ReplaceRecovery, AJournalCutShortOrDamagedUndoesTheReplacement) {
    const int n = Launcher::lastKillBeforeAMove();
    const std::string whole = [&] {
        Launcher l(true);
        l.replaceKilledAt(n);
        return testing::readFile(l.journal().path);
    }();
    std::vector<std::string> damaged = {std::string(whole.size(), '\0')};
    for (std::size_t i = 0; i < whole.size(); i += 7) {
        damaged.push_back(whole.substr(0, i));
        damaged.push_back(whole);
        damaged.back()[i] ^= 0x01;
    }
    damaged.push_back(whole.substr(0, whole.size() - 1));

    for (const std::string& journal : damaged) {
        Launcher l(true);
        l.replaceKilledAt(n);
        testing::writeFile(l.journal().path, journal);
        EXPECT_TRUE(l.recover().ok);
        EXPECT_EQ(l.census(), "old") << "journal of " << journal.size() << " bytes: " << journal;
    }
    Launcher l(true);
    l.replaceKilledAt(n);
    EXPECT_TRUE(l.recover().ok);
    EXPECT_EQ(l.census(), "new") << "the whole journal";
}

// A whole journal that this program cannot read, from a later or an earlier program or
// naming a file that is no target, is reported and changes nothing, side files included.
TEST(ReplaceRecovery, AWholeJournalThatCannotBeReadChangesNothing) {
    const int n = Launcher::lastKillBeforeAMove() + 3;  // two files kept, one moved
    auto whole = [](const std::string& body) {
        return body + "end " + [&] {
            char hex[17];
            std::snprintf(hex, sizeof hex, "%016llx",
                          static_cast<unsigned long long>(fingerprint(textToBytes(body)).checksum));
            return std::string(hex);
        }() + "\r\n";
    };
    Launcher sample(true);
    sample.replaceKilledAt(n);
    const std::string journal = testing::readFile(sample.journal().path);
    std::vector<PlannedFile> foreign = parseJournal(textToBytes(journal), sample.home.string(), sample.targets()).plan;
    ASSERT_EQ(foreign.size(), 4u);
    foreign[1].name = "TCLS/config/other.xml";
    const std::string later = replaceText(journal.substr(0, journal.rfind("end ")), "journal 2", "journal 3");
    const std::string earlier = "vorlane journal 1\r\n1 100 0123456789abcdef " + sample.target(0) + "\r\n";
    for (const std::string& unknown : {whole(later), whole(earlier), journalText(foreign)}) {
        Launcher l(true);
        l.replaceKilledAt(n);
        testing::writeFile(l.journal().path, unknown);
        const auto before = l.files();
        const ReplaceOutcome outcome = l.recover();
        EXPECT_FALSE(outcome.ok);
        EXPECT_TRUE(outcome.unknownJournal) << unknown;
        EXPECT_EQ(outcome.failedPath, l.journal().path);
        EXPECT_EQ(l.files(), before) << unknown;
    }
}

// A kept copy that power loss cut short is never put back over the new bytes: the file is
// named, the copy stays, and so does the journal.
TEST(ReplaceRecovery, AKeptCopyThatIsNotTheOldFileIsNeverPutBack) {
    Launcher l(true);
    l.replaceKilledAt(Launcher::lastKillBeforeAMove() + 3);
    ASSERT_TRUE(fs::exists(keptName(l.target(0))));
    fs::resize_file(keptName(l.target(0)), 10);
    fs::remove(stagedName(l.target(3)));  // the new bytes are no longer whole: only an undo is left
    const ReplaceOutcome outcome = l.recover();
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.notRestored, std::vector<Text>{l.target(0)});
    EXPECT_EQ(testing::readFile(l.home / kNames[0]), Launcher::contents(0, true));
    EXPECT_TRUE(fs::exists(keptName(l.target(0))));
    EXPECT_TRUE(fs::exists(l.journal().path));
}

// A failure that starts an undo, and a second one at any step of that undo: every file that
// is not as before is named, the journal stays while anything is named, and the next start
// leaves one whole set.
TEST(ReplaceRecovery, AnUndoThatFailsNamesWhatIsNotAsBefore) {
    for (int first = 1;; ++first) {
        int second = 1;
        for (;; ++second) {
            Launcher l(true);
            FaultyFileOps ops;
            ops.failAt = first;
            ops.failAgainAt = second;
            const ReplaceOutcome outcome = replaceFilesAtomically(ops, l.newSet(), l.journal());
            if (ops.calls < first) {
                EXPECT_GT(first, 8);
                return;
            }
            if (ops.callsAfterFailure < second) break;
            const std::string trace = std::to_string(first) + "/" + std::to_string(second);
            std::vector<Text> changed;
            for (int i = 0; i < 4; ++i) {
                if (testing::readFile(l.home / kNames[i]) != Launcher::contents(i, false)) changed.push_back(l.target(i));
            }
            // A file that could not be read back is named too: it cannot be told to be whole.
            for (const Text& target : changed) {
                EXPECT_TRUE(outcome.ok || std::ranges::count(outcome.notRestored, target) == 1) << trace << target;
            }
            for (const Text& named : outcome.notRestored) EXPECT_TRUE(fs::exists(nativePath(named))) << trace << named;
            EXPECT_EQ(fs::exists(l.journal().path), !outcome.notRestored.empty()) << trace;
            EXPECT_TRUE(l.recover().ok) << trace;
            EXPECT_TRUE(l.census() == "old" || l.census() == "new") << trace << ": " << l.census();
        }
    }
}

}  // namespace
}  // namespace vorlane
