#include "cli/bilingual_po.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/lgp/text_archive.h"

namespace {

using lgp_test::MakeTextArchive;

TEST(BilingualPoTest, WritesTheOriginalBesideTheTranslation) {
    const std::unique_ptr<TLGPFile> original = MakeTextArchive({
        {"ancnt1", {"Hello", "", "A\r\nB", "Keep", "Gone", "Nul"}},
        {"ancnt2", {"Z"}},
    });
    const std::unique_ptr<TLGPFile> archive = MakeTextArchive({
        {"ancnt1", {"Bonjour \"toi\"", "Vide", "A\r\nB\r\n", "Keep", "", "Nul", "En plus"}},
        {"maplist", {"x"}},
        {"anfrst_1", {"Rien"}},
    });
    TLGPSubFile& level = *archive->SubFiles[0];
    level.Description = "Forgotten City \xE9";
    // A NUL stands for the code 0xFF before the terminator.
    level.Texts[5].Bytes = {0x2E, 0xFF, 0xFF};
    TWindow window;
    window.X = -8;
    window.Y = 16;
    window.Width = 200;
    window.Height = 57;
    level.Texts[0].Windows = {&window, &window};

    EXPECT_EQ(cli::ExportBilingualPo(*archive, *original, "fr.lgp", "2024-05-01 12:00+0000", "fr"),
              "# Texts of the archive's levels beside those of the original archive. msgctxt is "
              "the\n"
              "# level's name and the text's number (from 1), msgid the original's tagged text,\n"
              "# msgstr the translation: empty while the text is as in the original. Apply the\n"
              "# file with \"orvenne-cli import ARCHIVE FILE --original ORIGINAL\"; a translation\n"
              "# whose msgid is no longer the original's text is not applied.\n"
              "# Left out: ancnt1:2 (the original is empty)\n"
              "# Left out: ancnt1:5 (emptied, which an empty msgstr cannot tell from "
              "untranslated)\n"
              "# Left out: ancnt1:6 (the translation holds a NUL character)\n"
              "# Left out: ancnt1:7 (not in the original)\n"
              "# Left out: level anfrst_1, which the original lacks\n"
              "msgid \"\"\n"
              "msgstr \"\"\n"
              "\"Project-Id-Version: fr.lgp\\n\"\n"
              "\"PO-Revision-Date: 2024-05-01 12:00+0000\\n\"\n"
              "\"Last-Translator: \\n\"\n"
              "\"Language-Team: \\n\"\n"
              "\"Language: fr\\n\"\n"
              "\"MIME-Version: 1.0\\n\"\n"
              "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
              "\"Content-Transfer-Encoding: 8bit\\n\"\n"
              "\n"
              "#. Forgotten City \xC3\xA9 (ancnt1)\n"
              "#. window 1: x -8, y 16, 200 x 57\n"
              "#. window 2: x -8, y 16, 200 x 57\n"
              "msgctxt \"ancnt1:1\"\n"
              "msgid \"Hello\"\n"
              "msgstr \"Bonjour \\\"toi\\\"\"\n"
              "\n"
              "#. Forgotten City \xC3\xA9 (ancnt1)\n"
              "#. no window\n"
              "#. The translation starts or ends with a line break where the\n"
              "#. original does not, or the reverse: gettext's tools take it\n"
              "#. only as fuzzy, and import leaves fuzzy entries out.\n"
              "#, fuzzy\n"
              "msgctxt \"ancnt1:3\"\n"
              "msgid \"\"\n"
              "\"A\\n\"\n"
              "\"B\"\n"
              "msgstr \"\"\n"
              "\"A\\n\"\n"
              "\"B\\n\"\n"
              "\n"
              "#. Forgotten City \xC3\xA9 (ancnt1)\n"
              "#. no window\n"
              "msgctxt \"ancnt1:4\"\n"
              "msgid \"Keep\"\n"
              "msgstr \"\"\n");
}

TEST(BilingualPoTest, WithoutALanguageTheHeaderHasNone) {
    const std::unique_ptr<TLGPFile> archive = MakeTextArchive({{"ancnt1", {"Hello"}}});
    const std::string po =
        cli::ExportBilingualPo(*archive, *archive, "a", "2024-05-01 12:00+0000", "");
    EXPECT_EQ(po.find("Language:"), std::string::npos);
    EXPECT_NE(po.find("msgid \"Hello\"\nmsgstr \"\"\n"), std::string::npos);
}

TEST(BilingualPoTest, LanguageCodes) {
    for (const char* code : {"fr", "pt_BR", "sr@latin", "de-AT", "en.UTF-8"}) {
        EXPECT_TRUE(cli::IsLanguageCode(code)) << code;
    }
    for (const char* code : {"", "fr\nX: y", "fr br", "fr\"", "\xC3\xA9"}) {
        EXPECT_FALSE(cli::IsLanguageCode(code)) << code;
    }
}

TEST(BilingualPoTest, ImportChecksThatEachMsgidIsStillTheOriginal) {
    const std::unique_ptr<TLGPFile> original =
        MakeTextArchive({{"ancnt1", {"Hello", "A\r\nB"}}, {"ancnt1", {"Shadowed"}}});
    cli::OriginalTexts texts(*original);
    EXPECT_TRUE(texts.Matches("ancnt1", 0, "Hello"));
    EXPECT_TRUE(texts.Matches("ancnt1", 1, "A\nB"));
    EXPECT_FALSE(texts.Matches("ancnt1", 1, "A\r\nB"));
    EXPECT_FALSE(texts.Matches("ancnt1", 0, "Hello again"));
    EXPECT_FALSE(texts.Matches("ancnt1", 2, "Shadowed"));
    EXPECT_FALSE(texts.Matches("anfrst_1", 0, "Hello"));
    EXPECT_EQ(texts.Changed(),
              (std::vector<std::string>{"level ancnt1, text 2", "level ancnt1, text 1",
                                        "level ancnt1, text 3", "level anfrst_1, text 1"}));
}

}  // namespace
