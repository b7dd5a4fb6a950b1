#include <iterator>
#include <string_view>

#include <QSet>
#include <QString>
#include <QStringList>
#include <QTest>

#include "text/language_defaults.h"
#include "ui/interface_texts.h"

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The sections of a language file, but for "header" and "levels_descriptions".
const QString kSections[] = {
    "messages",
    "general",
    "tags_description",
    "main",
    "level_preview",
    "compare",
    "export_mod",
    "window_colors",
    "find",
    "replace",
    "window_modification",
    "about",
};

QString ReadEnglish(const QString&, const QString&, const QString& english) { return english; }

}  // namespace

class InterfaceTextsTest : public QObject {
    Q_OBJECT

private slots:
    // Every test starts and ends with the built-in English texts.
    void cleanup() { ui::LoadInterfaceTexts(ReadEnglish); }

    void englishDefaults_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("english");

        const auto row = [](const char* section, const char* key, const char* english) {
            QTest::addRow("%s/%s", section, key) << section << key << english;
        };
        row("messages", "invalid_file", "Invalid file.");
        row("messages", "file_opening", "File opening");
        row("messages", "file_saving", "File saving");
        row("messages", "file_saving_failure", "An error occured during file saving.");
        row("messages", "no_text_found", "Text could not be found.");
        row("messages", "texts_modified", "texts have been modified.");
        row("general", "open", "Open");
        row("general", "save_as", "Save as");
        row("general", "display_last_comparison", "Display last comparison");
        row("general", "window_colors", "Window colors");
        row("general", "very_large", "Very large");
        row("general", "lgp_files", "LGP files");
        row("tags_description", "multicolour", "Multicolour");
        row("tags_description", "red_xiii", "Red XIII");
        row("tags_description", "member3", "Member 3");
        row("tags_description", "other_tags", "Other tags");
        row("main", "file", "File");
        row("main", "modify_window_size_position", "Modify window size/position");
        row("main", "click_to_enlarge", "Click to enlarge");
        row("level_preview", "preview", "Preview");
        row("compare", "texts", "texts");
        row("compare", "windowed_texts", "windowed texts");
        row("window_colors", "preview_text", "This is a window preview.");
        row("window_colors", "more", "More");
        row("find", "match_case", "Match case");
        row("replace", "with", "with");
        row("window_modification", "horizontal_center", "Horizontal center");
        row("window_modification", "lines", "lines");
        row("about", "by", "by");
    }

    void englishDefaults() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, english);
        QCOMPARE(ui::InterfaceText(section, key), english);
    }

    void lookupIgnoresCase() {
        QCOMPARE(ui::InterfaceText("MESSAGES", "Invalid_File"), QString("Invalid file."));
        QCOMPARE(ui::InterfaceText("Window_Modification", "FULL_SCREEN"), QString("Full screen"));
    }

    // The same key names different texts in different sections.
    void sectionSelectsText() {
        QCOMPARE(ui::InterfaceText("main", "texts"), QString("Texts"));
        QCOMPARE(ui::InterfaceText("compare", "texts"), QString("texts"));
        QCOMPARE(ui::InterfaceText("find", "find"), QString("Find"));
        QCOMPARE(ui::InterfaceText("replace", "find"), QString("replace/find"));
    }

    // A key without an English default is the program's fault: it shows as its name, never as
    // an empty caption, and is kept for the tests that look for such keys.
    void unknownKeysShowTheirNameAndAreKept() {
        QCOMPARE(ui::InterfaceText("general", "frobnicate"), QString("general/frobnicate"));
        QCOMPARE(ui::InterfaceText("menu", "open"), QString("menu/open"));
        QCOMPARE(ui::InterfaceText("", ""), QString("/"));
        // Neither the level descriptions nor a file's own language name are interface texts.
        QCOMPARE(ui::InterfaceText("levels_descriptions", "ancnt3"),
                 QString("levels_descriptions/ancnt3"));
        QCOMPARE(ui::InterfaceText("general", "frobnicate"), QString("general/frobnicate"));
        QVERIFY(ui::MissingInterfaceTexts().contains("general/frobnicate"));
        QCOMPARE(ui::MissingInterfaceTexts().count("general/frobnicate"), 1);
        QVERIFY(ui::MissingInterfaceTexts().contains("levels_descriptions/ancnt3"));
        QVERIFY(!ui::MissingInterfaceTexts().contains("general/open"));
    }

    void tableHoldsEachKeyOnceWithBareEnglishText() {
        QSet<QString> seen;
        QSet<QString> sections;
        for (const text::LanguageDefault& entry : text::LanguageDefaults()) {
            const QString section = ToQString(entry.section);
            const QString key = ToQString(entry.key);
            const QString english = ToQString(entry.english);
            const QString name = section + '/' + key;
            QVERIFY2(!seen.contains(name.toCaseFolded()), qPrintable(name));
            seen.insert(name.toCaseFolded());
            sections.insert(section);

            QVERIFY2(!english.isEmpty(), qPrintable(name));
            QVERIFY2(english == english.trimmed(), qPrintable(name));
            // Callers append the ellipsis and the colon themselves.
            QVERIFY2(!english.endsWith("...") && !english.endsWith(':'), qPrintable(name));
            QCOMPARE(ui::InterfaceText(section, key), english);
        }
        QCOMPARE(sections, QSet<QString>(std::begin(kSections), std::end(kSections)));
    }

    void loadedTextsReplaceEnglish() {
        QStringList asked;
        ui::LoadInterfaceTexts(
            [&asked](const QString& section, const QString& key, const QString& english) {
                asked << section + '/' + key;
                if (section == "general" && key == "open") return QString("Ouvrir");
                if (section == "messages" && key == "invalid_file")
                    return QString("Fichier invalide.");
                return english;
            });

        QCOMPARE(asked.size(), static_cast<qsizetype>(text::LanguageDefaults().size()));
        QVERIFY(asked.contains("window_modification/full_screen"));
        QCOMPARE(ui::InterfaceText("General", "OPEN"), QString("Ouvrir"));
        QCOMPARE(ui::InterfaceText("messages", "invalid_file"), QString("Fichier invalide."));
        QCOMPARE(ui::InterfaceText("general", "save"), QString("Save"));

        ui::LoadInterfaceTexts(ReadEnglish);
        QCOMPARE(ui::InterfaceText("general", "open"), QString("Open"));
        QCOMPARE(ui::InterfaceText("messages", "invalid_file"), QString("Invalid file."));
    }

    // A language file may give a key an empty value; that empties the text.
    void loadedEmptyTextStaysEmpty() {
        ui::LoadInterfaceTexts(
            [](const QString& section, const QString& key, const QString& english) {
                return section == "about" && key == "by" ? QString() : english;
            });
        QVERIFY(ui::InterfaceText("about", "by").isEmpty());
        QCOMPARE(ui::InterfaceText("find", "next"), QString("Next"));
    }
};

QTEST_GUILESS_MAIN(InterfaceTextsTest)
#include "interface_texts_test.moc"
