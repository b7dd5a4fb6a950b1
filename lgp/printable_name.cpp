#include "lgp/printable_name.h"

namespace lgp {

std::string PrintableName(std::string_view name) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string printable;
    printable.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            printable += c;
            continue;
        }
        printable += "\\x";
        printable += kDigits[byte >> 4];
        printable += kDigits[byte & 0x0F];
    }
    return printable;
}

}  // namespace lgp
