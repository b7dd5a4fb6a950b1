#include "ui/spelling_choice.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "jobs/qt_strings.h"
#include "spelling/spell_checker.h"
#include "ui/interface_texts.h"

TSpellingChoice::TSpellingChoice(const std::vector<std::filesystem::path>& folders,
                                 std::filesystem::path userWords, QObject* parent)
    : QObject(parent), dictionaries_(spelling::FindDictionaries(folders)),
      userWords_(std::move(userWords)) {}

TSpellingChoice::~TSpellingChoice() = default;

QStringList TSpellingChoice::dictionaryNames() const {
    QStringList names;
    for (const spelling::Dictionary& dictionary : dictionaries_)
        names << jobs::fromUtf8(dictionary.name);
    return names;
}

QString TSpellingChoice::current() const { return current_; }

bool TSpellingChoice::choose(const QString& name) {
    const auto named = std::find_if(dictionaries_.begin(), dictionaries_.end(),
                                    [&](const spelling::Dictionary& dictionary) {
                                        return jobs::fromUtf8(dictionary.name) == name;
                                    });
    checker_.reset();
    current_.clear();
    bool loaded = true;
    if (named != dictionaries_.end()) {
        try {
            checker_ = std::make_unique<spelling::SpellChecker>(*named);
            current_ = name;
        } catch (const std::runtime_error& error) {
            loaded = false;
            emit failed(ui::InterfaceText("messages", "dictionary_not_loaded"),
                        jobs::fromUtf8(error.what()));
        }
    }
    if (checker_) {
        try {
            userWords_.ApplyTo(*checker_);
        } catch (const std::runtime_error& error) {
            emit failed(ui::InterfaceText("messages", "word_list_not_read"),
                        jobs::fromUtf8(error.what()));
        }
    }
    emit chosen(current_);
    return loaded;
}
