#include "cli/command.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>

#include "lgp/archive_saver.h"
#include "lgp/file_error.h"
#include "lgp/printable_name.h"
#include "lgp/safe_file_writer.h"
#include "platform/utf8_path.h"

namespace cli {

bool Arguments::Has(const std::string& flag) const {
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::vector<std::string>& allowed, std::size_t expected,
                         std::optional<std::size_t> mayBeEmpty) {
    Arguments parsed;
    bool options = true;
    for (const auto& arg : args) {
        if (options && arg == "--") {
            options = false;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            if (std::find(allowed.begin(), allowed.end(), arg) == allowed.end()) {
                throw UsageError("unknown option " + arg);
            }
            if (parsed.Has(arg)) throw UsageError("option " + arg + " is given twice");
            parsed.flags.push_back(arg);
        } else {
            if (arg.empty() && parsed.positional.size() != mayBeEmpty) {
                throw UsageError("an argument is empty");
            }
            parsed.positional.push_back(arg);
        }
    }
    if (parsed.positional.size() != expected) {
        throw UsageError("expected " + std::to_string(expected) + " arguments, got " +
                         std::to_string(parsed.positional.size()));
    }
    return parsed;
}

PictureSize ParsePictureSize(const std::string& option, const std::string& value, int largest) {
    const auto invalid = [&] {
        return UsageError(option + " wants WIDTHxHEIGHT, each from 1 to " +
                          std::to_string(largest) + ", not " + value);
    };
    const auto side = [&](std::string_view digits) {
        int number = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
            number < 1 || number > largest) {
            throw invalid();
        }
        return number;
    };
    const std::size_t cross = value.find('x');
    if (cross == std::string::npos) throw invalid();
    return {side(std::string_view(value).substr(0, cross)),
            side(std::string_view(value).substr(cross + 1))};
}

std::optional<std::string> TakeOption(std::vector<std::string>& args, const std::string& name) {
    const auto end = std::find(args.begin(), args.end(), "--");
    const auto found = std::find(args.begin(), end, name);
    if (found == end) return std::nullopt;
    if (found + 1 == end || (found + 1)->empty()) throw UsageError(name + " needs a value");
    if (std::find(found + 2, end, name) != end) {
        throw UsageError("option " + name + " is given twice");
    }
    std::string value = *(found + 1);
    args.erase(found, found + 2);
    return value;
}

void RefuseOutputAmongInputs(const std::string& output, const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs) {
        if (lgp::SameFile(output, input)) {
            throw UsageError("the output " + output + " is also an input: writing it would " +
                             "replace what is read");
        }
    }
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    const std::string shown = lgp::PrintableName(path);
    std::error_code error;
    if (std::filesystem::is_directory(platform::PathFromUtf8(path), error)) {
        throw lgp::FileError(shown + " is a folder");
    }
    std::ifstream in(platform::PathFromUtf8(path), std::ios::binary);
    if (!in) throw lgp::FileError("cannot open " + shown + " for reading");
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad()) throw lgp::FileError("cannot read " + shown);
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                    bool breakLinks) {
    lgp::WriteFileSafely(path,
                         [&](std::ostream& out) {
                             out.write(reinterpret_cast<const char*>(bytes.data()),
                                       static_cast<std::streamsize>(bytes.size()));
                             if (!out)
                                 throw lgp::FileError("cannot write " + lgp::PrintableName(path));
                         },
                         {.breakLinks = breakLinks, .beforeReplace = {}});
}

}  // namespace cli
