#include "ui/text_editor_pane.h"

#include <algorithm>
#include <memory>

#include <QAction>
#include <QEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QTextDocument>

#include "ui/archive_session.h"
#include "ui/editor_text.h"
#include "ui/game_text_edit.h"
#include "ui/replace_form.h"
#include "ui/spelling_choice.h"
#include "ui/spelling_highlighter.h"
#include "ui/spelling_menu.h"
#include "ui/texts_list_delegate.h"
#include "ui/texts_list_model.h"

namespace {

constexpr int kTextsListWidth = 120;

QPixmap Icon(const char* name) {
    return QPixmap(QStringLiteral(":/images/%1.png").arg(QLatin1String(name)));
}

}  // namespace

TTextEditorPane::TTextEditorPane(TArchiveSession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    texts_ = new TTextsListModel(session_, this);
    textsView_ = new QListView;
    textsView_->setObjectName(QStringLiteral("textsView"));
    textsView_->setModel(texts_);
    textsView_->setFixedWidth(kTextsListWidth);
    textsView_->setUniformItemSizes(true);
    textsView_->setSelectionMode(QAbstractItemView::SingleSelection);
    textsView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    textsView_->setItemDelegate(new TTextsListDelegate(
        {Icon("window_icon"), Icon("disabled_window_icon"), Icon("window_icon_compared"),
         Icon("disabled_window_icon_compared"), Icon("overflow_mark"), Icon("finding_error"),
         Icon("finding_warning")},
        textsView_));
    connect(textsView_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!updating_) session_.selectText(current.isValid() ? current.row() : -1);
            });

    textEditor_ = new TGameTextEdit;
    textEditor_->setObjectName(QStringLiteral("textEditor"));
    // The session's history is the editor's: one history for every text, kept while the
    // archive is open.
    textEditor_->setUndoRedoEnabled(false);
    textEditor_->installEventFilter(this);
    textEditor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    textEditor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textEditor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab leaves the editor: a tab is no character of the game's texts.
    textEditor_->setTabChangesFocus(true);
    // Files dropped on the editor go to the window, which opens them; dragged text still moves.
    textEditor_->viewport()->installEventFilter(this);
    // Told before textChanged, which stores the change.
    connect(textEditor_->document(), &QTextDocument::contentsChange, this,
            [this](int position, int removed, int added) {
                changePosition_ = position;
                changeRemoved_ = removed;
                changeAdded_ = added;
            });
    connect(textEditor_, &QPlainTextEdit::textChanged, this, &TTextEditorPane::onEditorChanged);
    connect(textEditor_, &QPlainTextEdit::copyAvailable, this, &TTextEditorPane::copyAvailable);
    connect(textEditor_, &TGameTextEdit::charactersLeftOut, this,
            &TTextEditorPane::charactersLeftOut);
    connect(textEditor_, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        emit caretMoved(ui::TaggedPosition(textEditor_->document()->toRawText(),
                                           textEditor_->textCursor().position()));
    });
    highlighter_ = new ui::SpellingHighlighter(textEditor_->document());
    textEditor_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(textEditor_, &QPlainTextEdit::customContextMenuRequested, this,
            &TTextEditorPane::showContextMenu);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(textsView_);
    layout->addWidget(textEditor_, 1);

    connect(&session_, &TArchiveSession::subFileSelected, this, &TTextEditorPane::updateEnabled);
    connect(&session_, &TArchiveSession::opened, this, &TTextEditorPane::updateEnabled);
    connect(&session_, &TArchiveSession::textSelected, this, &TTextEditorPane::onTextSelected);
    connect(&session_, &TArchiveSession::textReloaded, this, &TTextEditorPane::onTextReloaded);
    updateEnabled();
}

void TTextEditorPane::insertText(const QString& text) {
    if (isEditing() && !isReadOnly()) textEditor_->insertPlainText(text);
}

void TTextEditorPane::replaceSelection(const QString& text) {
    if (isEditing()) TReplaceForm::replaceSelection(*textEditor_, text);
}

