#pragma once

#include <functional>
#include <string_view>

#include <QString>
#include <QStringList>

namespace ui {

// Every caption, hint and message of the user interface, looked up by its language-file
// section and key (matched without regard to case). Until a language file is loaded, and for
// every key a language file lacks, the built-in English default (text::LanguageDefaults)
// applies. A section and key that the defaults lack is a fault of the program: it is written
// to standard error and kept for MissingInterfaceTexts, and the caption reads "section/key",
// so that it shows instead of an empty caption.
QString InterfaceText(const QString& section, const QString& key);
// The same for keys written as literals.
QString InterfaceText(const char* section, const char* key);

// Reads a text from a language file: section, key, and the value to give when the file lacks
// the key.
using InterfaceTextReader =
    std::function<QString(const QString& section, const QString& key, const QString& english)>;

// Replaces every text with what `read` gives for its key, then tells every window (Qt's
// QEvent::LanguageChange, delivered before this returns), so that each reads its captions
// again. Not synchronised: the user-interface thread is the only one that calls InterfaceText
// and this.
void LoadInterfaceTexts(const InterfaceTextReader& read);

// The "section/key" names asked of InterfaceText that the defaults lack, each once, in the
// order first asked.
QStringList MissingInterfaceTexts();

}  // namespace ui
