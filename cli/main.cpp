#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/command.h"
#include "lgp/printable_name.h"
#include "platform/new_file.h"
#include "platform/binary_streams.h"
#include "platform/command_line.h"

namespace cli {

namespace {

const Command* const kCommands[] = {
    &kLzsCommand,
    &kTocCommand,
    &kExtractCommand,
    &kListCommand,
    &kTextsCommand,
    &kInfoCommand,
    &kTextCommand,
    &kSampleCommand,
    &kCompareCommand,
    &kExportCommand,
    &kImportCommand,
    &kExportModCommand,
    &kLanguageTemplateCommand,
    &kCheckCommand,
    &kQaCommand,
    &kFitCommand,
    &kFindCommand,
    &kReplaceCommand,
#ifdef ORVENNE_PREVIEW
    &kPreviewCommand, &kBackgroundCommand,
#endif
#ifdef ORVENNE_SPELLING
    &kSpellcheckCommand,
#endif
};

void PrintUsage(std::ostream& out) {
    out << "usage: orvenne-cli COMMAND [ARGUMENTS]   (orvenne-cli COMMAND --help for more)\n";
    for (const Command* command : kCommands) out << "       orvenne-cli " << command->usage << '\n';
}

// True when --help or -h stands among the options (before any "--").
bool WantsHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), std::find(args.begin(), args.end(), "--"),
                       [](const std::string& arg) { return arg == "--help" || arg == "-h"; });
}

// Runs the command line; returns the exit status.
int Run(const std::vector<std::string>& args) {
    if (args.empty()) {
        PrintUsage(std::cerr);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(std::cout);
        return 0;
    }
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&](const Command* c) { return args[0] == c->name; });
    if (found == std::end(kCommands)) {
        std::cerr << "orvenne-cli: unknown command " << lgp::PrintableName(args[0]) << '\n';
        PrintUsage(std::cerr);
        return 2;
    }
    const Command& command = **found;
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (WantsHelp(rest)) {
        std::cout << "usage: orvenne-cli " << command.usage << "\n\n"
                  << command.help << "\nExit status: " << command.exitStatuses << '\n';
        return 0;
    }
    // A message may quote a file or level name, which must reach the terminal as text.
    try {
        return command.run(rest);
    } catch (const UsageError& error) {
        std::cerr << "orvenne-cli " << command.name << ": " << lgp::PrintableName(error.what())
                  << '\n'
                  << "usage: orvenne-cli " << command.usage << '\n';
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "orvenne-cli " << command.name << ": " << lgp::PrintableName(error.what())
                  << '\n';
        return command.failureStatus;
    }
}

}  // namespace

}  // namespace cli

int main(int argc, char** argv) {
    platform::IgnoreFileSizeSignal();
    // Texts pass through standard input and output byte for byte, with the line ends they
    // have; listings and messages end their lines with LF on every system.
    platform::UseBinaryStandardStreams();
    const int status = cli::Run(platform::CommandLineArguments(argc, argv));
    // Output lost to a full disk or a closed pipe is a failure, not a success cut short.
    errno = 0;
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int error = errno;
        std::cerr << "orvenne-cli: cannot write the standard output"
                  << (error != 0 ? ": " + std::generic_category().message(error) : std::string())
                  << '\n';
        return status == 0 ? 1 : status;
    }
    return status;
}
