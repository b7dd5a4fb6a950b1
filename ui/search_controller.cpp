#include "ui/search_controller.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QLocale>
#include <QTimer>

#include "jobs/find_job.h"
#include "jobs/replace_all_job.h"
#include "text/case_folding.h"
#include "ui/archive_session.h"
#include "ui/editor_text.h"
#include "ui/file_list_view.h"
#include "ui/find_form.h"
#include "ui/interface_texts.h"
#include "ui/main_menu.h"
#include "ui/overflow_marks.h"
#include "ui/replace_form.h"
#include "ui/status_bar.h"
#include "ui/text_editor_pane.h"
#include "ui/text_preview_pane.h"

namespace {

using Command = TMainMenu::Command;

// A find or replace dialog whose message boxes run through the controller's runner.
template <class Form>
class PromptedForm : public Form {
public:
    PromptedForm(TSearchController::MessageRunner run, QWidget* parent)
        : Form(parent), run_(std::move(run)) {}

protected:
    void execMessage(QMessageBox& box) override { run_(box); }

private:
    const TSearchController::MessageRunner run_;
};

QString Message(const char* key) { return ui::InterfaceText("messages", key); }

// The place of a table index in the rows as shown, or -1.
int RowOf(const std::vector<int>& rows, int subFile) {
    const auto found = std::ranges::find(rows, subFile);
    return found != rows.end() ? static_cast<int>(found - rows.begin()) : -1;
}

}  // namespace

TSearchController::TSearchController(const Panes& panes, MessageRunner runMessage, QWidget& window)
    : QObject(&window), panes_(panes) {
    findForm_ = new PromptedForm<TFindForm>(runMessage, &window);
    replaceForm_ = new PromptedForm<TReplaceForm>(std::move(runMessage), &window);
    finder_ = std::make_unique<TFindThread>();

    const auto on = [this](Command command, auto slot) {
        connect(panes_.menu.action(command), &QAction::triggered, this, slot);
    };
    on(Command::Find, [this] { showDialog(*findForm_, *replaceForm_); });
    on(Command::Replace, &TSearchController::showReplaceDialog);
    on(Command::FindNext, [this] { findForm_->findNext(); });
    on(Command::FindPrevious, [this] { findForm_->findPrevious(); });
    on(Command::NextMarkedText, [this] { selectNextText(false, Walk::Marked); });
    on(Command::PreviousMarkedText, [this] { selectNextText(true, Walk::Marked); });
    on(Command::NextOverflowingText, [this] { selectNextText(false, Walk::Overflowing); });
    on(Command::PreviousOverflowingText, [this] { selectNextText(true, Walk::Overflowing); });

    for (TSearchDialog* dialog :
         {static_cast<TSearchDialog*>(findForm_), static_cast<TSearchDialog*>(replaceForm_)}) {
        connect(dialog, &TSearchDialog::findRequested, this,
                [this, dialog](const QString& search, bool matchCase, lgp::FindMode mode) {
                    ask({dialog, search, matchCase, mode, std::nullopt});
                });
        connect(dialog, &TSearchDialog::charactersLeftOut, &panes_.status, &TStatusBar::showNotice);
        // The commands' keys work from the dialogs as from the main window.
        for (const Command command :
             {Command::Find, Command::FindNext, Command::FindPrevious, Command::Replace,
              Command::NextMarkedText, Command::PreviousMarkedText, Command::NextOverflowingText,
              Command::PreviousOverflowingText, Command::NextUntranslatedText,
              Command::PreviousUntranslatedText}) {
            dialog->addAction(panes_.menu.action(command));
        }
    }
    connect(findForm_, &TFindForm::searchTextChanged, this, &TSearchController::updateCommands);
    connect(replaceForm_, &TReplaceForm::replaceRequested, this, &TSearchController::replace);
    connect(replaceForm_, &TReplaceForm::replaceAllRequested, this,
            [this](const QString& search, const QString& replacement, bool matchCase) {
                ask({replaceForm_, search, matchCase, lgp::FindMode::FromStart, replacement});
            });

    // The worker waits while each report is handled here.
    constexpr auto blocking = Qt::BlockingQueuedConnection;
    connect(
        finder_.get(), &TFindThread::started, this,
        [this] { panes_.status.startProgress(Message("text_searching") + QStringLiteral("...")); },
        blocking);
    connect(finder_.get(), &TFindThread::progress, &panes_.status, &TStatusBar::setProgress,
            blocking);
    connect(finder_.get(), &TFindThread::ended, &panes_.status, &TStatusBar::endProgress, blocking);
    connect(
        finder_.get(), &TFindThread::found, this,
        [this](int, int subFile, int text, qint64 position, qint64 length) {
            onFound(subFile, text, position, length);
        },
        blocking);
    connect(
        finder_.get(), &TFindThread::notFound, this,
        [this] {
            if (searchedArchive_ == archives_) {
                asking_->showMessage(QMessageBox::Question, Message("no_text_found"));
            }
        },
        blocking);
    connect(finder_.get(), &TFindThread::idle, this, &TSearchController::startWaiting);

    TArchiveSession& session = panes_.session;
    connect(&session, &TArchiveSession::opened, this, [this] {
        ++archives_;
        // What waited was asked of the archive before.
        waiting_.clear();
        showWaiting();
        findForm_->hide();
        replaceForm_->hide();
        updateCommands();
    });
    connect(&session, &TArchiveSession::jobEnded, this, &TSearchController::startWaitingLater);
    connect(&session, &TArchiveSession::replaceFailed, this,
            [this](const QString& message, const QString& detail) {
                refusal_ = message;
                refusalDetail_ = detail;
            });
    connect(&session, &TArchiveSession::replaceEnded, this, &TSearchController::onReplaceEnded);
    updateCommands();
}

