#include "lgp/script_chunk.h"

#include <gtest/gtest.h>

#include <string>

#include "lgp/field_layout.h"
#include "lgp/field_parser.h"
#include "lgp/field_rebuilder.h"
#include "lgp/format_error.h"
#include "tests/lgp/field_file_builder.h"

namespace {

using lgp_test::Bytes;
using lgp_test::Concat;
using lgp_test::FieldFileBuilder;
using lgp_test::Message;
using lgp_test::Window;

// A field file of nine sections laid out one after the other, each after its 4-byte length.
Bytes Field(const std::vector<std::string>& sections) {
    Bytes file(42, 0);
    lgp::PutU32(file, 2, 9);
    for (std::size_t s = 0; s < 9; ++s) {
        const std::string section = s < sections.size() ? sections[s] : "";
        lgp::PutU32(file, 6 + 4 * s, static_cast<std::uint32_t>(file.size()));
        file.resize(file.size() + 4);
        lgp::PutU32(file, file.size() - 4, static_cast<std::uint32_t>(section.size()));
        file.insert(file.end(), section.begin(), section.end());
    }
    return file;
}

Bytes Of(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(ScriptChunkTest, TakesOutAndPutsInTheScriptSectionAlone) {
    const Bytes file = Field({"script", "camera", "", "walk"});
    EXPECT_EQ(lgp::ScriptChunk(file), Of("script"));
    for (const std::string chunk : {"", "script", "SCRIPT", "longer script", "s"}) {
        EXPECT_EQ(lgp::PutScriptChunk(file, Of(chunk)), Field({chunk, "camera", "", "walk"}))
            << chunk;
    }
}

TEST(ScriptChunkTest, MalformedHeadersAreRefused) {
    const Bytes file = Field({"script", "camera"});
    Bytes longLength = file;
    lgp::PutU32(longLength, 42, 0x7FFF);
    Bytes outside = file;
    lgp::PutU32(outside, 6, 0x7FFF);
    Bytes insideHeader = file;
    lgp::PutU32(insideHeader, 6, 2);
    for (const Bytes& damaged : {Bytes(file.begin(), file.begin() + 40), longLength, outside}) {
        EXPECT_THROW(lgp::ScriptChunk(damaged), lgp::FormatError);
        EXPECT_THROW(lgp::PutScriptChunk(damaged, Of("x")), lgp::FormatError);
    }
    EXPECT_THROW(lgp::PutScriptChunk(insideHeader, Of("x")), lgp::FormatError);
}

// What a mod folder relies on: the chunk of a rebuilt level, put in place of the original
// level's script section, gives the rebuilt level.
TEST(ScriptChunkTest, ChunkOfARebuiltLevelGivesItBackOverTheOriginal) {
    FieldFileBuilder builder;
    builder.Entity({Concat({Window(0, 8, 16, 200, 57), Message(0, 0), Message(0, 1)})})
        .Texts({{'A', 'B', 0xFF}, {'C', 0xFF}})
        .Akao({{'A', 'K', 'A', 'O', 1}});
    const Bytes original = builder.Build();
    const std::vector<std::pair<const char*, void (*)(TLGPSubFile&)>> edits = {
        {"longer text",
         [](TLGPSubFile& l) {
             l.Texts[0].Bytes = {'A', 'B', 'C', 'D', 0xFF};
         }},
        {"shorter text", [](TLGPSubFile& l) { l.Texts[0].Bytes = {0xFF}; }},
        {"moved window", [](TLGPSubFile& l) { l.Entities[0].Scripts[0].Windows[0].X = -4; }},
    };
    for (const auto& [what, edit] : edits) {
        TLGPSubFile level;
        level.Name = "md1stin";
        lgp::ParseFieldFile(level, original);
        edit(level);
        const Bytes rebuilt = lgp::RebuildFieldFile(level, original);
        ASSERT_NE(rebuilt, original) << what;
        EXPECT_EQ(lgp::PutScriptChunk(original, lgp::ScriptChunk(rebuilt)), rebuilt) << what;
    }
}

}  // namespace
