#include "tests/lgp/archive_builder.h"

#include <numeric>

namespace lgp_test {
namespace {

void AppendField(Bytes& out, const std::string& text, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        out.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
    }
}

void AppendI32(Bytes& out, std::int32_t value) {
    out.resize(out.size() + 4);
    PutI32(out, out.size() - 4, value);
}

}  // namespace

void PutI32(Bytes& bytes, std::size_t position, std::int32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[position + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
    }
}

ArchiveBuilder& ArchiveBuilder::Add(const std::string& name, Bytes data) {
    files_.emplace_back(name, std::move(data));
    return *this;
}

ArchiveBuilder& ArchiveBuilder::DataOrder(std::vector<int> order) {
    order_ = std::move(order);
    return *this;
}

ArchiveBuilder& ArchiveBuilder::Gap(std::size_t bytes) {
    gap_ = bytes;
    return *this;
}

Bytes ArchiveBuilder::Build() const {
    std::vector<int> order = order_;
    if (order.empty()) {
        order.resize(files_.size());
        std::iota(order.begin(), order.end(), 0);
    }
    // The creator text is right-aligned in its 12 bytes.
    Bytes out(12 - creator_.size(), 0);
    out.insert(out.end(), creator_.begin(), creator_.end());
    AppendI32(out, static_cast<std::int32_t>(files_.size()));

    std::vector<std::int32_t> offsets(files_.size());
    std::size_t position = 16 + 27 * files_.size() + gap_;
    for (int index : order) {
        offsets[index] = static_cast<std::int32_t>(position);
        position += 24 + files_[index].second.size();
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
        AppendField(out, files_[i].first, 20);
        AppendI32(out, offsets[i]);
        out.push_back(14);
        out.push_back(0);
        out.push_back(0);
    }
    out.insert(out.end(), gap_, 0xEE);
    for (int index : order) {
        const auto& [name, data] = files_[index];
        AppendField(out, name, 20);
        AppendI32(out, static_cast<std::int32_t>(data.size()));
        out.insert(out.end(), data.begin(), data.end());
    }
    const std::string terminator = "FINAL FANTASY7";
    out.insert(out.end(), terminator.begin(), terminator.end());
    return out;
}

}  // namespace lgp_test
