#include <iostream>
#include <iterator>

#include "cli/command.h"
#include "text/text_decoder.h"
#include "text/text_encoder.h"

namespace cli {

namespace {

std::string ReadStandardInput() {
    std::cin >> std::noskipws;
    return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
}

int RunText(const std::vector<std::string>& args) {
    if (args.empty()) throw UsageError("missing decode or encode");
    ParseArguments({args.begin() + 1, args.end()}, {}, 0);
    const std::string input = ReadStandardInput();
    if (args[0] == "decode") {
        const std::span<const std::uint8_t> bytes(
            reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        std::cout << text::DecodeText(bytes);
        return 0;
    }
    if (args[0] == "encode") {
        const std::vector<std::uint8_t> bytes = text::EncodeText(input, true);
        std::cout.write(reinterpret_cast<const char*>(bytes.data()),
                        static_cast<std::streamsize>(bytes.size()));
        return 0;
    }
    throw UsageError("unknown text action " + args[0]);
}

}  // namespace

const Command kTextCommand{
    "text",
    "text decode|encode   (reads standard input, writes standard output)",
    "decode  game text bytes to tagged text (Windows-1252).\n"
    "encode  tagged text (Windows-1252) to game text bytes, the terminator 0xFF appended.",
    RunText,
};

}  // namespace cli
