#include "app/command_line.h"

#include <string_view>

#include "switching/launcher_files.h"

namespace vorlane {
namespace {

constexpr std::string_view kStart = "--start";

CommandLine usage() { return {.kind = CommandLine::Kind::Usage}; }

const Branch* branchOf(std::string_view option) {
    for (const Branch* branch : {&kLiveBranch, &kExperienceBranch}) {
        if (option == branch->option) return branch;
    }
    return nullptr;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<Text>& arguments) {
    if (arguments.empty()) return {};
    CommandLine command{.kind = CommandLine::Kind::Switch};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const Text& argument = arguments[i];
        if (argument == kStart && !command.start) {
            command.start = true;
        } else if (const Branch* branch = branchOf(argument); branch && !command.branch) {
            // A version is never an option: "--live --start" lacks one.
            if (i + 1 == arguments.size() || arguments[i + 1].starts_with("--")) return usage();
            command.branch = branch;
            command.version = arguments[++i];
        } else {
            return usage();
        }
    }
    return command.branch ? command : usage();
}

}  // namespace vorlane