std::pair<std::size_t, std::size_t> TTextEditorPane::taggedSelection() const {
    const QTextCursor cursor = textEditor_->textCursor();
    const QString raw = textEditor_->document()->toRawText();
    return {ui::TaggedPosition(raw, cursor.selectionStart()),
            ui::TaggedPosition(raw, cursor.selectionEnd())};
}

std::string TTextEditorPane::selectedTagged() const {
    const auto [start, end] = taggedSelection();
    const std::string& tagged = session_.currentTagged();
    return start < end && end <= tagged.size() ? tagged.substr(start, end - start) : std::string();
}

void TTextEditorPane::selectTagged(std::size_t position, std::size_t length) {
    const std::string& tagged = session_.currentTagged();
    const int last = textEditor_->document()->characterCount() - 1;
    QTextCursor cursor = textEditor_->textCursor();
    cursor.setPosition(std::min(ui::EditorPosition(tagged, position), last));
    cursor.setPosition(std::min(ui::EditorPosition(tagged, position + length), last),
                       QTextCursor::KeepAnchor);
    textEditor_->setTextCursor(cursor);
    textEditor_->ensureCursorVisible();
}

void TTextEditorPane::setReadOnly(bool readOnly) {
    heldReadOnly_ = readOnly;
    updateReadOnly();
}

void TTextEditorPane::updateReadOnly() {
    textEditor_->setReadOnly(heldReadOnly_ ||
                             session_.isLevelReadOnly(session_.currentSubFileIndex()));
}

bool TTextEditorPane::isReadOnly() const { return textEditor_->isReadOnly(); }

// Held read-only, the texts must not change (replace-all reads them meanwhile). A read-only
// level's own state does not stop them: the step they take concerns another level.
void TTextEditorPane::undo() {
    if (!heldReadOnly_) session_.undo();
}

void TTextEditorPane::redo() {
    if (!heldReadOnly_) session_.redo();
}

void TTextEditorPane::cut() { textEditor_->cut(); }
void TTextEditorPane::copy() { textEditor_->copy(); }
void TTextEditorPane::paste() { textEditor_->paste(); }

void TTextEditorPane::selectAll() {
    textEditor_->selectAll();
    textEditor_->setFocus();
}

bool TTextEditorPane::isEditing() const {
    return session_.currentLevel() != nullptr && session_.currentText() >= 0 &&
           !session_.isLevelReadOnly(session_.currentSubFileIndex());
}

void TTextEditorPane::setSpelling(TSpellingChoice* spelling) {
    spelling_ = spelling;
    highlighter_->setChecker(spelling_->checker());
    connect(spelling_, &TSpellingChoice::chosen, this,
            [this] { highlighter_->setChecker(spelling_->checker()); });
}

