#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/archive_edits.h"
#include "cli/archive_export.h"
#include "cli/exchange_levels.h"
#include "cli/input_error.h"
#include "cli/json.h"
#include "cli/po_file.h"
#include "lgp/archive_loader.h"
#include "lgp/level_tables.h"
#include "sample/sample_archive.h"
#include "text/text_decoder.h"
#include "text/text_encoder.h"
#include "text/windows1252.h"
#include "tests/temporary_path.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A PO entry for the text named by context, after a blank line.
std::string Entry(const std::string& context, const std::string& str) {
    return "\nmsgctxt \"" + context + "\"\nmsgid \"x\"\nmsgstr \"" + str + "\"\n";
}

std::string TaggedUtf8(const Bytes& bytes) {
    return text::Windows1252ToUtf8(text::DecodeText(bytes));
}

// Every text's bytes and every window's values, to see what an import touched.
struct Snapshot {
    std::vector<Bytes> texts;
    std::vector<std::vector<int>> windows;

    explicit Snapshot(const TLGPFile& archive) {
        for (const int index : cli::ExchangeLevels(archive)) {
            const TLGPSubFile& level = archive.SubFile(index);
            for (const TLevelText& levelText : level.Texts) texts.push_back(levelText.Bytes);
            for (const TWindow* w : cli::LevelWindows(level)) {
                windows.push_back({w->X, w->Y, w->Width, w->Height});
            }
        }
    }
    bool operator==(const Snapshot&) const = default;
};

class ArchiveExchangeTest : public testing::Test {
protected:
    static std::filesystem::path Path() {
        return test_support::TemporaryPath("archive_exchange_test.lgp");
    }
    static void SetUpTestSuite() {
        sample::SampleOptions options;
        options.levels = 8;
        sample::WriteSampleArchive(Path().string(), options);
    }
    static void TearDownTestSuite() { std::filesystem::remove(Path()); }

    void SetUp() override {
        lgp::LoadArchive(archive_, Path().string());
        for (const int index : cli::ExchangeLevels(archive_)) {
            const TLGPSubFile& level = archive_.SubFile(index);
            if (level.Texts.size() >= 2 && !level.Texts[1].Windows.empty()) {
                level_ = index;
                break;
            }
        }
        ASSERT_GE(level_, 0) << "the sample has no level with a windowed second text";
    }

    TLGPSubFile& Level() { return archive_.SubFile(level_); }
    std::string Name() { return Level().Name; }

    // The message of the InputError that reading `content` throws, or "no error".
    std::string JsonError(const std::string& content) {
        try {
            cli::ArchiveEdits::FromJson(archive_, content);
        } catch (const cli::InputError& error) {
            return error.what();
        }
        return "no error";
    }
    std::string PoError(const std::string& content) {
        try {
            cli::ArchiveEdits::FromPo(archive_, content);
        } catch (const cli::InputError& error) {
            return error.what();
        }
        return "no error";
    }

    TLGPFile archive_;
    int level_ = -1;
};

TEST_F(ArchiveExchangeTest, JsonListsEveryLevelWithItsWindowsAndTexts) {
    const cli::JsonValue root = cli::ParseJson(cli::ExportJson(archive_));
    const std::vector<cli::JsonValue>& levels = root.Member("levels").Array();
    ASSERT_EQ(levels.size(), 8u);
    std::size_t windowedTexts = 0;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const TLGPSubFile& level = archive_.SubFile(cli::ExchangeLevels(archive_)[i]);
        EXPECT_EQ(levels[i].Member("name").String(), level.Name);
        const std::vector<const TWindow*> windows = cli::LevelWindows(level);
        const std::vector<cli::JsonValue>& windowValues = levels[i].Member("windows").Array();
        ASSERT_EQ(windowValues.size(), windows.size());
        for (std::size_t w = 0; w < windows.size(); ++w) {
            EXPECT_EQ(windowValues[w].Member("x").Integer("x", -32768, 32767), windows[w]->X);
            EXPECT_EQ(windowValues[w].Member("height").Integer("h", 0, 65535), windows[w]->Height);
        }
        const std::vector<cli::JsonValue>& texts = levels[i].Member("texts").Array();
        ASSERT_EQ(texts.size(), level.Texts.size());
        for (std::size_t t = 0; t < texts.size(); ++t) {
            const TLevelText& levelText = level.Texts[t];
            EXPECT_EQ(texts[t].Member("text").Integer("text", 1, 999), static_cast<int>(t + 1));
            EXPECT_EQ(texts[t].Member("tagged").String(), TaggedUtf8(levelText.Bytes));
            const std::vector<cli::JsonValue>& shown = texts[t].Member("windows").Array();
            ASSERT_EQ(shown.size(), levelText.Windows.size());
            for (std::size_t k = 0; k < shown.size(); ++k) {
                const auto index = shown[k].Integer("window", 0, 999);
                EXPECT_EQ(windows.at(index), levelText.Windows[k]);
            }
            if (!shown.empty()) ++windowedTexts;
        }
    }
    EXPECT_GT(windowedTexts, 0u);
}

