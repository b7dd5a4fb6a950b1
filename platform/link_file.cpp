#include "platform/link_file.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

#include "text/windows1252.h"

namespace platform {

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::size_t kClsidOffset = 4;
constexpr std::size_t kFlagsOffset = 0x14;
// 00021401-0000-0000-C000-000000000046, the class of shell links, as stored.
constexpr std::array<std::uint8_t, 16> kLinkClsid = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::uint32_t kHasLinkTargetIdList = 0x1;
constexpr std::uint32_t kHasLinkInfo = 0x2;

// LinkInfo: its header's size without and with the offsets of the Unicode strings, and the flag
// of a local base path.
constexpr std::uint32_t kLinkInfoHeaderSize = 0x1C;
constexpr std::uint32_t kLinkInfoHeaderSizeUnicode = 0x24;
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x1;
// Positions of LinkInfo's fields.
constexpr std::size_t kLinkInfoHeaderSizeField = 0x04;
constexpr std::size_t kLinkInfoFlagsField = 0x08;
constexpr std::size_t kLocalBasePathField = 0x10;
constexpr std::size_t kCommonPathSuffixField = 0x18;
constexpr std::size_t kLocalBasePathUnicodeField = 0x1C;
constexpr std::size_t kCommonPathSuffixUnicodeField = 0x20;

// Little-endian reads of a buffer, each checked against its end.
class Bytes {
public:
    explicit Bytes(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t Size() const { return data_.size(); }

    std::optional<std::uint32_t> U16(std::size_t offset) const {
        if (!Holds(offset, 2)) return std::nullopt;
        return std::uint32_t{data_[offset]} | std::uint32_t{data_[offset + 1]} << 8;
    }

    std::optional<std::uint32_t> U32(std::size_t offset) const {
        if (!Holds(offset, 4)) return std::nullopt;
        return std::uint32_t{data_[offset]} | std::uint32_t{data_[offset + 1]} << 8 |
               std::uint32_t{data_[offset + 2]} << 16 | std::uint32_t{data_[offset + 3]} << 24;
    }

    // The bytes from `offset` to `offset + count`, or nothing when they pass the end.
    std::optional<Bytes> Part(std::size_t offset, std::size_t count) const {
        if (!Holds(offset, count)) return std::nullopt;
        return Bytes(data_.subspan(offset, count));
    }

    bool Matches(std::size_t offset, std::span<const std::uint8_t> expected) const {
        return Holds(offset, expected.size()) &&
               std::equal(expected.begin(), expected.end(), data_.begin() + offset);
    }

    // The string of 8-bit characters at `offset` up to its zero, or nothing when the zero is
    // missing.
    std::optional<std::string> AnsiString(std::size_t offset) const {
        std::string text;
        for (std::size_t position = offset; position < data_.size(); ++position) {
            if (data_[position] == 0) return text;
            text += static_cast<char>(data_[position]);
        }
        return std::nullopt;
    }

    // The string of UTF-16 units at `offset` up to its zero unit, or nothing when the zero is
    // missing.
    std::optional<std::u16string> Utf16String(std::size_t offset) const {
        std::u16string text;
        for (std::size_t position = offset;; position += 2) {
            const auto unit = U16(position);
            if (!unit) return std::nullopt;
            if (*unit == 0) return text;
            text += static_cast<char16_t>(*unit);
        }
    }

private:
    bool Holds(std::size_t offset, std::size_t count) const {
        return offset <= data_.size() && data_.size() - offset >= count;
    }

    std::span<const std::uint8_t> data_;
};

// The offset of a string in the LinkInfo when it lies after the LinkInfo's header.
std::optional<std::uint32_t> StringOffset(const Bytes& linkInfo, std::size_t field,
                                          std::uint32_t headerSize) {
    const auto offset = linkInfo.U32(field);
    if (!offset || *offset < headerSize) return std::nullopt;
    return offset;
}

// The target in a LinkInfo structure, whose size field `linkInfo` covers exactly.
std::string LinkInfoTarget(const Bytes& linkInfo) {
    const auto headerSize = linkInfo.U32(kLinkInfoHeaderSizeField);
    const auto flags = linkInfo.U32(kLinkInfoFlagsField);
    if (!headerSize || !flags || *headerSize > linkInfo.Size()) return {};
    if (*headerSize != kLinkInfoHeaderSize && *headerSize < kLinkInfoHeaderSizeUnicode) return {};
    if ((*flags & kVolumeIdAndLocalBasePath) == 0) return {};

    if (*headerSize >= kLinkInfoHeaderSizeUnicode) {
        const auto base = StringOffset(linkInfo, kLocalBasePathUnicodeField, *headerSize);
        const auto suffix = StringOffset(linkInfo, kCommonPathSuffixUnicodeField, *headerSize);
        if (!base || !suffix) return {};
        const auto baseText = linkInfo.Utf16String(*base);
        const auto suffixText = linkInfo.Utf16String(*suffix);
        if (!baseText || !suffixText) return {};
        return text::Utf16ToUtf8(*baseText + *suffixText);
    }
    const auto base = StringOffset(linkInfo, kLocalBasePathField, *headerSize);
    const auto suffix = StringOffset(linkInfo, kCommonPathSuffixField, *headerSize);
    if (!base || !suffix) return {};
    const auto baseText = linkInfo.AnsiString(*base);
    const auto suffixText = linkInfo.AnsiString(*suffix);
    if (!baseText || !suffixText) return {};
    return text::Windows1252ToUtf8(*baseText + *suffixText);
}

}  // namespace

std::string LinkFileTarget(std::span<const std::uint8_t> data) {
    const Bytes bytes(data);
    if (bytes.Size() < kHeaderSize || bytes.U32(0) != kHeaderSize) return {};
    const std::uint32_t flags = bytes.U32(kFlagsOffset).value_or(0);
    if (!bytes.Matches(kClsidOffset, kLinkClsid) || (flags & kHasLinkInfo) == 0) return {};

    std::size_t position = kHeaderSize;
    if ((flags & kHasLinkTargetIdList) != 0) {
        const auto idListSize = bytes.U16(position);
        if (!idListSize) return {};
        position += 2 + *idListSize;
    }
    const auto linkInfoSize = bytes.U32(position);
    if (!linkInfoSize) return {};
    const auto linkInfo = bytes.Part(position, *linkInfoSize);
    if (!linkInfo) return {};
    return LinkInfoTarget(*linkInfo);
}

}  // namespace platform
