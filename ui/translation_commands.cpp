#include "ui/translation_commands.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include <QAction>
#include <QApplication>

#include "lgp/text_search.h"
#include "ui/archive_session.h"
#include "ui/file_list_view.h"
#include "ui/main_menu.h"
#include "ui/text_editor_pane.h"
#include "ui/translation_marks.h"

using Command = TMainMenu::Command;

TTranslationCommands::TTranslationCommands(TArchiveSession& session, TMainMenu& menu,
                                           const TFileListView& files, TTextEditorPane& editor,
                                           QObject* parent)
    : QObject(parent), session_(session), menu_(menu), files_(files), editor_(editor) {
    const auto on = [this](Command command, auto slot) {
        connect(menu_.action(command), &QAction::triggered, this, slot);
    };
    on(Command::CopyOriginal, &TTranslationCommands::copyOriginal);
    on(Command::NextUntranslatedText, [this] { selectUntranslated(true); });
    on(Command::PreviousUntranslatedText, [this] { selectUntranslated(false); });
    connect(&session_.translationMarks(), &TTranslationMarks::originalChanged, this,
            &TTranslationCommands::update);
    connect(&session_, &TArchiveSession::textSelected, this, &TTranslationCommands::update);
    connect(&editor_, &TTextEditorPane::editingChanged, this, &TTranslationCommands::update);
    update();
}

void TTranslationCommands::update() {
    const TTranslationMarks& marks = session_.translationMarks();
    menu_.action(Command::NextUntranslatedText)->setEnabled(marks.hasOriginal());
    menu_.action(Command::PreviousUntranslatedText)->setEnabled(marks.hasOriginal());
    menu_.action(Command::CopyOriginal)
        ->setEnabled(editor_.isEditing() &&
                     marks.originalBytes(session_.currentSubFileIndex(), session_.currentText()));
}

void TTranslationCommands::copyOriginal() {
    const TTranslationMarks& marks = session_.translationMarks();
    const int subFile = session_.currentSubFileIndex();
    const int text = session_.currentText();
    const std::vector<std::uint8_t>* original = marks.originalBytes(subFile, text);
    // While replace-all runs the editor is read-only: a text stored now would be overwritten.
    if (original == nullptr || !editor_.isEditing() || editor_.isReadOnly() ||
        marks.isUntranslated(subFile, text)) {
        return;
    }
    // The original's bytes themselves: some bytes read as text that encodes otherwise, and the
    // copy must count as untranslated. The session reloads the editor with them.
    session_.storeCurrentBytes(*original);
    editor_.selectTagged(0, 0);
}

void TTranslationCommands::selectUntranslated(bool forward) {
    const TLGPFile* archive = session_.archive();
    const TTranslationMarks& marks = session_.translationMarks();
    if (archive == nullptr || !marks.hasOriginal()) return;
    const std::vector<int> rows = files_.displayOrder();
    const auto shown = std::ranges::find(rows, session_.currentSubFileIndex());
    const int row = shown != rows.end() ? static_cast<int>(shown - rows.begin()) : -1;
    const auto untranslated = [&marks](int subFile, int text) {
        return marks.isUntranslated(subFile, text);
    };
    std::optional<lgp::TextHit> hit =
        lgp::FindTextWhere(*archive, rows, row, session_.currentText(), !forward, untranslated);
    // Past the list's end the walk goes on from its other end, the text it left from last.
    if (!hit) hit = lgp::FindTextWhere(*archive, rows, -1, -1, !forward, untranslated);
    if (!hit) {
        QApplication::beep();
        return;
    }
    session_.selectSubFile(hit->subFile);
    session_.selectText(hit->text);
}
