#include "cli/command.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "lgp/file_error.h"
#include "lgp/printable_name.h"
#include "lgp/safe_file_writer.h"

bool Arguments::Has(const std::string& flag) const {
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::vector<std::string>& allowed, std::size_t expected) {
    Arguments parsed;
    for (const auto& arg : args) {
        if (arg.empty()) throw UsageError("an argument is empty");
        if (arg.size() > 1 && arg[0] == '-') {
            if (std::find(allowed.begin(), allowed.end(), arg) == allowed.end()) {
                throw UsageError("unknown option " + arg);
            }
            parsed.flags.push_back(arg);
        } else {
            parsed.positional.push_back(arg);
        }
    }
    if (parsed.positional.size() != expected) {
        throw UsageError("expected " + std::to_string(expected) + " arguments, got " +
                         std::to_string(parsed.positional.size()));
    }
    return parsed;
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    const std::string shown = lgp::PrintableName(path);
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) throw lgp::FileError(shown + " is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw lgp::FileError("cannot open " + shown + " for reading");
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad()) throw lgp::FileError("cannot read " + shown);
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                    bool breakLinks) {
    WriteFileSafely(path,
                    [&](std::ostream& out) {
                        out.write(reinterpret_cast<const char*>(bytes.data()),
                                  static_cast<std::streamsize>(bytes.size()));
                        if (!out) throw lgp::FileError("cannot write " + lgp::PrintableName(path));
                    },
                    {.breakLinks = breakLinks, .beforeReplace = {}});
}
