#pragma once

#include <functional>
#include <string_view>

#include <QString>

// Every caption, hint and message of the user interface, looked up by its language-file
// section and key (matched without regard to case). Until a language file is loaded, and for
// every key a language file lacks, the built-in English default (text::LanguageDefaults)
// applies. An unknown section or key gives an empty string.
QString InterfaceText(const QString& section, const QString& key);
// The same for keys written as literals.
QString InterfaceText(const char* section, const char* key);

// Reads a text from a language file: section, key, and the value to give when the file lacks
// the key.
using InterfaceTextReader =
    std::function<QString(const QString& section, const QString& key, const QString& english)>;

// Replaces every text with what `read` gives for its key. Not synchronised: the user-interface
// thread is the only one that calls InterfaceText and this.
void LoadInterfaceTexts(const InterfaceTextReader& read);
