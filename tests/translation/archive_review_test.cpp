#include "translation/archive_review.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/lgp/text_archive.h"
#include "text/text_encoder.h"

namespace {

using lgp_test::MakeTextArchive;
using translation::ArchiveReview;
using translation::Check;
using translation::Progress;
using translation::Severity;
using translation::TextPlace;
using translation::TextState;

constexpr auto kTranslated = TextState::Translated;
constexpr auto kUntranslated = TextState::Untranslated;
constexpr auto kNotInOriginal = TextState::NotInOriginal;

// The original, and a translation of it: a level translated in part with a text more, a
// file that is no level, a level the original lacks, and one left as it was.
class ArchiveReviewTest : public testing::Test {
protected:
    std::unique_ptr<TLGPFile> original_ = MakeTextArchive({
        {"ancnt3", {"Hello", "It's {VAR1} gil.", "Bye"}},
        {"maplist", {"x"}},
        {"anfrst_1", {"One", "Two"}},
        {"md1stin", {"Come!"}},
    });
    std::unique_ptr<TLGPFile> archive_ = MakeTextArchive({
        {"ancnt3", {"Bonjour", "It's {VAR1} gil.", "Bye", "En plus"}},
        {"maplist", {"y"}},
        {"anfrst_2", {"Rien"}},
        {"md1stin", {"Come!"}},
    });

    void Edit(std::size_t subFile, std::size_t text, const std::string& tagged) {
        archive_->SubFiles[subFile]->Texts[text].Bytes = text::EncodeText(tagged, true);
    }

    std::vector<TextState> States(const ArchiveReview& review, std::size_t subFile) {
        std::vector<TextState> states;
        for (std::size_t t = 0; t < archive_->SubFiles[subFile]->Texts.size(); ++t) {
            states.push_back(review.state(subFile, t));
        }
        return states;
    }
};

TEST_F(ArchiveReviewTest, MatchesLevelsByNameAndTextsByNumber) {
    const ArchiveReview review(*archive_, *original_);
    EXPECT_EQ(States(review, 0),
              (std::vector<TextState>{kTranslated, kUntranslated, kUntranslated, kNotInOriginal}));
    EXPECT_EQ(States(review, 2), (std::vector<TextState>{kNotInOriginal}));
    EXPECT_EQ(States(review, 3), (std::vector<TextState>{kUntranslated}));

    EXPECT_EQ(review.levelProgress(0), (Progress{2, 4}));
    EXPECT_EQ(review.levelProgress(1), (Progress{0, 0}));
    EXPECT_EQ(review.levelProgress(2), (Progress{1, 1}));
    EXPECT_EQ(review.levelProgress(3), (Progress{0, 1}));
    EXPECT_EQ(review.totalProgress(), (Progress{3, 6}));

    EXPECT_EQ(review.originalLevel(0), original_->SubFiles[0].get());
    EXPECT_EQ(review.originalLevel(1), nullptr);
    EXPECT_EQ(review.originalLevel(2), nullptr);
    ASSERT_NE(review.originalText(0, 2), nullptr);
    EXPECT_EQ(*review.originalText(0, 2), original_->SubFiles[0]->Texts[2].Bytes);
    EXPECT_EQ(review.originalText(0, 3), nullptr);
    EXPECT_EQ(review.state(9, 0), kNotInOriginal);
    EXPECT_TRUE(review.findings(0, 99).empty());
}

TEST_F(ArchiveReviewTest, AKeystrokeUpdatesTheTextItsLevelAndTheTotal) {
    ArchiveReview review(*archive_, *original_);
    Edit(0, 1, "C'est gratuit.");
    EXPECT_TRUE(review.updateText(0, 1));
    EXPECT_EQ(review.state(0, 1), kTranslated);
    ASSERT_EQ(review.findings(0, 1).size(), 1u);
    EXPECT_EQ(review.findings(0, 1)[0].check, Check::Variables);
    EXPECT_EQ(review.levelProgress(0), (Progress{3, 4}));
    EXPECT_EQ(review.totalProgress(), (Progress{4, 6}));
    EXPECT_EQ(review.textsWithFindings(0), 1u);
    EXPECT_EQ(review.textsWithErrors(0), 1u);

    // The next keystroke changes the text but not its review.
    Edit(0, 1, "C'est gratuit!");
    EXPECT_FALSE(review.updateText(0, 1));

    Edit(0, 1, "C'est {VAR1} gil. ");
    EXPECT_TRUE(review.updateText(0, 1));
    ASSERT_EQ(review.findings(0, 1).size(), 1u);
    EXPECT_EQ(review.findings(0, 1)[0].severity, Severity::Warning);
    EXPECT_EQ(review.textsWithFindings(0), 1u);
    EXPECT_EQ(review.textsWithErrors(0), 0u);

    // Typed back to the original: untranslated again, without findings.
    Edit(0, 1, "It's {VAR1} gil.");
    EXPECT_TRUE(review.updateText(0, 1));
    EXPECT_EQ(review.state(0, 1), kUntranslated);
    EXPECT_EQ(review.textsWithFindings(0), 0u);
    EXPECT_EQ(review.totalProgress(), (Progress{3, 6}));
    EXPECT_FALSE(review.updateText(0, 9));
}

TEST_F(ArchiveReviewTest, ALevelIsReviewedAgainAsAWhole) {
    ArchiveReview review(*archive_, *original_);
    Edit(0, 0, "Hello");
    Edit(0, 2, "");
    Edit(3, 0, "Viens !");
    review.updateLevel(0);
    EXPECT_EQ(States(review, 0),
              (std::vector<TextState>{kUntranslated, kUntranslated, kTranslated, kNotInOriginal}));
    EXPECT_EQ(review.findings(0, 2).at(0).check, Check::Empty);
    // Level 3 was not told: it keeps its review until it is.
    EXPECT_EQ(review.state(3, 0), kUntranslated);
    EXPECT_EQ(review.totalProgress(), (Progress{3, 6}));
    review.updateLevel(3);
    EXPECT_EQ(review.totalProgress(), (Progress{4, 6}));
}

TEST_F(ArchiveReviewTest, QuestionsAreTheTextsThatAnAskShows) {
    original_->SubFiles[3]->Texts[0].Bytes = text::EncodeText("Go?\r\n{CHOICE}Yes", true);
    TLGPSubFile& level = *archive_->SubFiles[3];
    TMessage& ask = level.Entities.emplace_back().Scripts.emplace_back().Messages.emplace_back();
    ask.Ask = true;
    ask.TextId = 0;
    ask.FirstChoice = 1;
    ask.LastChoice = 1;
    Edit(3, 0, "On y va ?\r\n{CHOICE}Oui\r\n{CHOICE}Non");
    const ArchiveReview review(*archive_, *original_);
    std::vector<std::string> details;
    for (const translation::Finding& finding : review.findings(3, 0)) {
        EXPECT_EQ(finding.check, Check::Question);
        details.push_back(finding.detail);
    }
    EXPECT_EQ(details, (std::vector<std::string>{
                           "3 lines, the original 2 (the ASK opcode's choices: line 2)",
                           "2 {CHOICE} tags, the original 1"}));
}

}  // namespace
