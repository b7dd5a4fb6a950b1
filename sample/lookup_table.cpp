#include "sample/lookup_table.h"

#include <stdexcept>

#include "sample/byte_writer.h"

namespace sample {
namespace {

int LookupValue(char c) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c >= '0' && c <= '9') c = static_cast<char>(c - '0' + 'a');
    if (c == '_') c = 'k';
    if (c == '-') c = 'l';
    if (c == '.') return -1;
    if (c < 'a' || c > 'z') {
        throw std::invalid_argument(std::string("no lookup value for the character ") + c);
    }
    return c - 'a';
}

}  // namespace

int LookupSlot(std::string_view name) {
    if (name.size() < 2) throw std::invalid_argument("name too short for the lookup table");
    const int slot = LookupValue(name[0]) * 30 + LookupValue(name[1]) + 1;
    if (slot < 0)
        throw std::invalid_argument("a name cannot start with a dot: " + std::string(name));
    return slot;
}

std::vector<std::uint8_t> MakeLookupTable(const std::vector<std::string>& names) {
    std::vector<int> first(kLookupSlots, 0);
    std::vector<int> count(kLookupSlots, 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int slot = LookupSlot(names[i]);
        if (count[slot] == 0) {
            first[slot] = static_cast<int>(i) + 1;
        } else if (first[slot] + count[slot] != static_cast<int>(i) + 1) {
            throw std::invalid_argument("the entries of the slot of " + names[i] +
                                        " do not stand together");
        }
        ++count[slot];
    }
    ByteWriter table;
    for (int slot = 0; slot < kLookupSlots; ++slot) {
        table.U16(static_cast<unsigned>(first[slot]));
        table.U16(static_cast<unsigned>(count[slot]));
    }
    table.U16(0);
    return table.Take();
}

}  // namespace sample