bool TTextEditorPane::focusText() {
    for (QWidget* widget : {static_cast<QWidget*>(textEditor_), static_cast<QWidget*>(textsView_)}) {
        if (widget->isEnabled()) {
            widget->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return false;
}

void TTextEditorPane::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QWidget::changeEvent(event);
}

void TTextEditorPane::setHistoryActions(QAction* undo, QAction* redo) {
    undoAction_ = undo;
    redoAction_ = redo;
}

void TTextEditorPane::retranslate() { texts_->retranslate(); }

void TTextEditorPane::onTextSelected() {
    updating_ = true;
    const int text = session_.currentText();
    if (text >= 0) {
        textsView_->setCurrentIndex(texts_->index(text));
        textsView_->scrollTo(texts_->index(text));
    } else {
        textsView_->clearSelection();
    }
    // The editor's signals still go out, so that the Edit menu learns there is nothing to copy.
    textEditor_->setPlainText(ui::TaggedToEditor(session_.currentTagged()));
    run_ = Run::None;
    updating_ = false;
    updateEnabled();
}

void TTextEditorPane::onTextReloaded() {
    QString before = textEditor_->document()->toRawText();
    for (const QChar lineBreak : {QChar(QChar::ParagraphSeparator), QChar(QChar::LineSeparator)}) {
        before.replace(lineBreak, u'\n');
    }
    const QString after = ui::TaggedToEditor(session_.currentTagged());
    const int caret = textEditor_->textCursor().position();
    {
        const QSignalBlocker blocker(textEditor_);
        textEditor_->setPlainText(after);
    }
    run_ = Run::None;
    // The caret goes after what changed: the end of what differs, the common start and end of
    // both texts set apart; it stays where it was when nothing shows a change.
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype common = 0;
    while (common < shorter && before[common] == after[common]) ++common;
    qsizetype tail = 0;
    while (tail < shorter - common &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    const bool same = common == before.size() && common == after.size();
    QTextCursor cursor = textEditor_->textCursor();
    cursor.setPosition(same ? std::min(caret, static_cast<int>(after.size()))
                            : static_cast<int>(after.size() - tail));
    textEditor_->setTextCursor(cursor);
    textEditor_->ensureCursorVisible();
}

void TTextEditorPane::onEditorChanged() {
    // Nothing is stored while read-only: replace-all may be storing texts meanwhile.
    if (updating_ || !isEditing() || isReadOnly()) return;
    std::string tagged = ui::EditorToTagged(textEditor_->document()->toRawText());
    // Underlining words anew tells of a change too, with the same text: no keystroke.
    if (tagged == session_.currentTagged()) return;
    session_.storeCurrentText(std::move(tagged),
                              typingOf(changePosition_, changeRemoved_, changeAdded_));
}

TEditStep::Typing TTextEditorPane::typingOf(int position, int removed, int added) {
    using Typing = TEditStep::Typing;
    if (removed == 0 && added == 1) {
        const bool continues = run_ == Run::Insert && position == runEnd_;
        run_ = Run::Insert;
        runEnd_ = position + 1;
        return continues ? Typing::Continues : Typing::Starts;
    }
    if (removed == 1 && added == 0) {
        // Backspace deletes before the run's end, Delete at it.
        const bool continues =
            run_ == Run::Delete && (position == runEnd_ || position + 1 == runEnd_);
        run_ = Run::Delete;
        runEnd_ = position;
        return continues ? Typing::Continues : Typing::Starts;
    }
    // A character typed over a selection starts a run; anything else stands alone.
    if (added == 1) {
        run_ = Run::Insert;
        runEnd_ = position + 1;
        return Typing::Starts;
    }
    run_ = Run::None;
    return Typing::No;
}

void TTextEditorPane::updateEnabled() {
    const bool hasTexts = session_.currentLevel() != nullptr && texts_->rowCount() > 0;
    textsView_->setEnabled(hasTexts);
    textEditor_->setEnabled(hasTexts);
    updateReadOnly();
    emit editingChanged(isEditing());
}

void TTextEditorPane::showContextMenu(const QPoint& position) {
    const std::unique_ptr<QMenu> menu(textEditor_->createStandardContextMenu());
    // The editor's own undo is off: the history's commands stand in its place.
    for (QAction* standard : menu->actions()) {
        QAction* history = standard->objectName() == QLatin1String("edit-undo")   ? undoAction_
                           : standard->objectName() == QLatin1String("edit-redo") ? redoAction_
                                                                                  : nullptr;
        if (history == nullptr) continue;
        menu->insertAction(standard, history);
        menu->removeAction(standard);
    }
    QMenu spelling(textEditor_);
    if (spelling_ != nullptr && spelling_->checker() != nullptr &&
        ui::SpellingMenu::addEntries(&spelling, textEditor_,
                                     textEditor_->cursorForPosition(position).position(),
                                     *spelling_->checker(), spelling_->userWords(), highlighter_)) {
        QAction* first = menu->actions().value(0);
        menu->insertActions(first, spelling.actions());
        menu->insertSeparator(first);
    }
    menu->exec(textEditor_->viewport()->mapToGlobal(position));
}

bool TTextEditorPane::eventFilter(QObject* watched, QEvent* event) {
    // Undo and redo keys reach the Edit menu, whose commands walk the history, instead of the
    // editor, which would take them for its own undo.
    if (watched == textEditor_ && event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) return true;
    }
    if (watched == textEditor_->viewport()) {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop:
                if (static_cast<QDropEvent*>(event)->mimeData()->hasUrls()) {
                    // Ignored here, the event goes on to the window.
                    event->ignore();
                    return true;
                }
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
