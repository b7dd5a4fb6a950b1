#include "ui/interface_texts.h"

#include <utility>

#include <QHash>

#include "jobs/qt_strings.h"
#include "text/language_defaults.h"

namespace {

// The current texts, by case-folded section and key.
using TextTable = QHash<std::pair<QString, QString>, QString>;

// Language files match sections and keys without regard to case, and so does the lookup.
std::pair<QString, QString> FoldedKey(const QString& section, const QString& key) {
    return {section.toCaseFolded(), key.toCaseFolded()};
}

TextTable& CurrentTexts() {
    static TextTable texts = [] {
        TextTable english;
        english.reserve(static_cast<qsizetype>(text::LanguageDefaults().size()));
        for (const text::LanguageDefault& entry : text::LanguageDefaults()) {
            english.insert(FoldedKey(jobs::fromUtf8(entry.section), jobs::fromUtf8(entry.key)),
                           jobs::fromUtf8(entry.english));
        }
        return english;
    }();
    return texts;
}

}  // namespace

QString InterfaceText(const QString& section, const QString& key) {
    return CurrentTexts().value(FoldedKey(section, key));
}

QString InterfaceText(const char* section, const char* key) {
    return InterfaceText(QString::fromLatin1(section), QString::fromLatin1(key));
}

void LoadInterfaceTexts(const InterfaceTextReader& read) {
    TextTable& texts = CurrentTexts();
    for (const text::LanguageDefault& entry : text::LanguageDefaults()) {
        const QString section = jobs::fromUtf8(entry.section);
        const QString key = jobs::fromUtf8(entry.key);
        texts.insert(FoldedKey(section, key), read(section, key, jobs::fromUtf8(entry.english)));
    }
}