TSearchController::~TSearchController() {
    // The window's parts may be gone already: a search still running reports to no one, and
    // its reports already posted are dropped (which lets the search go on).
    disconnect(finder_.get(), nullptr, nullptr, nullptr);
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
}

bool TSearchController::isSearching() const { return finder_->Searching() || !waiting_.empty(); }

void TSearchController::showDialog(TSearchDialog& shown, TSearchDialog& hidden) {
    hidden.hide();
    // Staying on top, a dialog shown already needs only the focus.
    shown.show();
    shown.activateWindow();
}

void TSearchController::showReplaceDialog() {
    if (!replaceForm_->isVisible()) {
        const std::string selected = panes_.editor.selectedTagged();
        if (!selected.empty() && selected.find("\r\n") == std::string::npos) {
            replaceForm_->setSearchText(ui::TaggedToEditor(selected));
        } else if (!lastSearch_.isEmpty()) {
            replaceForm_->setSearchText(lastSearch_);
        }
    }
    showDialog(*replaceForm_, *findForm_);
}

void TSearchController::ask(Request request) {
    if (panes_.session.archive() == nullptr || request.search.isEmpty()) return;
    waiting_.push_back(std::move(request));
    startWaiting();
}

void TSearchController::startWaiting() {
    // A running job may replace the archive or its texts, and one search runs at a time; each
    // reports in the status bar.
    while (!waiting_.empty() && !panes_.session.jobRunning() && !finder_->Searching()) {
        if (waiting_.front().replacement && TReplaceAllThread::Running()) {
            // The replace-all before is still being cleaned up, which tells nobody.
            startWaitingLater();
            break;
        }
        const Request next = std::move(waiting_.front());
        waiting_.pop_front();
        if (next.replacement) {
            replaceAll(next.search, *next.replacement, next.matchCase);
        } else {
            find(*next.asking, next.search, next.matchCase, next.mode);
        }
    }
    showWaiting();
}

void TSearchController::startWaitingLater() {
    QTimer::singleShot(0, this, &TSearchController::startWaiting);
}

void TSearchController::showWaiting() {
    QString note;
    if (!waiting_.empty()) {
        note = Message(waiting_.front().replacement ? "replacement_waiting" : "search_waiting");
    }
    panes_.status.setWaitingNote(note);
}

void TSearchController::find(TSearchDialog& asking, const QString& search, bool matchCase,
                             lgp::FindMode mode) {
    const TArchiveSession& session = panes_.session;
    if (session.archive() == nullptr) return;
    TFindRequest request;
    request.search = ui::EditorToTagged(search);
    request.matchCase = matchCase;
    request.mode = mode;
    request.rows = panes_.files.displayOrder();
    const auto [selectionStart, selectionEnd] = panes_.editor.taggedSelection();
    request.start =
        lgp::StartOfSearch(mode, std::max(RowOf(request.rows, session.currentSubFileIndex()), 0),
                           std::max(session.currentText(), 0), selectionStart, selectionEnd);
    if (finder_->Request(*session.archive(), std::move(request))) {
        asking_ = &asking;
        searchedArchive_ = archives_;
        lastSearch_ = search;
    }
}

