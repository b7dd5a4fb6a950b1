#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "cli/language_template.h"
#include "lgp/level_tables.h"
#include "sample/sample_archive.h"
#include "tests/ui/sample_facts.h"
#include "text/language_defaults.h"
#include "ui/archive_session.h"
#include "ui/ini_file.h"
#include "ui/interface_texts.h"
#include "ui/language_catalog.h"
#include "ui/main_form.h"
#include "ui/main_menu.h"
#include "ui/status_bar.h"

namespace {

using Command = TMainMenu::Command;

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList captions(const QList<TLanguage>& languages) {
    QStringList captions;
    for (const TLanguage& language : languages) captions << language.name + QStringLiteral("=") + language.caption;
    return captions;
}

// The mnemonic letters of the entries of `menu` (its own submenus checked as well) are
// distinct, ignoring case; returns the first clash found, empty when none.
QString MnemonicClash(const QList<QAction*>& entries) {
    QSet<QChar> used;
    for (const QAction* entry : entries) {
        if (entry->isSeparator()) continue;
        if (entry->menu() != nullptr) {
            const QString inner = MnemonicClash(entry->menu()->actions());
            if (!inner.isEmpty()) return inner;
        }
        const QString text = entry->text();
        const qsizetype mark = text.indexOf(u'&');
        if (mark < 0 || mark + 1 >= text.size()) continue;
        const QChar letter = text.at(mark + 1).toLower();
        if (used.contains(letter)) return text;
        used.insert(letter);
    }
    return {};
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT

private slots:
    void init() { folder_ = std::make_unique<QTemporaryDir>(); }
    void cleanup() { ui::LoadLanguage(QString()); }

    void theMenuListsThreeLetterLanguageFiles() {
        const QString first = folder_->filePath(QStringLiteral("first"));
        const QString second = folder_->filePath(QStringLiteral("second"));
        QVERIFY(QDir().mkpath(first) && QDir().mkpath(second));
        write(first + QStringLiteral("/fra.lng"), "[header]\nlanguage=Fran\xE7" "ais\n");
        write(first + QStringLiteral("/deu.lng"), "[general]\nopen=\xD6" "ffnen\n");
        write(first + QStringLiteral("/eng.lng"), "[header]\nlanguage=British\n");
        write(first + QStringLiteral("/frnc.lng"), "[header]\nlanguage=Four\n");
        write(first + QStringLiteral("/ita.LNG"), "[header]\nlanguage=Italiano\n");
        write(first + QStringLiteral("/es.lng"), "[header]\nlanguage=Two\n");
        write(first + QStringLiteral("/pol.txt"), "[header]\nlanguage=Text\n");
        QVERIFY(QDir().mkpath(first + QStringLiteral("/nld.lng")));
        write(second + QStringLiteral("/FRA.lng"), "[header]\nlanguage=Hidden\n");
        write(second + QStringLiteral("/jpn.lng"), "[header]\nlanguage=Nihongo\n");

        QCOMPARE(captions(ui::FindLanguages({first, second})),
                 (QStringList{"deu=deu", QStringLiteral("fra=Fran\u00E7ais"), "ita=Italiano",
                              "jpn=Nihongo"}));
        QCOMPARE(ui::LanguageFile({first, second}, QStringLiteral("ENG")),
                 first + QStringLiteral("/eng.lng"));
        QVERIFY(ui::LanguageFile({first, second}, QStringLiteral("pol")).isEmpty());
        QVERIFY(ui::FindLanguages({folder_->filePath(QStringLiteral("none"))}).isEmpty());
    }

    void aLanguageFileReplacesTextsAndDescriptions() {
        const QString path = folder_->filePath(QStringLiteral("tst.lng"));
        write(path, "[GENERAL]\nOpen=Ouvrir\n[levels_descriptions]\nancnt3=Cit\xE9 oubli\xE9" "e - autel\n");
        ui::LoadLanguage(path);
        QCOMPARE(ui::InterfaceText("general", "open"), QStringLiteral("Ouvrir"));
        QCOMPARE(ui::InterfaceText("general", "save"), QStringLiteral("Save"));
        QCOMPARE(lgp::RuntimeLevelDescriptions().Get(std::string_view("ancnt3")),
                 std::string_view("Cit\xE9 oubli\xE9" "e - autel"));
        QCOMPARE(lgp::RuntimeLevelDescriptions().Get(std::string_view("ancnt4")),
                 std::string_view("Forgotten City - water altar"));
        ui::LoadLanguage(QString());
        QCOMPARE(ui::InterfaceText("general", "open"), QStringLiteral("Open"));
        QCOMPARE(lgp::RuntimeLevelDescriptions().Get(std::string_view("ancnt3")),
                 std::string_view("Forgotten City - altar"));
    }

    void languageFilesAreReadInTheirEncoding_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QString text = QStringLiteral(
            "[header]\r\nlanguage=Fran\u00E7ais \u20AC\r\n[general]\r\nopen=Ouvrir\r\n");
        QTest::addRow("Windows-1252") << QByteArray(
            "[header]\nlanguage=Fran\xE7"
            "ais \x80\n[general]\nopen=Ouvrir\n");
        QTest::addRow("UTF-8") << text.toUtf8();
        QTest::addRow("UTF-8 with a byte-order mark") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        const auto encoded = [&text](const char* encoding) {
            QStringEncoder encoder(encoding);
            return QByteArray(encoder.encode(text));
        };
        QTest::addRow("UTF-16 as Notepad saves it") << QByteArray("\xFF\xFE") + encoded("UTF-16LE");
        QTest::addRow("UTF-16, big-endian") << QByteArray("\xFE\xFF") + encoded("UTF-16BE");
    }