// The text with every CR removed, as the PO export writes line breaks.
std::string WithoutCarriageReturns(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

TEST_F(ArchiveExchangeTest, PoHoldsEveryTextThatCanBeAMsgid) {
    Level().Texts[0].Bytes = {0xFF};
    Level().Texts[1].Bytes = {0x21, 0xFF, 0xFF};
    const std::string po = cli::ExportPo(archive_, "levels.lgp");
    const std::vector<cli::PoEntry> entries = cli::ParsePo(po);
    EXPECT_EQ(entries.at(0).str.find("Project-Id-Version: levels.lgp\n"), 0u);
    EXPECT_NE(po.find("# Left out: " + Name() + ":1 (empty)\n"), std::string::npos);
    EXPECT_NE(po.find("# Left out: " + Name() + ":2 (holds a NUL character)\n"), std::string::npos);

    std::size_t compared = 0;
    for (const int index : cli::ExchangeLevels(archive_)) {
        const TLGPSubFile& level = archive_.SubFile(index);
        for (std::size_t t = 0; t < level.Texts.size(); ++t) {
            if (index == level_ && t < 2) continue;
            const cli::PoEntry& entry = entries.at(++compared);
            EXPECT_EQ(entry.context, level.Name + ":" + std::to_string(t + 1));
            EXPECT_EQ(entry.id, WithoutCarriageReturns(TaggedUtf8(level.Texts[t].Bytes)));
            EXPECT_EQ(entry.str, "");
        }
    }
    EXPECT_EQ(entries.size(), compared + 1);
    const std::string third = "#. windows: " + std::to_string(Level().Texts[2].Windows.size()) +
                              "\nmsgctxt \"" + Name() + ":3\"\n";
    EXPECT_NE(po.find(third), std::string::npos);
}

TEST_F(ArchiveExchangeTest, PoWritesLineBreaksAsLineFeeds) {
    Level().Texts[0].Bytes = {0x21, 0xE7, 0x22, 0xE8, 0x23, 0xFF};
    const std::string po = cli::ExportPo(archive_, "levels.lgp");
    EXPECT_NE(po.find("msgid \"\"\n\"A\\n\"\n\"B\\n\"\n\"{NEW PAGE}\\n\"\n\"C\"\n"),
              std::string::npos);
    EXPECT_EQ(po.find("\\r"), std::string::npos);
}

TEST_F(ArchiveExchangeTest, ImportingAnExportChangesNothing) {
    // Bytes that decode ambiguously: a second space, a second comma, and a percent sign before
    // a digit, which encoding would turn into 0x00, 0x0C and a placeholder.
    Level().Texts[0].Bytes = {0x21, 0x5F, 0xC2, 0x05, 0x11, 0xFF};
    const Snapshot before(archive_);
    for (const bool json : {true, false}) {
        const cli::ArchiveEdits edits =
            json ? cli::ArchiveEdits::FromJson(archive_, cli::ExportJson(archive_))
                 : cli::ArchiveEdits::FromPo(archive_, cli::ExportPo(archive_, "levels.lgp"));
        const cli::ImportCounts counts = edits.ApplyTo(archive_);
        EXPECT_EQ(counts.texts, 0) << json;
        EXPECT_EQ(counts.windows, 0) << json;
        EXPECT_EQ(counts.levels, 0) << json;
        EXPECT_TRUE(Snapshot(archive_) == before) << json;
    }
}

TEST_F(ArchiveExchangeTest, JsonTextsAndWindowsAreApplied) {
    const TWindow& first = *cli::LevelWindows(Level())[0];
    const std::string json = "{\"levels\": [{\"name\": \"" + Name() +
                             "\", \"windows\": [{\"x\": -7, \"y\": " + std::to_string(first.Y) +
                             ", \"width\": 65535, \"height\": 0}], \"texts\": ["
                             "{\"text\": 2, \"tagged\": \"{CLOUD}\\r\\n\u201cCaf\u00e9!\u201d\", "
                             "\"windows\": [99]}, {\"text\": 1, \"tagged\": " +
                             cli::JsonString(TaggedUtf8(Level().Texts[0].Bytes)) + "}]}]}";
    const Bytes firstText = Level().Texts[0].Bytes;
    const cli::ImportCounts counts = cli::ArchiveEdits::FromJson(archive_, json).ApplyTo(archive_);
    EXPECT_EQ(counts.texts, 1);
    EXPECT_EQ(counts.windows, 1);
    EXPECT_EQ(counts.levels, 1);
    const std::string windows1252 = std::string("{CLOUD}\r\n\x93") + "Caf\xE9!\x94";
    EXPECT_EQ(Level().Texts[1].Bytes, text::EncodeText(windows1252, true));
    EXPECT_EQ(Level().Texts[0].Bytes, firstText);
    EXPECT_EQ(first.X, -7);
    EXPECT_EQ(first.Width, 65535);
    EXPECT_EQ(first.Height, 0);
    EXPECT_TRUE(first.Changed());
}

TEST_F(ArchiveExchangeTest, PoTranslationsAreAppliedUnlessFuzzyOrEmpty) {
    const std::string po = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n" +
                           Entry(Name() + ":1", "Hall\u00f6\\n!") + "#, fuzzy" +
                           Entry(Name() + ":2", "No") + Entry(Name() + ":3", "");
    const Bytes second = Level().Texts[1].Bytes;
    const Bytes third = Level().Texts[2].Bytes;
    const cli::ImportCounts counts = cli::ArchiveEdits::FromPo(archive_, po).ApplyTo(archive_);
    EXPECT_EQ(counts.texts, 1);
    EXPECT_EQ(counts.windows, 0);
    EXPECT_EQ(counts.levels, 1);
    // The line feed that PO tools write for a line break is the tagged text's CR LF.
    EXPECT_EQ(Level().Texts[0].Bytes, text::EncodeText("Hall\xF6\r\n!", true));
    EXPECT_EQ(Level().Texts[1].Bytes, second);
    EXPECT_EQ(Level().Texts[2].Bytes, third);
}

TEST_F(ArchiveExchangeTest, JsonThatTheArchiveCannotTakeIsRejectedWithItsPlace) {
    // Each offending value starts line 2, so that every error reads "2:1: ...".
    const std::string level = "{\"levels\": [{\"name\": \"" + Name() + "\", ";
    const std::string texts = std::to_string(Level().Texts.size());
    const std::string windows = std::to_string(cli::LevelWindows(Level()).size());
    std::string tooManyWindows = level + "\"windows\": [";
    for (std::size_t w = 0; w < cli::LevelWindows(Level()).size(); ++w) {
        tooManyWindows += "{\"x\": 0, \"y\": 0, \"width\": 0, \"height\": 0}, ";
    }
    tooManyWindows += "\n{}]}]}";
    struct Row {
        std::string json;
        std::string error;
    };
    const Row rows[] = {
        {"{\"levels\": [\n,]}",
         "2:1: syntax error while parsing value - unexpected ','; expected '[', '{', or a literal"},
        {"\n[]", "2:1: expected an object, found an array"},
        {"\n{}", "2:1: missing \"levels\" in this object"},
        {"{\"levels\":\n{}}", "2:1: expected an array, found an object"},
        {"{\"levels\": [{\"name\":\n\"nosuch\"}]}", "2:1: the archive has no level named nosuch"},
        {"{\"levels\": [{\"name\":\n\"maplist\"}]}", "2:1: the archive has no level named maplist"},
        {level + "\"texts\": []}, {\"name\":\n\"" + Name() + "\"}]}",
         "2:1: level " + Name() + " given twice"},
        {level + "\"texts\": [{\"text\":\n" + texts + "1, \"tagged\": \"\"}]}]}",
         "2:1: text " + texts + "1 out of range: level " + Name() + " has " + texts + " texts"},
        {level + "\"texts\": [{\"text\":\n0, \"tagged\": \"\"}]}]}",
         "2:1: text 0 out of range: level " + Name() + " has " + texts + " texts"},
        {level + "\"texts\": [{\"text\":\n1e0, \"tagged\": \"\"}]}]}",
         "2:1: text must be a whole number from -2147483647 to 2147483647, not 1e0"},
        {level +
             "\"texts\": [{\"text\": 2, \"tagged\": \"a\"}, {\"text\":\n2, \"tagged\": \"b\"}]}]}",
         "2:1: text 2 of level " + Name() + " given twice"},
        {level + "\"texts\": [\n{\"text\": 1}]}]}", "2:1: missing \"tagged\" in this object"},
        {level + "\"texts\": [{\"text\": 1, \"tagged\":\n1}]}]}",
         "2:1: expected a string, found a number"},
        {level + "\"texts\": [{\"text\": 3, \"tagged\":\n\"\u4e2d\"}]}]}",
         "2:1: level " + Name() + ", text 3 holds characters that Windows-1252 cannot hold"},
        {tooManyWindows, "2:1: window " + windows + " out of range: level " + Name() + " has " +
                             windows + " windows"},
        {level + "\"windows\": [{\"x\":\n-32769, \"y\": 0, \"width\": 0, \"height\": 0}]}]}",
         "2:1: x must be from -32768 to 32767, not -32769"},
        {level + "\"windows\": [{\"x\": 0, \"y\":\n32768, \"width\": 0, \"height\": 0}]}]}",
         "2:1: y must be from -32768 to 32767, not 32768"},
        {level + "\"windows\": [{\"x\": 0, \"y\": 0, \"width\":\n-1, \"height\": 0}]}]}",
         "2:1: width must be from 0 to 65535, not -1"},
        {level + "\"windows\": [{\"x\": 0, \"y\": 0, \"width\": 0, \"height\":\n65536}]}]}",
         "2:1: height must be from 0 to 65535, not 65536"},
        {level + "\"windows\": [\n{\"x\": 0, \"y\": 0, \"width\": 0}]}]}",
         "2:1: missing \"height\" in this object"},
        {level + "\"windows\": [], \"texts\": [], \"comment\": 1}]}", "no error"},
    };
    const Snapshot before(archive_);
    for (const Row& row : rows) {
        EXPECT_EQ(JsonError(row.json), row.error) << row.json;
    }
    EXPECT_TRUE(Snapshot(archive_) == before);
}

TEST_F(ArchiveExchangeTest, PoThatTheArchiveCannotTakeIsRejectedWithItsPlace) {
    const std::string texts = std::to_string(Level().Texts.size());
    const std::string badContext =
        "2:1: expected msgctxt \"LEVEL:NUMBER\" naming a level and a text";
    struct Row {
        std::string po;
        std::string error;
    };
    const Row rows[] = {
        {"\nmsgid \"x\"\nmsgstr \"y\"\n", badContext},
        {Entry(Name(), "y"), badContext},
        {Entry(Name() + ":", "y"), badContext},
        {Entry(Name() + ":x", "y"), badContext},
        {Entry(Name() + ":-1", "y"), badContext},
        {Entry(Name() + ":99999999999999999999", "y"), badContext},
        {Entry("nosuch:1", "y"), "2:1: the archive has no level named nosuch"},
        {Entry(Name() + ":0", ""),
         "2:1: text 0 out of range: level " + Name() + " has " + texts + " texts"},
        {Entry(Name() + ":" + texts + "1", ""),
         "2:1: text " + texts + "1 out of range: level " + Name() + " has " + texts + " texts"},
        {Entry(Name() + ":1", "") + Entry(Name() + ":1", "y"),
         "6:1: text 1 of level " + Name() + " given twice"},
        {Entry(Name() + ":2", "\u00e9\u4e2d"),
         "4:8: level " + Name() + ", text 2 holds characters that Windows-1252 cannot hold"},
        {"\nmsgctxt \"" + Name() + ":1\"\nmsgid \"x\"\n", "2:1: entry without msgstr"},
        {Entry(Name() + ":1", "") + "#, fuzzy" + Entry("nosuch:1", "y"), "no error"},
    };
    const Snapshot before(archive_);
    for (const Row& row : rows) {
        EXPECT_EQ(PoError(row.po), row.error) << row.po;
    }
    EXPECT_TRUE(Snapshot(archive_) == before);
}

TEST_F(ArchiveExchangeTest, CharactersTheGameLacksAreRefusedUnlessReplaced) {
    const std::string po = Entry(Name() + ":1", "5 \u20ac") + Entry(Name() + ":2", "%99 ok");
    EXPECT_EQ(PoError(po),
              "4:8: characters that the game cannot show (--replace-unknown writes "
              "them as spaces): level " +
                  Name() + ", text 1: \"\u20ac\" (U+20AC); level " + Name() + ", text 2: \"%99\"");
    const cli::ImportCounts counts =
        cli::ArchiveEdits::FromPo(archive_, po, true).ApplyTo(archive_);
    EXPECT_EQ(counts.texts, 2);
    EXPECT_EQ(counts.replaced, 2);
    EXPECT_EQ(Level().Texts[0].Bytes, text::EncodeText("5  ", true));
}

TEST_F(ArchiveExchangeTest, TheEditsOfAnUnreadableLevelAreLeftOutWithAWarning) {
    const std::string json = cli::ExportJson(archive_);
    Level().Unreadable = true;
    Level().Damage = "a KAWAI opcode has length 0";
    const cli::ArchiveEdits edits = cli::ArchiveEdits::FromJson(archive_, json);
    ASSERT_EQ(edits.Warnings().size(), 1u);
    EXPECT_EQ(edits.Warnings()[0],
              "level " + Name() + " could not be read, so its " +
                  std::to_string(Level().Texts.size() + cli::LevelWindows(Level()).size()) +
                  " entries are left out: a KAWAI opcode has length 0");
    EXPECT_EQ(edits.ApplyTo(archive_).levels, 0);
}

}  // namespace
