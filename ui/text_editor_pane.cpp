#include "ui/text_editor_pane.h"

#include <algorithm>
#include <memory>

#include <QDropEvent>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextDocument>

#include "ui/archive_session.h"
#include "ui/editor_text.h"
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
         Icon("disabled_window_icon_compared"), Icon("overflow_mark")},
        textsView_));
    connect(textsView_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!updating_) session_.selectText(current.isValid() ? current.row() : -1);
            });

    textEditor_ = new QPlainTextEdit;
    textEditor_->setObjectName(QStringLiteral("textEditor"));
    textEditor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    textEditor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textEditor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab leaves the editor: a tab is no character of the game's texts.
    textEditor_->setTabChangesFocus(true);
    // Files dropped on the editor go to the window, which opens them; dragged text still moves.
    textEditor_->viewport()->installEventFilter(this);
    connect(textEditor_, &QPlainTextEdit::textChanged, this, &TTextEditorPane::onEditorChanged);
    connect(textEditor_, &QPlainTextEdit::undoAvailable, this, &TTextEditorPane::undoAvailable);
    connect(textEditor_, &QPlainTextEdit::redoAvailable, this, &TTextEditorPane::redoAvailable);
    connect(textEditor_, &QPlainTextEdit::copyAvailable, this, &TTextEditorPane::copyAvailable);
    connect(textEditor_, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        emit caretMoved(editor_text::TaggedPosition(textEditor_->document()->toRawText(),
                                                    textEditor_->textCursor().position()));
    });
    highlighter_ = new SpellingHighlighter(textEditor_->document());
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
    return {editor_text::TaggedPosition(raw, cursor.selectionStart()),
            editor_text::TaggedPosition(raw, cursor.selectionEnd())};
}

void TTextEditorPane::selectTagged(std::size_t position, std::size_t length) {
    const std::string& tagged = session_.currentTagged();
    const int last = textEditor_->document()->characterCount() - 1;
    QTextCursor cursor = textEditor_->textCursor();
    cursor.setPosition(std::min(editor_text::EditorPosition(tagged, position), last));
    cursor.setPosition(std::min(editor_text::EditorPosition(tagged, position + length), last),
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

// The editor's undo and redo change a read-only text all the same: they wait.
void TTextEditorPane::undo() {
    if (!isReadOnly()) textEditor_->undo();
}

void TTextEditorPane::redo() {
    if (!isReadOnly()) textEditor_->redo();
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
    // A new text starts a new history: undoing must not bring back another text. The editor's
    // signals still go out, so that the Edit menu learns there is nothing to undo or copy.
    textEditor_->setPlainText(editor_text::TaggedToEditor(session_.currentTagged()));
    updating_ = false;
    updateEnabled();
}

void TTextEditorPane::onTextReloaded() {
    const int caret = textEditor_->textCursor().position();
    {
        const QSignalBlocker blocker(textEditor_);
        textEditor_->setPlainText(editor_text::TaggedToEditor(session_.currentTagged()));
    }
    QTextCursor cursor = textEditor_->textCursor();
    cursor.setPosition(std::min(caret, textEditor_->document()->characterCount() - 1));
    textEditor_->setTextCursor(cursor);
}

void TTextEditorPane::onEditorChanged() {
    // Nothing is stored while read-only: replace-all may be storing texts meanwhile.
    if (updating_ || !isEditing() || isReadOnly()) return;
    std::string tagged = editor_text::EditorToTagged(textEditor_->document()->toRawText());
    // Underlining words anew tells of a change too, with the same text.
    if (tagged != session_.currentTagged()) session_.storeCurrentText(std::move(tagged));
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
    QMenu spelling(textEditor_);
    if (spelling_ != nullptr && spelling_->checker() != nullptr &&
        SpellingMenu::addEntries(&spelling, textEditor_,
                                 textEditor_->cursorForPosition(position).position(),
                                 *spelling_->checker(), spelling_->userWords(), highlighter_)) {
        QAction* first = menu->actions().value(0);
        menu->insertActions(first, spelling.actions());
        menu->insertSeparator(first);
    }
    menu->exec(textEditor_->viewport()->mapToGlobal(position));
}

bool TTextEditorPane::eventFilter(QObject* watched, QEvent* event) {
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