    void languageFilesAreReadInTheirEncoding() {
        QFETCH(QByteArray, bytes);
        write(folder_->filePath(QStringLiteral("fra.lng")), bytes);
        QCOMPARE(captions(ui::FindLanguages({folder_->path()})),
                 QStringList{QStringLiteral("fra=Fran\u00E7ais \u20AC")});
        ui::LoadLanguage(folder_->filePath(QStringLiteral("fra.lng")));
        QCOMPARE(ui::InterfaceText("general", "open"), QStringLiteral("Ouvrir"));
    }

    void theTemplateHoldsEveryKeyInEnglish() {
        const QString path = folder_->filePath(QStringLiteral("tpl.lng"));
        const std::string contents = cli::LanguageTemplate();
        write(path, QByteArray::fromStdString(contents));
        const TIniFile file(path);
        const QString missing = QStringLiteral("\x01missing");
        for (const text::LanguageDefault& entry : text::LanguageDefaults()) {
            const QString section = ToQString(entry.section);
            const QString key = ToQString(entry.key);
            QCOMPARE(file.readString(section, key, missing), ToQString(entry.english));
        }
        QCOMPARE(file.readSection(QStringLiteral("levels_descriptions")).size(), std::size_t{702});
        QCOMPARE(file.readString("levels_descriptions", "zz1", missing), QStringLiteral("Sleeping man cave"));
        QCOMPARE(file.readString("header", "language", missing), QStringLiteral("English"));
    }

    void theFrenchFileTranslatesEveryKey() {
        const TIniFile french(QStringLiteral(ORVENNE_SOURCE_DIR "/resources/lang/fra.lng"));
        QCOMPARE(french.readString("header", "language", ""), QStringLiteral("Fran\u00E7ais"));
        const QString missing = QStringLiteral("\x01missing");
        for (const text::LanguageDefault& entry : text::LanguageDefaults()) {
            const QString value = french.readString(ToQString(entry.section), ToQString(entry.key), missing);
            QVERIFY2(value != missing, entry.key.data());
        }
    }

