#include "ui/interface_texts.h"

#include <iostream>
#include <utility>

#include <QCoreApplication>
#include <QEvent>
#include <QHash>

#include "jobs/qt_strings.h"
#include "text/language_defaults.h"

namespace ui {

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

QStringList& Missing() {
    static QStringList missing;
    return missing;
}

}  // namespace

QString InterfaceText(const QString& section, const QString& key) {
    const TextTable& texts = CurrentTexts();
    const auto found = texts.constFind(FoldedKey(section, key));
    if (found != texts.constEnd()) return found.value();
    const QString name = section + u'/' + key;
    if (!Missing().contains(name)) {
        Missing() << name;
        std::cerr << "orvenne: the interface text " << jobs::toUtf8(name)
                  << " has no English default\n";
    }
    return name;
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
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) return;
    // The application passes the event on to every window, and each window to its children:
    // no window can be left out. Delivered now, so that the captions are read before the
    // caller goes on.
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(application, &change);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

QStringList MissingInterfaceTexts() { return Missing(); }

}  // namespace ui
