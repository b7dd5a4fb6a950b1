#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QMainWindow>
#include <QScreen>
#include <QSplitter>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "ui/editor_settings.h"
#include "ui/ini_file.h"
#include "ui/main_form.h"
#include "ui/main_menu.h"
#include "ui/menu_mnemonics.h"

namespace {

using Command = TMainMenu::Command;

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        path_ = folder_->filePath(QStringLiteral("settings.ini"));
    }

    void iniFilesAreWindows1252AndCaseless() {
        // "Profil é=1" and a value with "ü", in Windows-1252; other lines and comments stay.
        write(path_, "; kept\r\n[Settings]\r\nlanguage = fra\r\nOther=x\r\n[WINDOWS]\r\nProfil \xE9=1\r\n"
                     "Second=\xFC\r\nBad=12x\r\n");
        TIniFile ini(path_);
        QCOMPARE(ini.readString("SETTINGS", "Language", "eng"), QStringLiteral("fra"));
        QCOMPARE(ini.readInteger("settings", "other", 7), 7);
        QCOMPARE(ini.readInteger("windows", "bad", 7), 7);
        const std::vector<std::pair<QString, QString>> profiles = ini.readSection("windows");
        QCOMPARE(profiles.size(), std::size_t{3});
        QCOMPARE(profiles[0], std::make_pair(QStringLiteral("Profil \u00E9"), QStringLiteral("1")));
        QCOMPARE(profiles[1], std::make_pair(QStringLiteral("Second"), QStringLiteral("\u00FC")));

        ini.writeString("settings", "LANGUAGE", QStringLiteral("d\u00E9u"));
        ini.writeBool("Settings", "TextPreview", false);
        QVERIFY(ini.save());
        const QByteArray written = read(path_);
        QCOMPARE(written, QByteArray("; kept\n\n\n[Settings]\nlanguage=d\xE9u\nOther=x\nTextPreview=0\n\n\n"
                                     "[WINDOWS]\nProfil \xE9=1\nSecond=\xFC\nBad=12x\n"));
        // Saving again changes nothing: the file does not grow with every run.
        QVERIFY(TIniFile(path_).save());
        QCOMPARE(read(path_), written);
    }

    void missingAndDamagedFilesGiveTheDefaults() {
        TEditorSettings settings = TEditorSettings::read(path_);
        QCOMPARE(settings.language, QStringLiteral("eng"));
        // The file list as wide as its columns.
        QCOMPARE(settings.levelsListSize, 0);
        QCOMPARE(settings.columnWidths, (std::array<int, 6>{30, 75, 145, 50, 70, 70}));
        QVERIFY(settings.textPreview);
        QVERIFY(!settings.gameView);
        QCOMPARE(settings.gameViewNames, text::CharacterNames::Default);
        QVERIFY(settings.spellingDictionary.isEmpty());
        QCOMPARE(settings.levelPreviewSize, 1);
        QCOMPARE(settings.windowColors, 0);
        QVERIFY(settings.windowProfiles.empty());

        // Values that are not numbers, a size out of range, and bytes that are no text at all.
        static const char damaged[] =
            "[SETTINGS]\nLevelsListSize=wide\nLevelPreviewSize=9\nTextPreview=0\nGameViewNames="
            "huge\n\0\xFF\xFE";
        write(path_, QByteArray(damaged, sizeof damaged - 1));
        settings = TEditorSettings::read(path_);
        // The file list as wide as its columns.
        QCOMPARE(settings.levelsListSize, 0);
        QCOMPARE(settings.levelPreviewSize, 1);
        QVERIFY(!settings.textPreview);
        QCOMPARE(settings.gameViewNames, text::CharacterNames::Default);
    }

    void aSettingsFileIsReadWholeAndKeptWhenItCannotBe() {
        // A NUL byte in the middle: the keys after it are read, and the file as it was is kept
        // as settings.ini.bak when the language is written.
        static const char withNul[] =
            "[SETTINGS]\nLanguage=fra\nTextPreview=0\0\nLevelPreviewSize=3\n"
            "[WINDOWS]\nDusk=102030405060708090A0B0C0\n";
        const QByteArray damaged(withNul, sizeof withNul - 1);
        write(path_, damaged);
        TEditorSettings settings = TEditorSettings::read(path_);
        QCOMPARE(settings.language, QStringLiteral("fra"));
        QCOMPARE(settings.levelPreviewSize, 3);
        QCOMPARE(settings.windowProfiles.size(), std::size_t{1});
        QVERIFY(TEditorSettings::writeLanguage(path_, QStringLiteral("deu")));
        QCOMPARE(read(path_ + QStringLiteral(".bak")), damaged);
        settings = TEditorSettings::read(path_);
        QCOMPARE(settings.language, QStringLiteral("deu"));
        QCOMPARE(settings.levelPreviewSize, 3);
        QCOMPARE(settings.windowProfiles.size(), std::size_t{1});
        // The new file reads whole: the next write makes no backup.
        QVERIFY(QFile::remove(path_ + QStringLiteral(".bak")));
        QVERIFY(TEditorSettings::writeLanguage(path_, QStringLiteral("fra")));
        QVERIFY(!QFile::exists(path_ + QStringLiteral(".bak")));
    }

    void aSettingsFileKeepsItsEncoding_data() {
        QTest::addColumn<QByteArray>("mark");
        QTest::addColumn<QString>("encoding");
        QTest::addRow("UTF-16, as Notepad saves it")
            << QByteArray("\xFF\xFE") << QStringLiteral("UTF-16LE");
        QTest::addRow("UTF-8 with a byte-order mark")
            << QByteArray("\xEF\xBB\xBF") << QStringLiteral("UTF-8");
    }

    void aSettingsFileKeepsItsEncoding() {
        QFETCH(QByteArray, mark);
        QFETCH(QString, encoding);
        QStringEncoder encoder(encoding.toLatin1().constData());
        const auto encode = [&encoder](const QString& text) {
            return QByteArray(encoder.encode(text));
        };
        write(path_, mark + encode(QStringLiteral(
                                "[SETTINGS]\r\nLanguage=fra\r\nLevelPreviewSize=4\r\n"
                                "[WINDOWS]\r\nAube \u00E9=102030405060708090A0B0C0\r\n")));
        TEditorSettings settings = TEditorSettings::read(path_);
        QCOMPARE(settings.language, QStringLiteral("fra"));
        QCOMPARE(settings.levelPreviewSize, 4);
        QCOMPARE(settings.windowProfiles.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(settings.windowProfiles[0].first),
                 QStringLiteral("Aube \u00E9"));

        QVERIFY(TEditorSettings::writeLanguage(path_, QStringLiteral("deu")));
        QVERIFY(!QFile::exists(path_ + QStringLiteral(".bak")));
        const QByteArray written = read(path_);
        QVERIFY(written.startsWith(mark));
        QVERIFY(written.contains(encode(QStringLiteral("Language=deu\n"))));
        QVERIFY(written.contains(encode(QStringLiteral("Aube \u00E9=102030405060708090A0B0C0\n"))));
        QCOMPARE(TEditorSettings::read(path_).levelPreviewSize, 4);
    }

    void restoredSizesStayWithinTheScreen() {
        write(
            path_,
            "[SETTINGS]\nLevelsListSize=100000\nLevelsListCol3=100000\nTextPreviewHeight=100000\n");
        TMainForm form({}, TEditorPaths::inFolder(folder_->path()));
        form.show();
        const QSize screen = form.screen()->availableGeometry().size();
        QVERIFY(form.findChild<QTreeView*>(QStringLiteral("filesView"))->columnWidth(2) <=
                screen.width());
        QVERIFY(form.findChild<QSplitter*>(QStringLiteral("mainSplitter"))->sizes().value(0) <=
                screen.width());
        QVERIFY(form.findChild<QSplitter*>(QStringLiteral("textsSplitter"))->sizes().value(1) <=
                screen.height());
    }

    void everySettingIsWrittenAtCloseAndReadBack() {
        write(path_, "[SETTINGS]\nUnknownKey=stays\n[WINDOWS]\nDusk=102030405060708090A0B0C0\n");
        // A dictionary of its own, found in the settings' folder.
        write(folder_->filePath("tiny.aff"), "SET UTF-8\n");
        write(folder_->filePath("tiny.dic"), "1\nhello\n");
        {
            TMainForm form({}, TEditorPaths::inFolder(folder_->path()));
            form.show();
            auto* menu = form.findChild<TMainMenu*>();
            menu->action(Command::OnlyLevels)->trigger();
            menu->action(Command::DisplayTextPreview)->trigger();
            menu->levelPreviewSizeAction(3)->trigger();
            auto* files = form.findChild<QTreeView*>(QStringLiteral("filesView"));
            files->setColumnWidth(2, 201);
            files->setColumnWidth(4, 77);
            form.findChild<QCheckBox*>(QStringLiteral("gameViewBox"))->setChecked(true);
            form.findChild<QComboBox*>(QStringLiteral("namesChoice"))->setCurrentIndex(1);
            menu->dictionaryAction(QStringLiteral("tiny"))->trigger();
            auto* splitter = form.findChild<QSplitter*>(QStringLiteral("mainSplitter"));
            splitter->setSizes({333, splitter->width() - 333 - splitter->handleWidth()});
            form.resize(900, 650);
            QVERIFY(form.close());
        }
        const TIniFile ini(path_);
        QCOMPARE(ini.readString("SETTINGS", "UnknownKey", ""), QStringLiteral("stays"));
        QCOMPARE(ini.readInteger("SETTINGS", "DisplayOnlyLevels", -1), 1);
        QCOMPARE(ini.readInteger("SETTINGS", "TextPreview", -1), 0);
        QCOMPARE(ini.readInteger("SETTINGS", "LevelPreviewSize", -1), 3);
        QCOMPARE(ini.readInteger("SETTINGS", "LevelsListSize", -1), 333);
        QCOMPARE(ini.readInteger("SETTINGS", "LevelsListCol1", -1), 30);
        QCOMPARE(ini.readInteger("SETTINGS", "LevelsListCol3", -1), 201);
        QCOMPARE(ini.readInteger("SETTINGS", "LevelsListCol5", -1), 77);
        QCOMPARE(ini.readInteger("SETTINGS", "GameView", -1), 1);
        QCOMPARE(ini.readString("SETTINGS", "GameViewNames", ""), QStringLiteral("widest"));
        QCOMPARE(ini.readString("SETTINGS", "SpellingDictionary", ""), QStringLiteral("tiny"));
        QCOMPARE(ini.readInteger("SETTINGS", "WindowState", -1), 0);
        QCOMPARE(ini.readInteger("SETTINGS", "WindowColors", -1), 0);
        QCOMPARE(ini.readString("SETTINGS", "Language", ""), QStringLiteral("eng"));
        QVERIFY(!ini.readString("SETTINGS", "WindowGeometry", "").isEmpty());
        QCOMPARE(ini.readString("WINDOWS", "Dusk", ""), QStringLiteral("102030405060708090A0B0C0"));

        {
            // Closed before its dictionary has loaded, a window keeps the choice.
            TMainForm quick({}, TEditorPaths::inFolder(folder_->path()));
            quick.show();
            QVERIFY(quick.close());
        }
        QCOMPARE(TIniFile(path_).readString("SETTINGS", "SpellingDictionary", ""),
                 QStringLiteral("tiny"));

        TMainForm again({}, TEditorPaths::inFolder(folder_->path()));
        again.show();
        auto* menu = again.findChild<TMainMenu*>();
        QVERIFY(menu->action(Command::OnlyLevels)->isChecked());
        QVERIFY(!menu->action(Command::DisplayTextPreview)->isChecked());
        QVERIFY(menu->levelPreviewSizeAction(3)->isChecked());
        QCOMPARE(again.findChild<QTreeView*>(QStringLiteral("filesView"))->columnWidth(2), 201);
        QCOMPARE(again.findChild<QTreeView*>(QStringLiteral("filesView"))->columnWidth(4), 77);
        QVERIFY(again.findChild<QCheckBox*>(QStringLiteral("gameViewBox"))->isChecked());
        QCOMPARE(again.findChild<QComboBox*>(QStringLiteral("namesChoice"))->currentText(),
                 QStringLiteral("Widest names"));
        // The dictionary loads once the window has started.
        QTRY_VERIFY(menu->dictionaryAction(QStringLiteral("tiny"))->isChecked());
        QCOMPARE(again.findChild<QSplitter*>(QStringLiteral("mainSplitter"))->sizes().value(0), 333);
        QCOMPARE(again.size(), QSize(900, 650));
    }

    void exitWritesTheSettingsToo() {
        {
            TMainForm form({}, TEditorPaths::inFolder(folder_->path()));
            form.show();
            form.findChild<TMainMenu*>()->levelPreviewSizeAction(4)->trigger();
            form.findChild<TMainMenu*>()->action(Command::Exit)->trigger();
            QVERIFY(!form.isVisible());
        }
        QCOMPARE(TIniFile(path_).readInteger("SETTINGS", "LevelPreviewSize", -1), 4);
    }

    void mnemonicsTakeAFreeLetter_data() {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("word starts first") << QStringList{"Find", "Find next", "Find previous"}
                                           << QStringList{"&Find", "Find &next", "Find &previous"};
        QTest::addRow("then any letter") << QStringList{"Save", "Save as", "Sav"}
                                         << QStringList{"&Save", "Save &as", "Sa&v"};
        QTest::addRow("case does not matter") << QStringList{"cut", "Copy"} << QStringList{"&cut", "C&opy"};
        QTest::addRow("none left") << QStringList{"ab", "ba", "ab"} << QStringList{"&ab", "&ba", "ab"};
        QTest::addRow("literal ampersand") << QStringList{"R&D"} << QStringList{"&R&&D"};
        QTest::addRow("accented") << QStringList{"\u00C9dition", "Edit"} << QStringList{"&\u00C9dition", "&Edit"};
        QTest::addRow("no letter") << QStringList{"?"} << QStringList{"?"};
    }

    void mnemonicsTakeAFreeLetter() {
        QFETCH(QStringList, captions);
        QFETCH(QStringList, expected);
        QSet<QChar> used;
        QStringList actual;
        for (const QString& caption : captions) actual << ui::WithMnemonic(caption, used);
        QCOMPARE(actual, expected);
    }

private:
    std::unique_ptr<QTemporaryDir> folder_;
    QString path_;
};

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"
