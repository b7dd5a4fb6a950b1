#include "lgp/byte_reader.h"

#include <gtest/gtest.h>

#include "lgp/format_error.h"

namespace {

const std::vector<std::uint8_t> kData = {0x01, 0x02, 0x03, 0x04, 0xFE, 0xFF, 0x80, 0x00, 0x00};

TEST(ByteReaderTest, ReadsLittleEndianValues) {
    lgp::ByteReader reader(kData);
    EXPECT_EQ(reader.ReadU32(), 0x04030201u);
    EXPECT_EQ(reader.ReadI16(), -2);
    EXPECT_EQ(reader.ReadU8(), 0x80);
    EXPECT_EQ(reader.ReadU16(), 0u);
    EXPECT_EQ(reader.Remaining(), 0u);
    reader.Seek(4);
    EXPECT_EQ(reader.ReadI32(), 0x0080FFFE);
}

TEST(ByteReaderTest, ReadsPastTheEndThrowAndKeepThePosition) {
    lgp::ByteReader reader(kData, 7);
    EXPECT_THROW(reader.ReadU32(), lgp::FormatError);
    EXPECT_EQ(reader.Position(), 7u);
    EXPECT_THROW(reader.ReadBytes(3), lgp::FormatError);
    EXPECT_THROW(reader.Skip(3), lgp::FormatError);
    EXPECT_THROW(reader.Seek(10), lgp::FormatError);
    EXPECT_THROW(lgp::ByteReader(kData, 10), lgp::FormatError);
    EXPECT_EQ(reader.ReadU16(), 0u);
    EXPECT_THROW(reader.ReadU8(), lgp::FormatError);
}

TEST(ByteReaderTest, HugeCountsDoNotWrapAround) {
    lgp::ByteReader reader(kData, 1);
    EXPECT_THROW(reader.ReadBytes(static_cast<std::size_t>(-1)), lgp::FormatError);
    EXPECT_THROW(reader.Skip(static_cast<std::size_t>(-1)), lgp::FormatError);
}

}  // namespace
