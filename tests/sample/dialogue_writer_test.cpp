#include "sample/dialogue_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/text_decoder.h"
#include "text/text_encoder.h"

namespace {

using sample::Dialogue;
using sample::DialogueWriter;
using sample::DrawnWidth;
using sample::SampleRandom;

std::vector<std::string> Lines(const std::string& tagged) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = tagged.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        lines.push_back(tagged.substr(start, end - start));
    }
    lines.push_back(tagged.substr(start));
    return lines;
}

TEST(DialogueWriterTest, DrawnWidthCountsLettersNamesAndPlaceholders) {
    EXPECT_EQ(DrawnWidth("Hello"), 5);
    EXPECT_EQ(DrawnWidth("{CLOUD}!"), 6);
    EXPECT_EQ(DrawnWidth("{RED}Hi{WHITE}{PAUSE 2}"), 2);
    EXPECT_EQ(DrawnWidth("%12 and %3"), 7);
}

TEST(DialogueWriterTest, EveryKindOfTextIsInTheGameNotation) {
    // Encoding and decoding give the text back: no character or tag outside the notation,
    // which the encoder would turn into a space.
    SampleRandom random(11);
    DialogueWriter writer(random);
    for (int i = 0; i < 300; ++i) {
        const std::string texts[] = {writer.Speech("{TIFA}", true).tagged,
                                     writer.Speech(writer.CharacterName(), false).tagged,
                                     writer.Question("Guard").tagged, writer.Notice().tagged,
                                     writer.LocationName("Kalm").tagged};
        for (const std::string& tagged : texts) {
            ASSERT_EQ(text::DecodeText(text::EncodeText(tagged, true)), tagged);
        }
    }
}

TEST(DialogueWriterTest, SpeechesAreWrappedIntoPagesUnderTheirSpeaker) {
    SampleRandom random(3);
    DialogueWriter writer(random);
    bool severalPages = false;
    for (int i = 0; i < 200; ++i) {
        const Dialogue speech = writer.Speech("{BARRET}", true);
        int pageLines = 0;
        int tallest = 0;
        int widest = 0;
        bool pageStart = true;
        for (const std::string& line : Lines(speech.tagged)) {
            if (line == "{NEW PAGE}") {
                severalPages = true;
                pageStart = true;
                pageLines = 0;
                continue;
            }
            if (pageStart) {
                EXPECT_EQ(line, "{BARRET}");
            }
            pageStart = false;
            tallest = std::max(tallest, ++pageLines);
            widest = std::max(widest, DrawnWidth(line));
            EXPECT_LE(DrawnWidth(line), 36) << line;
        }
        EXPECT_EQ(speech.tallestPage, tallest);
        EXPECT_EQ(speech.widestLine, widest);
        EXPECT_LE(tallest, 4);
    }
    EXPECT_TRUE(severalPages);
}

TEST(DialogueWriterTest, QuestionChoicesAreTheLinesTheAskOpcodeNames) {
    SampleRandom random(5);
    DialogueWriter writer(random);
    for (int i = 0; i < 50; ++i) {
        const Dialogue question = writer.Question("Innkeeper");
        const std::vector<std::string> lines = Lines(question.tagged);
        ASSERT_EQ(question.lastChoice + 1, static_cast<int>(lines.size()));
        EXPECT_GE(question.lastChoice - question.firstChoice, 1);
        for (int line = 0; line < static_cast<int>(lines.size()); ++line) {
            EXPECT_EQ(lines[line].starts_with("{CHOICE}"), line >= question.firstChoice);
        }
    }
}

}  // namespace
