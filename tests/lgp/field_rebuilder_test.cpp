#include "lgp/field_rebuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "lgp/byte_reader.h"
#include "lgp/field_parser.h"
#include "lgp/format_error.h"
#include "lgp/level_tables.h"
#include "sample/sample_archive.h"
#include "tests/lgp/field_file_builder.h"
#include "tests/temporary_path.h"

namespace {

using lgp_test::Ask;
using lgp_test::Bytes;
using lgp_test::Concat;
using lgp_test::FieldFileBuilder;
using lgp_test::Message;
using lgp_test::Window;

const Bytes kHello = {'(', 'E', 'L', 'L', 'O', 0xFF};
const Bytes kBye = {'"', 'Y', 'E', 0xFF};
const Bytes kAgain = {'!', 'G', 'A', 'I', 'N', '!', 0xFF};
const Bytes kAkao1 = {'A', 'K', 'A', 'O', 0xFF, 1};
const Bytes kAkao2 = {'A', 'K', 'A', 'O', 0xFF, 2};

TLGPSubFile Parse(const Bytes& file) {
    TLGPSubFile level;
    level.Name = "md1stin";
    lgp::ParseFieldFile(level, file);
    return level;
}

std::uint16_t U16(const Bytes& file, std::size_t position) {
    return lgp::ByteReader(file, position).ReadU16();
}
std::uint32_t U32(const Bytes& file, std::size_t position) {
    return lgp::ByteReader(file, position).ReadU32();
}
std::size_t Base(const Bytes& file) { return U32(file, 6) + 4; }
std::size_t TextSection(const Bytes& file) { return Base(file) + U16(file, Base(file) + 4); }

// P1, then P2 and the seven section positions after it.
std::vector<std::uint32_t> Sections(const Bytes& file) {
    std::vector<std::uint32_t> sections;
    for (std::size_t i = 0; i < 9; ++i) sections.push_back(U32(file, 6 + 4 * i));
    return sections;
}

std::vector<std::uint32_t> AkaoPositions(const Bytes& file) {
    const std::size_t base = Base(file);
    std::vector<std::uint32_t> positions;
    for (std::size_t i = 0; i < U16(file, base + 6); ++i) {
        positions.push_back(U32(file, base + 32 + 8 * file[base + 2] + 4 * i));
    }
    return positions;
}

// Two entities; window 0 shows texts 0 and 2, the WSIZW window 1 shows texts 1 and 0.
FieldFileBuilder Level() {
    FieldFileBuilder builder;
    builder.Entity({Concat({Window(0, -8, 16, 200, 57), Message(0, 0), Message(0, 2)})})
        .Entity({Concat({Window(1, 10, 20, 30, 40, 0x2F), Ask(1, 1), Message(1, 0)})})
        .Texts({kHello, kBye, kAgain})
        .Akao({kAkao1, kAkao2});
    return builder;
}

struct TextEditCase {
    const char* what;
    std::size_t text;
    Bytes bytes;
};

void PrintTo(const TextEditCase& c, std::ostream* out) { *out << c.what; }

class TextEditTest : public testing::TestWithParam<TextEditCase> {};

TEST_P(TextEditTest, MovesEverythingBehindTheTextSection) {
    const TextEditCase& c = GetParam();
    const Bytes file = Level().Build();
    TLGPSubFile level = Parse(file);
    const std::size_t oldEnd = TextSection(file) + lgp::TextSectionSize(level);
    const auto delta = static_cast<std::int64_t>(c.bytes.size()) -
                       static_cast<std::int64_t>(level.Texts[c.text].Bytes.size());
    level.Texts[c.text].Bytes = c.bytes;

    const Bytes rebuilt = lgp::RebuildFieldFile(level, file);
    ASSERT_EQ(static_cast<std::int64_t>(rebuilt.size()),
              static_cast<std::int64_t>(file.size()) + delta);
    // The old tail, and nothing of the old text section, follows the new texts.
    const std::size_t tail = file.size() - oldEnd;
    EXPECT_TRUE(std::equal(file.end() - tail, file.end(), rebuilt.end() - tail)) << c.what;
    const auto oldSections = Sections(file);
    const auto newSections = Sections(rebuilt);
    EXPECT_EQ(newSections[0], oldSections[0]) << "P1 stays";
    EXPECT_EQ(U32(rebuilt, newSections[0]), U32(file, oldSections[0]) + delta)
        << "the script section's length follows its size";
    for (std::size_t i = 1; i < 9; ++i) EXPECT_EQ(newSections[i], oldSections[i] + delta) << i;
    const auto oldAkao = AkaoPositions(file);
    const auto newAkao = AkaoPositions(rebuilt);
    ASSERT_EQ(newAkao.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(newAkao[i], oldAkao[i] + delta) << i;
    EXPECT_EQ(Bytes(rebuilt.begin() + Base(rebuilt) + newAkao[1], rebuilt.end() - 12), kAkao2);

    std::size_t position = 2 + 2 * 3;
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(U16(rebuilt, TextSection(rebuilt) + 2 + 2 * i), position) << i;
        position += level.Texts[i].Bytes.size();
    }
    const TLGPSubFile reread = Parse(rebuilt);
    ASSERT_EQ(reread.Texts.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(reread.Texts[i].Bytes, level.Texts[i].Bytes);
    EXPECT_EQ(reread.Entities[1].Scripts[0].Windows[0].Width, 30);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, TextEditTest,
    testing::Values(TextEditCase{"same length, other bytes", 1, {'"', 'Y', 'O', 0xFF}},
                    TextEditCase{"first text 5 bytes longer", 0,
                                 {'(', 'E', 'L', 'L', 'O', '!', '!', '!', '!', '!', 0xFF}},
                    TextEditCase{"middle text longer", 1, {'"', 'Y', 'E', 'Y', 'E', 0xFF}},
                    TextEditCase{"last text 4 bytes shorter", 2, {'!', 'G', 0xFF}},
                    TextEditCase{"first text emptied", 0, {0xFF}}));

TEST(FieldRebuilderTest, EmptyTextListWritesTheCountOnly) {
    const Bytes file = Level().Build();
    TLGPSubFile level = Parse(file);
    const std::size_t oldSection = lgp::TextSectionSize(level);
    level.Texts.clear();
    const Bytes rebuilt = lgp::RebuildFieldFile(level, file);
    const auto delta = 2 - static_cast<std::int64_t>(oldSection);
    EXPECT_EQ(static_cast<std::int64_t>(rebuilt.size()),
              static_cast<std::int64_t>(file.size()) + delta);
    EXPECT_EQ(U16(rebuilt, TextSection(rebuilt)), 0);
    EXPECT_EQ(Bytes(rebuilt.begin() + TextSection(rebuilt) + 2,
                    rebuilt.begin() + TextSection(rebuilt) + 8),
              kAkao1);
    EXPECT_EQ(Sections(rebuilt)[1], Sections(file)[1] + delta);
    EXPECT_EQ(AkaoPositions(rebuilt)[0], AkaoPositions(file)[0] + delta);
}

TEST(FieldRebuilderTest, WindowValuesAreWrittenIntoTheirOpcodesOnly) {
    const Bytes file = Level().Build();
    TLGPSubFile level = Parse(file);
    // Texts 0 and 2 both show window 0: it is one opcode, written with its current values.
    ASSERT_EQ(level.Texts[2].Windows.at(0), level.Texts[0].Windows.at(0));
    TWindow& window = *level.Texts[2].Windows[0];
    window.X = -300;
    window.Y = -1;
    window.Width = 0xFFFF;
    window.Height = 7;

    Bytes expected = file;
    const Bytes opcode = Window(0, -300, -1, 0xFFFF, 7);
    std::copy(opcode.begin(), opcode.end(), expected.begin() + window.Offset);
    const Bytes rebuilt = lgp::RebuildFieldFile(level, file);
    EXPECT_EQ(rebuilt, expected);
    const TLGPSubFile reparsed = Parse(rebuilt);
    const TWindow& reread = reparsed.Entities[0].Scripts[0].Windows[0];
    EXPECT_EQ(reread.X, -300);
    EXPECT_EQ(reread.Width, 0xFFFF);
}

TEST(FieldRebuilderTest, ChangeTests) {
    TLGPSubFile level = Parse(Level().Build());
    EXPECT_FALSE(lgp::WindowsChanged(level));
    EXPECT_FALSE(lgp::TextsChanged(level));

    TWindow& window = level.Entities[1].Scripts[0].Windows[0];
    window.Height = 41;
    EXPECT_TRUE(lgp::WindowsChanged(level));
    window.Height = 40;
    EXPECT_FALSE(lgp::WindowsChanged(level)) << "moved back to the saved values";

    level.Texts[1].Bytes = kHello;
    EXPECT_TRUE(lgp::TextsChanged(level));
    level.Texts[1].Bytes = kBye;
    EXPECT_FALSE(lgp::TextsChanged(level));
    // Texts that would join to the same lines are still different entries.
    level.Texts[0].Bytes = {'a', '\n'};
    level.Texts[1].Bytes = {'b'};
    level.SavedTexts[0] = {'a'};
    level.SavedTexts[1] = {'\n', 'b'};
    EXPECT_TRUE(lgp::TextsChanged(level));
    level.Texts.pop_back();
    EXPECT_TRUE(lgp::TextsChanged(level)) << "a text fewer";

    window.X = 99;
    level.Name = "maplist";
    EXPECT_FALSE(lgp::WindowsChanged(level)) << "not a level";
    EXPECT_FALSE(lgp::TextsChanged(level)) << "not a level";
}

TEST(FieldRebuilderTest, TextSectionMustStayAddressable) {
    FieldFileBuilder builder;
    builder.Entity({Bytes{0x00}}).Texts({kBye});
    const Bytes file = builder.Build();
    TLGPSubFile level = Parse(file);

    level.Texts[0].Bytes.assign(lgp::kMaxTextSectionSize - 5, 'x');
    level.Texts[0].Bytes.push_back(0xFF);
    EXPECT_EQ(lgp::TextSectionSize(level), lgp::kMaxTextSectionSize);
    EXPECT_EQ(Parse(lgp::RebuildFieldFile(level, file)).Texts[0].Bytes, level.Texts[0].Bytes);

    level.Texts[0].Bytes.push_back(0xFF);
    try {
        lgp::RebuildFieldFile(level, file);
        FAIL() << "a text section of 65536 bytes was written";
    } catch (const lgp::FormatError& error) {
        EXPECT_NE(std::string(error.what()).find("md1stin"), std::string::npos) << error.what();
    }
    // Refused before the archive is read: its file does not even exist.
    TLGPFile archive;
    archive.FileName = (std::filesystem::temp_directory_path() / "orvenne_missing.lgp").string();
    EXPECT_THROW(lgp::RebuildFieldFile(archive, level), lgp::FormatError);
}

TEST(FieldRebuilderTest, FirstAkaoBlockEndsAnUnterminatedLastText) {
    FieldFileBuilder builder;
    builder.Entity({Bytes{0x00}}).Texts({kHello, {'a', 'b'}}).Akao({kAkao1});
    const Bytes file = builder.Build();
    TLGPSubFile level = Parse(file);
    ASSERT_EQ(level.Texts[1].Bytes, (Bytes{'a', 'b'}));
    EXPECT_EQ(lgp::RebuildFieldFile(level, file), file);

    level.Texts[0].Bytes = Concat({{'x', 'y', 'z'}, kHello});
    const Bytes rebuilt = lgp::RebuildFieldFile(level, file);
    EXPECT_EQ(rebuilt.size(), file.size() + 3);
    const std::size_t akao = Base(rebuilt) + AkaoPositions(rebuilt)[0];
    EXPECT_EQ(Bytes(rebuilt.begin() + akao, rebuilt.begin() + akao + 6), kAkao1);
    EXPECT_EQ(Parse(rebuilt).Texts[1].Bytes, (Bytes{'a', 'b'}));
}

TEST(FieldRebuilderTest, AnEmptyLastTextAtTheSectionsEndKeepsWhatFollows) {
    // The last text starts where the next section begins: it is empty, and that section's
    // bytes are no text to replace.
    FieldFileBuilder builder;
    builder.Entity({Bytes{0x00}}).Texts({kHello}).TextPositions({6, 12});
    Bytes file = builder.Build();
    file[TextSection(file)] = 2;
    TLGPSubFile level = Parse(file);
    ASSERT_TRUE(level.Texts.at(1).Bytes.empty());
    EXPECT_EQ(lgp::RebuildFieldFile(level, file), file);
    level.Texts[0].Bytes = kAgain;
    const Bytes rebuilt = lgp::RebuildFieldFile(level, file);
    EXPECT_EQ(rebuilt.size(), file.size() + 1);
    EXPECT_EQ(Bytes(rebuilt.end() - 12, rebuilt.end()), Bytes(file.end() - 12, file.end()));
}

TEST(FieldRebuilderTest, ADamagedTextTableIsNeverRebuilt) {
    FieldFileBuilder builder;
    builder.Entity({Bytes{0x00}}).Texts({kHello, kBye}).TextPositions({6, 20});
    const Bytes file = builder.Build();
    TLGPSubFile level = Parse(file);
    level.Texts[0].Bytes = kAgain;
    try {
        lgp::RebuildFieldFile(level, file);
        FAIL() << "a damaged level was rebuilt";
    } catch (const lgp::FormatError& error) {
        EXPECT_STREQ(error.what(),
                     "level md1stin cannot be changed: text 2 starts at 20 in the text section, "
                     "past its end at 16");
    }
}

TEST(FieldRebuilderTest, LevelsWithoutTextsKeepTheirTextSection) {
    const Bytes script = Concat({Window(4, 1, 2, 3, 4), Message(4, 0)});
    FieldFileBuilder tiny, zeroList, emptyThenAkao, akaoFirst;
    tiny.Entity({script}).Texts({});
    zeroList.Entity({script}).Texts({}).TextPositions({0});
    emptyThenAkao.Entity({script}).Texts({}).TextPositions({4}).Akao({kAkao1});
    // Its Akao block is listed before the text section: what lies there counts as no texts.
    akaoFirst.Entity({script}).Texts({{'a', 'b', 'c'}}).Akao({kAkao1});
    Bytes akaoFirstFile = akaoFirst.Build();
    const std::size_t akaoList = FieldFileBuilder::kBase + 32 + 8;
    akaoFirstFile[akaoList] = 40;
    akaoFirstFile[akaoList + 1] = 0;
    for (const Bytes& file :
         {tiny.Build(), zeroList.Build(), emptyThenAkao.Build(), akaoFirstFile}) {
        TLGPSubFile level = Parse(file);
        ASSERT_TRUE(level.Texts.empty());
        TWindow& window = level.Entities[0].Scripts[0].Windows.at(0);
        window.X = -5;
        window.Height = 500;
        Bytes expected = file;
        const Bytes opcode = Window(4, -5, 2, 3, 500);
        std::copy(opcode.begin(), opcode.end(), expected.begin() + window.Offset);
        EXPECT_EQ(lgp::RebuildFieldFile(level, file), expected);
    }
}

TEST(FieldRebuilderTest, MalformedDataFailsCleanly) {
    const Bytes file = Level().Build();
    const TLGPSubFile level = Parse(file);
    const std::size_t base = Base(file);
    const std::size_t windowOffset = static_cast<std::size_t>(level.Texts[0].Windows[0]->Offset);
    const auto put16 = [](Bytes bytes, std::size_t position, std::uint16_t value) {
        bytes[position] = static_cast<std::uint8_t>(value);
        bytes[position + 1] = static_cast<std::uint8_t>(value >> 8);
        return bytes;
    };
    Bytes windowGone = file;
    windowGone[windowOffset] = 0x00;
    // Just enough Akao positions for the list to end inside the text section.
    const auto akaoIntoTexts =
        static_cast<std::uint16_t>((TextSection(file) - (base + 32 + 16)) / 4 + 1);
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"cut inside the header", Bytes(file.begin(), file.begin() + 8)},
        {"script section past the end", put16(file, 8, 0x7000)},
        {"text section past the end", put16(file, base + 4, 0xF000)},
        {"last text position past the end", put16(file, TextSection(file) + 6, 0xF000)},
        {"Akao list reaching into the texts", put16(file, base + 6, akaoIntoTexts)},
        {"window opcode not where the model has it", windowGone},
    };
    for (const auto& [what, damaged] : cases) {
        try {
            lgp::RebuildFieldFile(level, damaged);
            ADD_FAILURE() << what << ": rebuilt";
        } catch (const lgp::FormatError& error) {
            EXPECT_NE(std::string(error.what()).find("md1stin"), std::string::npos) << what;
        }
    }
    // Every prefix, and many files with random bytes changed, rebuild or fail with FormatError.
    std::mt19937 rng(11);
    for (std::size_t i = 0; i < file.size() + 3000; ++i) {
        Bytes damaged = file;
        if (i < file.size()) {
            damaged.resize(i);
        } else {
            for (int j = 0; j < 3; ++j) {
                damaged[rng() % damaged.size()] = static_cast<std::uint8_t>(rng());
            }
        }
        try {
            lgp::RebuildFieldFile(level, damaged);
        } catch (const lgp::FormatError&) {
        }
    }
}

