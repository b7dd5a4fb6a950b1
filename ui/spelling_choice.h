#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

#include "spelling/dictionaries.h"
#include "spelling/user_word_list.h"

namespace spelling {
class SpellChecker;
}  // namespace spelling

// The spell checking chosen in the View menu: the Hunspell dictionaries installed in the
// dictionary folders (searched once), the chosen one's checker or none, and the user's own word
// list, whose words every checker accepts.
class TSpellingChoice : public QObject {
    Q_OBJECT

public:
    TSpellingChoice(const std::vector<std::filesystem::path>& folders,
                    std::filesystem::path userWords, QObject* parent = nullptr);
    ~TSpellingChoice() override;

    // The installed dictionaries' names, such as "en_US", sorted.
    QStringList dictionaryNames() const;
    // The chosen dictionary's name; empty when nothing is checked.
    QString current() const;
    // The chosen dictionary's checker, or none.
    spelling::SpellChecker* checker() const { return checker_.get(); }
    const spelling::UserWordList& userWords() const { return userWords_; }

    // Checks with the installed dictionary `name` from now on, or with none when `name` is
    // empty or not installed. Returns false, checking nothing, when the dictionary cannot be
    // loaded (failed tells why); a word list that cannot be read is told through failed too,
    // and the dictionary is kept. Tells chosen with the name now in use.
    bool choose(const QString& name);

signals:
    void chosen(const QString& name);
    // message: the interface text to show; detail: the file and the reason.
    void failed(const QString& message, const QString& detail);

private:
    std::vector<spelling::Dictionary> dictionaries_;
    spelling::UserWordList userWords_;
    std::unique_ptr<spelling::SpellChecker> checker_;
    QString current_;
};
