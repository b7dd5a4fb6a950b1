#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "lgp/lgp_file.h"

// One sub-command of orvenne-cli.
struct Command {
    const char* name;
    // The argument synopsis and the lines of help printed by --help.
    const char* usage;
    const char* help;
    // Runs with the arguments after the command's name; returns the exit status. Throws
    // UsageError for bad arguments; any other exception is reported as a failure.
    int (*run)(const std::vector<std::string>& args);
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

// Splits args into positional arguments and flags; throws UsageError for a flag not in
// `allowed`, an empty argument, or when the number of positional arguments is not `expected`.
Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::vector<std::string>& allowed, std::size_t expected);

// A picture's size given as WIDTHxHEIGHT.
struct PictureSize {
    int width = 0;
    int height = 0;
};

// Reads the value of `option` as WIDTHxHEIGHT, each a decimal number from 1 to `largest`;
// throws UsageError naming the option otherwise.
PictureSize ParsePictureSize(const std::string& option, const std::string& value, int largest);

// The value of option `name` (such as "-o FILE") in args, both removed from them; nothing when
// the option is absent. Throws UsageError when the value is missing or empty.
std::optional<std::string> TakeOption(std::vector<std::string>& args, const std::string& name);

// Whole-file helpers; both throw lgp::FileError naming the file. Writing goes through
// WriteFileSafely: a failure leaves an existing file as it was, and a file with several hard
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
