#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"

namespace {

const Command* const kCommands[] = {
    &kLzsCommand,     &kTocCommand,    &kExtractCommand, &kListCommand,   &kTextsCommand,
    &kInfoCommand,    &kTextCommand,   &kSampleCommand,  &kCompareCommand, &kExportCommand,
    &kImportCommand, &kFindCommand,   &kReplaceCommand,
#ifdef ORVENNE_PREVIEW
    &kPreviewCommand,
#endif
};

void PrintUsage(std::ostream& out) {
    out << "usage: orvenne-cli COMMAND [ARGUMENTS]   (orvenne-cli COMMAND --help for more)\n";
    for (const Command* command : kCommands) out << "       orvenne-cli " << command->usage << '\n';
}

bool WantsHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& arg) { return arg == "--help" || arg == "-h"; });
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
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
        std::cerr << "orvenne-cli: unknown command " << args[0] << '\n';
        PrintUsage(std::cerr);
        return 2;
    }
    const Command& command = **found;
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (WantsHelp(rest)) {
        std::cout << "usage: orvenne-cli " << command.usage << "\n\n" << command.help << '\n';
        return 0;
    }
    try {
        return command.run(rest);
    } catch (const UsageError& error) {
        std::cerr << "orvenne-cli " << command.name << ": " << error.what() << '\n'
                  << "usage: orvenne-cli " << command.usage << '\n';
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "orvenne-cli " << command.name << ": " << error.what() << '\n';
        return 1;
    }
}