TEST(FieldRebuilderTest, DemoArchiveLevelsRebuildExactlyAndGrowWithTheirTexts) {
    const auto path = test_support::TemporaryPath("rebuilder_test.lgp");
    sample::WriteSampleArchive(path.string(), {.levels = 60});
    TLGPFile archive;
    archive.ReadTableOfContents(path.string());
    int withTexts = 0;
    int withoutTexts = 0;
    for (const auto& subFile : archive.SubFiles) {
        if (!lgp::IsLevel(*subFile)) continue;
        TLGPSubFile& level = *subFile;
        const Bytes decoded = archive.ReadSubFile(level);
        lgp::ParseFieldFile(level, decoded);
        EXPECT_EQ(lgp::RebuildFieldFile(archive, level), decoded) << level.Name;
        if (level.Texts.empty()) {
            ++withoutTexts;
            continue;
        }
        ++withTexts;
        level.Texts[0].Bytes.insert(level.Texts[0].Bytes.begin(), 'x');
        const Bytes rebuilt = lgp::RebuildFieldFile(level, decoded);
        EXPECT_EQ(rebuilt.size(), decoded.size() + 1) << level.Name;
        EXPECT_EQ(Sections(rebuilt)[1], Sections(decoded)[1] + 1) << level.Name;
        TLGPSubFile reread;
        lgp::ParseFieldFile(reread, rebuilt);
        ASSERT_EQ(reread.Texts.size(), level.Texts.size()) << level.Name;
        for (std::size_t i = 0; i < level.Texts.size(); ++i) {
            EXPECT_EQ(reread.Texts[i].Bytes, level.Texts[i].Bytes) << level.Name << " " << i;
            EXPECT_EQ(reread.Texts[i].Windows.size(), level.Texts[i].Windows.size());
        }
    }
    archive.Stream.reset();
    std::filesystem::remove(path);
    EXPECT_GT(withTexts, 30);
    EXPECT_GT(withoutTexts, 0);
}

}  // namespace
