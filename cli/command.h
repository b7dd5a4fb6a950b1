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
// `allowed` or when the number of positional arguments is not `expected`.
Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::vector<std::string>& allowed, std::size_t expected);

// The value of `-o FILE` in args, removed from them; nothing when absent. Throws UsageError
// when FILE is missing.
std::optional<std::string> TakeOutput(std::vector<std::string>& args);

// Saves an edited archive safely (SaveArchive) to output, or over its own file `path` when
// there is no output and `changed` holds: an unchanged archive is not rewritten for nothing.
void SaveEdited(TLGPFile& archive, const std::string& path,
                const std::optional<std::string>& output, bool changed);

// Whole-file helpers; both throw lgp::FileError naming the file.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

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
extern const Command kPreviewCommand;
extern const Command kFindCommand;
extern const Command kReplaceCommand;
