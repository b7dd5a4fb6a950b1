#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "lgp/lgp_file.h"

namespace cli {

// What the exit statuses of most commands mean.
inline constexpr char kUsualExitStatuses[] =
    "0 when done, 1 when it fails (the reason on standard error), 2 for a wrong command line.";

// One sub-command of orvenne-cli.
struct Command {
    const char* name;
    // The argument synopsis and the lines of help printed by --help.
    const char* usage;
    const char* help;
    // Runs with the arguments after the command's name; returns the exit status. Throws
    // UsageError for bad arguments; any other exception is reported as a failure.
    int (*run)(const std::vector<std::string>& args);
    // The meaning of its exit statuses, printed by --help after "Exit status: ".
    const char* exitStatuses = kUsualExitStatuses;
    // The exit status of a failure (an exception other than UsageError).
    int failureStatus = 1;
};

// A command line that does not match the command's synopsis (exit status 2).
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& what) : std::runtime_error(what) {}
};

// Positional arguments and the flags found among them.
struct Arguments {
    std::vector<std::string> positional;
    std::vector<std::string> flags;

    bool Has(const std::string& flag) const;
};

// Splits args into positional arguments and flags. "--" ends the options: every argument
// after it is positional, even one that starts with "-". Throws UsageError for a flag not in
// `allowed` or given twice, an empty argument (but for the positional argument at index
// `mayBeEmpty`), or when the number of positional arguments is not `expected`.
Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::vector<std::string>& allowed, std::size_t expected,
                         std::optional<std::size_t> mayBeEmpty = std::nullopt);

// A picture's size given as WIDTHxHEIGHT.
struct PictureSize {
    int width = 0;
    int height = 0;
};

// Reads the value of `option` as WIDTHxHEIGHT, each a decimal number from 1 to `largest`;
// throws UsageError naming the option otherwise.
PictureSize ParsePictureSize(const std::string& option, const std::string& value, int largest);

// The value of option `name` (such as "-o FILE") in args before any "--", both removed from
// them; nothing when the option is absent. Throws UsageError when the value is missing or
// empty, or the option is given twice.
std::optional<std::string> TakeOption(std::vector<std::string>& args, const std::string& name);

// Refuses (UsageError) an output file that is one of the command's input files
// (lgp::SameFile): writing it would replace what the command reads.
void RefuseOutputAmongInputs(const std::string& output, const std::vector<std::string>& inputs);

// Whole-file helpers; both throw lgp::FileError naming the file. Writing goes through
// lgp::WriteFileSafely: a failure leaves an existing file as it was, and a file with several hard
// links is refused unless breakLinks.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                    bool breakLinks = false);

extern const Command kLzsCommand;
extern const Command kTocCommand;
extern const Command kExtractCommand;
extern const Command kListCommand;
extern const Command kTextsCommand;
extern const Command kInfoCommand;
extern const Command kTextCommand;
extern const Command kSampleCommand;
extern const Command kCompareCommand;
extern const Command kExportCommand;
extern const Command kImportCommand;
extern const Command kExportModCommand;
extern const Command kPreviewCommand;
extern const Command kLanguageTemplateCommand;
extern const Command kBackgroundCommand;
extern const Command kCheckCommand;
extern const Command kFitCommand;
extern const Command kSpellcheckCommand;
extern const Command kFindCommand;
extern const Command kReplaceCommand;
extern const Command kQaCommand;

}  // namespace cli