    void switchingLanguageChangesEveryWindowAndIsWrittenAtOnce() {
        QVERIFY(QFile::copy(QStringLiteral(ORVENNE_SOURCE_DIR "/resources/lang/fra.lng"),
                            folder_->filePath(QStringLiteral("fra.lng"))));
        write(folder_->filePath(QStringLiteral("tst.lng")),
              "[header]\nlanguage=Test\n[levels_descriptions]\nancnt3=Altar of tests\n");
        const QString archive = folder_->filePath(QStringLiteral("levels.lgp"));
        const sample::SampleArchive sample =
            sample::WriteSampleArchive(archive.toStdString(), {.levels = 6});
        const int ancnt3 = sample.TableIndex("ancnt3");
        const int files = static_cast<int>(sample.files.size());
        const int levels = static_cast<int>(sample.levels.size());
        const int texts = sample_facts::Total(sample, &sample::SampleLevel::texts);
        TMainForm form({archive}, TEditorPaths::inFolder(folder_->path()));
        form.show();
        QVERIFY(QTest::qWaitFor([&] { return form.session().archive() != nullptr; }, 60000));
        auto* menu = form.findChild<TMainMenu*>();
        QCOMPARE(menu->languageNames(), (QStringList{"eng", "fra", "tst"}));
        const QAbstractItemModel* list =
            form.findChild<QTreeView*>(QStringLiteral("filesView"))->model();
        const auto description = [list](int row) { return list->index(row, 2).data().toString(); };

        form.ChangeLanguage(QStringLiteral("fra"));
        QCOMPARE(TIniFile(folder_->filePath(QStringLiteral("settings.ini"))).readString("SETTINGS", "Language", ""),
                 QStringLiteral("fra"));
        QCOMPARE(form.menuBar()->actions().first()->text(), QStringLiteral("&Fichier"));
        QCOMPARE(menu->action(Command::Open)->text(), QStringLiteral("&Ouvrir..."));
        QCOMPARE(menu->action(Command::Open)->toolTip(), QStringLiteral("Ouvrir..."));
        QCOMPARE(list->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Fichier (%1)").arg(files));
        QCOMPARE(list->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Textes"));
        QCOMPARE(form.findChild<TStatusBar*>()->countsText(),
                 QStringLiteral("%1 niveaux / %2 textes").arg(levels).arg(texts));
        QCOMPARE(form.findChild<QGroupBox*>(QStringLiteral("textPreview"))->title(), QStringLiteral("Aper\u00E7u du texte"));
        QCOMPARE(form.findChild<QDialog*>(QStringLiteral("aboutForm"))->windowTitle(), QStringLiteral("\u00C0 propos..."));
        QCOMPARE(MnemonicClash(form.menuBar()->actions()), QString());
        const auto title = [&form](const char* name) {
            return form.findChild<QWidget*>(QString::fromLatin1(name))->windowTitle();
        };
        QCOMPARE(title("windowModificationForm"), QStringLiteral("Modification de la fen\u00EAtre"));
        QCOMPARE(title("findForm"), QStringLiteral("Rechercher"));
        QCOMPARE(title("replaceForm"), QStringLiteral("Remplacer"));
        QCOMPARE(title("compareResultForm"), QStringLiteral("Comparaison des fichiers"));
        QCOMPARE(form.findChild<QGroupBox*>(QStringLiteral("levelPreview"))->title(), QStringLiteral("Aper\u00E7u du niveau"));

        form.ChangeLanguage(QStringLiteral("tst"));
        QCOMPARE(description(ancnt3), QStringLiteral("Altar of tests"));
        QCOMPARE(menu->action(Command::Open)->text(), QStringLiteral("&Open..."));

        // Back to English: every text and description as built in; the choice is kept.
        form.ChangeLanguage(QStringLiteral("eng"));
        QCOMPARE(description(ancnt3), QStringLiteral("Forgotten City - altar"));
        QCOMPARE(list->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("File (%1)").arg(files));
        QCOMPARE(form.findChild<TStatusBar*>()->countsText(), sample_facts::CountsText(sample));
        QCOMPARE(MnemonicClash(form.menuBar()->actions()), QString());
        QCOMPARE(TIniFile(folder_->filePath(QStringLiteral("settings.ini"))).readString("SETTINGS", "Language", ""),
                 QStringLiteral("eng"));
    }

    void theSavedLanguageAppliesAtStartIgnoringCase() {
        QVERIFY(QFile::copy(QStringLiteral(ORVENNE_SOURCE_DIR "/resources/lang/fra.lng"),
                            folder_->filePath(QStringLiteral("fra.lng"))));
        write(folder_->filePath(QStringLiteral("settings.ini")), "[SETTINGS]\nLanguage=FRA\n");
        {
            TMainForm form({}, TEditorPaths::inFolder(folder_->path()));
            form.show();
            QCOMPARE(form.findChild<TMainMenu*>()->action(Command::Save)->toolTip(), QStringLiteral("Enregistrer"));
        }
        // A saved language without its file is English.
        write(folder_->filePath(QStringLiteral("settings.ini")), "[SETTINGS]\nLanguage=xyz\n");
        TMainForm form({}, TEditorPaths::inFolder(folder_->path()));
        form.show();
        QCOMPARE(form.findChild<TMainMenu*>()->action(Command::Save)->toolTip(), QStringLiteral("Save"));
    }

    // The spelling menu names each dictionary's language and country, its own name as hint.
    void dictionariesAreNamedByTheirLanguage() {
        QMenuBar bar;
        TMainMenu menu(bar);
        const QStringList names = {"fr_FR", "en_US", "de_DE_frami", "pt", "tiny"};
        menu.setDictionaries(names);
        const QStringList captions = {"French (France)", "English (United States)",
                                      "German (Germany, frami)", "Portuguese", "tiny"};
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QAction* item = menu.dictionaryAction(names[i]);
            QVERIFY(item != nullptr);
            QCOMPARE(item->text().remove(u'&'), captions[i]);
            QCOMPARE(item->toolTip(), names[i]);
        }
    }

    // Every key that the interface's code names as a literal has its English text.
    void everyLiteralKeyHasItsEnglishText() {
        static const QRegularExpression call(QStringLiteral(
            R"re(InterfaceText\(\s*(?:QStringLiteral\()?"(\w+)"\)?\s*,\s*(?:QStringLiteral\()?"(\w+)")re"));
        QSet<QString> known;
        for (const text::LanguageDefault& entry : text::LanguageDefaults())
            known << ToQString(entry.section) + '/' + ToQString(entry.key);
        int found = 0;
        const QDir sources(QStringLiteral(ORVENNE_SOURCE_DIR "/ui"));
        for (const QString& name : sources.entryList({QStringLiteral("*.cpp")})) {
            QFile file(sources.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString code = QString::fromUtf8(file.readAll());
            for (const QRegularExpressionMatch& match : call.globalMatch(code)) {
                ++found;
                const QString key = match.captured(1) + '/' + match.captured(2);
                QVERIFY2(known.contains(key), qPrintable(name + ": " + key));
            }
        }
        QVERIFY(found > 50);
    }

private:
    std::unique_ptr<QTemporaryDir> folder_;
};

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
