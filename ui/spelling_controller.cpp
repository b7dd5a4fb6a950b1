#include "ui/spelling_controller.h"

#include <utility>

#include "ui/editor_paths.h"
#include "ui/main_menu.h"
#include "ui/spelling_choice.h"
#include "ui/text_editor_pane.h"

TSpellingController::TSpellingController(const TEditorPaths& paths, TMainMenu& menu,
                                         TTextEditorPane& editor, ErrorHook showError,
                                         QObject* parent)
    : QObject(parent),
      choice_(new TSpellingChoice(paths.dictionaryFolders, paths.userWordsFile, this)) {
    menu.setDictionaries(choice_->dictionaryNames());
    editor.setSpelling(choice_);
    connect(&menu, &TMainMenu::dictionaryChosen, this, &TSpellingController::choose);
    connect(choice_, &TSpellingChoice::chosen, &menu, &TMainMenu::checkDictionary);
    connect(choice_, &TSpellingChoice::failed, this, std::move(showError));
}

QString TSpellingController::dictionary() const { return pending_.value_or(choice_->current()); }

void TSpellingController::choose(const QString& name) {
    pending_.reset();
    choice_->choose(name);
}

void TSpellingController::chooseLater(const QString& name) { pending_ = name; }

void TSpellingController::choosePending() {
    if (pending_) choose(*pending_);
}
