#include "ui/language_catalog.h"

#include <algorithm>
#include <string>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include "jobs/qt_strings.h"
#include "lgp/level_tables.h"
#include "ui/ini_file.h"
#include "ui/interface_texts.h"

namespace ui {

namespace {

constexpr qsizetype kNameLength = 3;
const QString kEnglish = QString::fromLatin1(kEnglishLanguage);

bool IsLanguageFile(const QFileInfo& file) {
    return file.isFile() && file.suffix().compare(QStringLiteral("lng"), Qt::CaseInsensitive) == 0 &&
           file.completeBaseName().size() == kNameLength;
}

QLocale LocaleOf(const TIniFile& file) {
    const QString code = file.readString(QStringLiteral("header"), QStringLiteral("locale"), QString());
    if (!code.isEmpty()) return QLocale(code);
    const QLocale::Language language =
        QLocale::codeToLanguage(QFileInfo(file.path()).completeBaseName());
    return language == QLocale::AnyLanguage ? QLocale::c() : QLocale(language);
}

// Qt's translation of its own texts for locale, installed in place of the one before; none for
// English, the language Qt's texts are written in, or where none is installed.
void LoadQtTranslation(const QLocale& locale) {
    static QPointer<QTranslator> installed;
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) return;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    if (locale.language() == QLocale::C || locale.language() == QLocale::English) return;
    // Owned by the application, so that it goes with it.
    auto* translator = new QTranslator(application);
    for (const QString& folder : QtTranslationFolders()) {
        if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            installed = translator;
            return;
        }
    }
    delete translator;
}

}  // namespace

QLocale LanguageLocale(const QString& path) { return LocaleOf(TIniFile(path)); }

QStringList QtTranslationFolders() {
    return {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

QList<TLanguage> FindLanguages(const QStringList& folders) {
    QList<TLanguage> languages;
    const auto known = [&languages](const QString& name) {
        return std::ranges::any_of(languages, [&name](const TLanguage& language) {
            return language.name.compare(name, Qt::CaseInsensitive) == 0;
        });
    };
    for (const QString& folder : folders) {
        const QFileInfoList files =
            QDir(folder).entryInfoList({QStringLiteral("???.lng"), QStringLiteral("???.LNG")},
                                       QDir::Files, QDir::Name);
        for (const QFileInfo& file : files) {
            const QString name = file.completeBaseName();
            if (!IsLanguageFile(file) || name.compare(kEnglish, Qt::CaseInsensitive) == 0 ||
                known(name)) {
                continue;
            }
            const TIniFile ini(file.absoluteFilePath());
            languages.append({name, ini.readString(QStringLiteral("header"), QStringLiteral("language"), name),
                              file.absoluteFilePath()});
        }
    }
    std::ranges::sort(languages, [](const TLanguage& left, const TLanguage& right) {
        return left.name.compare(right.name, Qt::CaseInsensitive) < 0;
    });
    return languages;
}

QString LanguageFile(const QStringList& folders, const QString& name) {
    for (const QString& folder : folders) {
        const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("???.lng"), QStringLiteral("???.LNG")}, QDir::Files);
        for (const QFileInfo& file : files) {
            if (IsLanguageFile(file) && file.completeBaseName().compare(name, Qt::CaseInsensitive) == 0) {
                return file.absoluteFilePath();
            }
        }
    }
    return {};
}

void LoadLanguage(const QString& path) {
    // An empty path names no file, and a missing file reads as empty: English throughout.
    const TIniFile file(path.isEmpty() ? QString() : path);
    lgp::LevelDescriptions& descriptions = lgp::RuntimeLevelDescriptions();
    const QString section = QStringLiteral("levels_descriptions");
    const auto names = lgp::LevelNames();
    const auto english = lgp::EnglishDescriptions();
    for (std::size_t level = 0; level < names.size(); ++level) {
        const QString fallback = jobs::fromWindows1252(english[level]);
        const QString value = file.readString(section, QString::fromLatin1(names[level].data(),
                                                                          static_cast<qsizetype>(names[level].size())),
                                              fallback);
        descriptions.Set(static_cast<int>(level), jobs::toWindows1252(value).text);
    }
    LoadQtTranslation(LocaleOf(file));
    // Last: it tells the windows, which then find every text in place.
    LoadInterfaceTexts([&file](const QString& section, const QString& key, const QString& english) {
        return file.readString(section, key, english);
    });
}

}  // namespace ui
