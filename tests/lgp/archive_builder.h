#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lgp_test {

using Bytes = std::vector<std::uint8_t>;

// Lays out an archive in memory: header, table of contents, data in table order unless
// placed otherwise, terminator. Table fields can be overridden to build malformed archives.
class ArchiveBuilder {
public:
    explicit ArchiveBuilder(std::string creator = "SQUARESOFT") : creator_(std::move(creator)) {}

    // Adds a sub-file with this raw 20-byte name field content and stored data.
    ArchiveBuilder& Add(const std::string& name, Bytes data);
    // Stores the data of the sub-files in this order of table indices.
    ArchiveBuilder& DataOrder(std::vector<int> order);
    // Bytes between the table of contents and the first data header.
    ArchiveBuilder& Gap(std::size_t bytes);

    Bytes Build() const;

    // Position of a field in the built archive, for patching malformed values.
    static std::size_t CountPosition() { return 12; }
    static std::size_t EntryOffsetPosition(int index) { return 16 + 27 * index + 20; }

private:
    std::string creator_;
    std::vector<std::pair<std::string, Bytes>> files_;
    std::vector<int> order_;
    std::size_t gap_ = 0;
};

void PutI32(Bytes& bytes, std::size_t position, std::int32_t value);

}  // namespace lgp_test