void TSearchController::onFound(int subFile, int text, qint64 position, qint64 length) {
    if (searchedArchive_ != archives_) return;
    TArchiveSession& session = panes_.session;
    if (subFile != session.currentSubFileIndex()) session.selectSubFile(subFile);
    if (text != session.currentText()) session.selectText(text);
    panes_.editor.selectTagged(static_cast<std::size_t>(position),
                               static_cast<std::size_t>(length));
}

void TSearchController::replace(const QString& replacement) {
    const QString search = replaceForm_->searchText();
    const bool matchCase = replaceForm_->matchCase();
    if (selectionMatches(ui::EditorToTagged(search), matchCase)) {
        panes_.editor.replaceSelection(replacement);
    }
    ask({replaceForm_, search, matchCase, lgp::FindMode::Next, std::nullopt});
}

bool TSearchController::selectionMatches(const std::string& search, bool matchCase) const {
    const std::string selected = panes_.editor.selectedTagged();
    // Compared as the search compares.
    return matchCase ? selected == search
                     : text::LowerLocale(selected) == text::LowerLocale(search);
}

void TSearchController::replaceAll(const QString& search, const QString& replacement,
                                   bool matchCase) {
    replaceDeclined_ = false;
    const auto confirm = [this](int occurrences, int texts, int levels) {
        const QLocale locale;
        replaceDeclined_ =
            !replaceForm_->ask(Message("replace_all_question")
                                   .arg(locale.toString(occurrences), locale.toString(texts),
                                        locale.toString(levels)));
        return !replaceDeclined_;
    };
    if (!panes_.session.replaceAll(ui::EditorToTagged(search), ui::EditorToTagged(replacement),
                                   matchCase, confirm)) {
        return;
    }
    refusal_.clear();
    refusalDetail_.clear();
    panes_.editor.setReadOnly(true);
    panes_.preview.setWindowButtonAvailable(false);
    panes_.status.startProgress(Message("text_replacing") + QStringLiteral("..."));
}

void TSearchController::onReplaceEnded(int changed) {
    panes_.status.endProgress();
    panes_.editor.setReadOnly(false);
    panes_.preview.setWindowButtonAvailable(true);
    if (replaceDeclined_) return;
    if (changed < 0) {
        replaceForm_->showMessage(QMessageBox::Warning, refusal_, refusalDetail_);
    } else {
        replaceForm_->showMessage(QMessageBox::Information, TReplaceForm::resultMessage(changed));
    }
    startWaitingLater();
}

void TSearchController::selectNextText(bool backward, Walk walk) {
    TArchiveSession& session = panes_.session;
    if (session.archive() == nullptr) return;
    const std::vector<int> rows = panes_.files.displayOrder();
    const int row = RowOf(rows, session.currentSubFileIndex());
    const TOverflowMarks& marks = session.overflowMarks();
    const std::optional<lgp::TextHit> hit =
        walk == Walk::Marked
            ? lgp::FindMarkedText(*session.archive(), rows, row, session.currentText(), backward)
            : lgp::FindTextWhere(
                  *session.archive(), rows, row, session.currentText(), backward,
                  [&marks](int subFile, int text) { return marks.isOverflowing(subFile, text); });
    if (!hit) {
        QApplication::beep();
        return;
    }
    session.selectSubFile(hit->subFile);
    session.selectText(hit->text);
}

void TSearchController::updateCommands() {
    const bool open = panes_.session.archive() != nullptr;
    for (const Command command :
         {Command::Find, Command::Replace, Command::NextMarkedText, Command::PreviousMarkedText,
          Command::NextOverflowingText, Command::PreviousOverflowingText}) {
        panes_.menu.action(command)->setEnabled(open);
    }
    const bool searchText = open && !findForm_->searchText().isEmpty();
    panes_.menu.action(Command::FindNext)->setEnabled(searchText);
    panes_.menu.action(Command::FindPrevious)->setEnabled(searchText);
}
