#include "cli/command.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "lgp/archive_saver.h"
#include "lgp/compress_stream.h"
#include "lgp/file_error.h"

bool Arguments::Has(const std::string& flag) const {
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::vector<std::string>& allowed, std::size_t expected) {
    Arguments parsed;
    for (const auto& arg : args) {
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

std::optional<std::string> TakeOutput(std::vector<std::string>& args) {
    const auto found = std::find(args.begin(), args.end(), "-o");
    if (found == args.end()) return std::nullopt;
    if (found + 1 == args.end()) throw UsageError("-o needs a file name");
    std::string output = *(found + 1);
    args.erase(found, found + 2);
    return output;
}

void SaveEdited(TLGPFile& archive, const std::string& path,
                const std::optional<std::string>& output, bool changed) {
    if (output || changed) SaveArchive(archive, output.value_or(path), CompressStream);
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw lgp::FileError("cannot open " + path + " for reading");
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad()) throw lgp::FileError("cannot read " + path);
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw lgp::FileError("cannot write " + path);
}
