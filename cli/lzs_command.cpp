#include <vector>

#include "cli/command.h"
#include "lzs/decode_stream.h"
#include "lzs/fallback_compressor.h"
#include "lzs/hash_stream.h"

namespace cli {

namespace {

int RunLzs(const std::vector<std::string>& args) {
    if (args.empty()) throw UsageError("missing compress or decompress");
    const std::string& action = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (action == "compress") {
        const Arguments parsed = ParseArguments(rest, {"--fallback"}, 2);
        RefuseOutputAmongInputs(parsed.positional[1], {parsed.positional[0]});
        const auto input = ReadWholeFile(parsed.positional[0]);
        WriteWholeFile(parsed.positional[1], parsed.Has("--fallback")
                                                 ? lzs::CompressFallback(input)
                                                 : lzs::CompressHashedStream(input));
        return 0;
    }
    if (action == "decompress") {
        const Arguments parsed = ParseArguments(rest, {}, 2);
        RefuseOutputAmongInputs(parsed.positional[1], {parsed.positional[0]});
        WriteWholeFile(parsed.positional[1], lzs::DecodeStream(ReadWholeFile(parsed.positional[0])));
        return 0;
    }
    throw UsageError("unknown lzs action " + action);
}

}  // namespace

const Command kLzsCommand{
    "lzs",
    "lzs compress [--fallback] INPUT OUTPUT\n"
    "       orvenne-cli lzs decompress INPUT OUTPUT",
    "compress    writes INPUT as a complete LZS stream (4-byte length, then the payload),\n"
    "            made by the library's compressor, or by the editor's own with --fallback.\n"
    "decompress  INPUT is a complete LZS stream; writes the bytes it decodes to.",
    RunLzs,
};

}  // namespace cli
