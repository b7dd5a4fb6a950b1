#include "ui/main_form.h"

#include <iostream>
#include <utility>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "jobs/qt_strings.h"
#include "jobs/save_as_name.h"
#include "lgp/window.h"
#include "platform/game_data_folder.h"
#include "platform/program_version.h"
#include "platform/utf8_path.h"
#include "ui/about_form.h"
#include "ui/archive_session.h"
#include "ui/bilingual_po_controller.h"
#include "ui/characters_bar.h"
#include "ui/colors_form.h"
#include "ui/compare_controller.h"
#include "ui/compare_result_form.h"
#include "ui/edit_commands.h"
#include "ui/file_list_view.h"
#include "ui/interface_texts.h"
#include "ui/language_catalog.h"
#include "ui/level_preview_form.h"
#include "ui/level_preview_pane.h"
#include "ui/main_menu.h"
#include "ui/main_window_state.h"
#include "ui/mod_export_controller.h"
#include "ui/original_archive_controller.h"
#include "ui/original_text_pane.h"
#include "ui/overflow_marks.h"
#include "ui/question_box.h"
#include "ui/recent_archives.h"
#include "ui/search_controller.h"
#include "ui/spelling_controller.h"
#include "ui/status_bar.h"
#include "ui/text_editor_pane.h"
#include "ui/text_preview_pane.h"
#include "ui/translation_commands.h"
#include "ui/translation_marks.h"
#include "ui/translation_status.h"
#include "ui/unsaved_changes_guard.h"
#include "ui/window_modification_form.h"

// The images live in this static library: they are registered by hand, from the global
// namespace, before the first window needs them.
static void RegisterImages() { Q_INIT_RESOURCE(images); }

namespace {

using Command = TMainMenu::Command;

constexpr int kClientWidth = 1024;
constexpr int kClientHeight = 768;
// The minimum window of 868 x 500 less its frame: 4 pixels a side and a 26-pixel caption.
constexpr int kMinimumClientWidth = 860;
constexpr int kMinimumClientHeight = 466;
constexpr int kFontPointSize = 8;

}  // namespace

TMainForm::TMainForm(QStringList arguments, TEditorPaths paths, QWidget* parent)
    : QMainWindow(parent), arguments_(std::move(arguments)), paths_(std::move(paths)),
      glyphSets_(preview::GlyphSets::FromBuiltinFont()) {
    [[maybe_unused]] static const bool registered = (RegisterImages(), true);
    setObjectName(QStringLiteral("mainForm"));
    setFont(QFont(QStringLiteral("Tahoma"), kFontPointSize));
    QIcon programIcon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        programIcon.addFile(QStringLiteral(":/images/orvenne_%1.png").arg(size));
    }
    setWindowIcon(programIcon);
    resize(kClientWidth, kClientHeight);
    setMinimumSize(kMinimumClientWidth, kMinimumClientHeight);
    setAcceptDrops(true);

    session_ = new TArchiveSession(this);
    unsavedGuard_ = new TUnsavedChangesGuard(
        *session_, [this](const QString& question) { return askSaveChanges(question); }, this);
    menu_ = new TMainMenu(*menuBar(), this);
    menu_->setObjectName(QStringLiteral("mainMenu"));
    createLayout();
    editCommands_ = new TEditCommands(*menu_, *editorPane_, *session_, this);
    connectMenu();
    connectSession();
    aboutForm_ = new TAboutForm(this);
    windowForm_ = new TWindowModificationForm(this);
    windowForm_->setFitToText(
        [this](QPoint at) { return session_->fitSelectedWindow(at); });
    colorsForm_ = new TColorsForm(this);
    // Asked while a job waits, hence boxes of their own: the window is disabled meanwhile.
    session_->setQuestions(
        {[this](const QString& question, const QString& levels) {
             return ui::AskYesNo(windowTitle(), question, levels,
                                 {ui::InterfaceText("general", "open_read_only"),
                                  ui::InterfaceText("general", "cancel")});
         },
         [this](const QString& question) { return ui::AskYesNo(windowTitle(), question); }});
    spelling_ = new TSpellingController(
        paths_, *menu_, *editorPane_,
        [this](const QString& message, const QString& detail) { showErrorMessage(message, detail); },
        this);
    // The hooks call the virtual functions when used, so that a derived window answers them.
    searchController_ = new TSearchController(
        {*session_, *menu_, *filesView_, *editorPane_, *textPreview_, *statusBar_},
        [this](QMessageBox& box) { execMessage(box); }, *this);
    compareController_ = new TCompareController(
        *session_, *menu_,
        [this] {
            return chooseArchiveToCompare(QFileInfo(session_->fileName()).absolutePath(),
                                          fileFilter());
        },
        [this](TCompareResultForm& result) { showComparisonResult(result); }, *this);
    modExportController_ = new TModExportController(
        *session_, *menu_,
        {[this](TExportModForm& form, const QString& original) {
             return chooseModExport(form, original);
         },
         [this](QMessageBox& box) { execMessage(box); },
         [this](const QString& question) { return askYesNo(question); },
         [this](const QString& message, const QString& detail) {
             showErrorMessage(message, detail);
         }},
        *this);
    recentArchives_ = new TRecentArchives(*session_, *menu_, this);
    // The translation against its original archive: after the comparison's controller, so
    // that a comparison's result is shown before its archive is read as the original.
    new TTranslationCommands(*session_, *menu_, *filesView_, *editorPane_, this);
    new TOriginalArchiveController(
        *session_, *menu_, paths_.settingsFile,
        [this] {
            return chooseOriginalArchive(QFileInfo(session_->fileName()).absolutePath(),
                                         fileFilter());
        },
        [this](const QString& message, const QString& detail) {
            showErrorMessage(message, detail);
        },
        this);
    new TBilingualPoController(
        *session_, *menu_,
        [this](const QString& folder, const QString& filter, bool forSaving) {
            return choosePoFile(folder, filter, forSaving);
        },
        [this](const QString& message, const QString& detail) {
            showErrorMessage(message, detail);
        },
        [this](QMessageBox& box) { execMessage(box); }, *this);
    windowState_ = std::make_unique<TMainWindowState>(TMainWindowState::Parts{
        *this, *menu_, *mainSplitter_, *textsSplitter_, *filesView_, *levelPreview_, *textPreview_,
        *colorsForm_, *spelling_, *recentArchives_});
    updateCommands();
    updateCaption();
}

TMainForm::~TMainForm() = default;

void TMainForm::createLayout() {
    QToolBar* shortcuts = addToolBar(QString());
    shortcuts->setObjectName(QStringLiteral("shortcutsBar"));
    shortcuts->setMovable(false);
    const std::pair<Command, const char*> tools[] = {
        {Command::Open, "open"}, {Command::Save, "save"}, {Command::SaveAs, "save_as"}};
    for (const auto& [command, image] : tools) {
        menu_->action(command)->setIcon(QIcon(QStringLiteral(":/images/%1.png").arg(QLatin1String(image))));
        shortcuts->addAction(menu_->action(command));
    }
    addToolBarBreak();
    charactersBar_ = new TCharactersBar;
    addToolBar(charactersBar_);

    filesView_ = new TFileListView(*session_);
    levelForm_ = new TLevelPreviewForm(this);
    levelPreview_ = new TLevelPreviewPane(*session_, *levelForm_);
    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(filesView_, 1);
    leftLayout->addWidget(levelPreview_);

    editorPane_ = new TTextEditorPane(*session_);
    textPreview_ = new TTextPreviewPane(*session_, glyphSets_);
    // The text preview can be made taller than the level preview, to see a whole window.
    textsSplitter_ = new QSplitter(Qt::Vertical);
    textsSplitter_->setObjectName(QStringLiteral("textsSplitter"));
    textsSplitter_->setChildrenCollapsible(false);
    // The selected text's original above its editor, while an original archive is set.
    auto* originalSplitter = new QSplitter(Qt::Vertical);
    originalSplitter->setObjectName(QStringLiteral("originalSplitter"));
    originalSplitter->setChildrenCollapsible(false);
    originalSplitter->addWidget(new TOriginalTextPane(*session_, glyphSets_, *textPreview_));
    originalSplitter->addWidget(editorPane_);
    originalSplitter->setStretchFactor(1, 1);
    textsSplitter_->addWidget(originalSplitter);
    textsSplitter_->addWidget(textPreview_);
    textsSplitter_->setStretchFactor(0, 1);

    mainSplitter_ = new QSplitter(Qt::Horizontal);
    mainSplitter_->setObjectName(QStringLiteral("mainSplitter"));
    mainSplitter_->setChildrenCollapsible(false);
    mainSplitter_->addWidget(left);
    mainSplitter_->addWidget(textsSplitter_);
    mainSplitter_->setStretchFactor(1, 1);
    setCentralWidget(mainSplitter_);

    statusBar_ = new TStatusBar;
    setStatusBar(statusBar_);
    statusBar_->addPermanentWidget(new TTranslationStatus(*session_));
}

void TMainForm::connectMenu() {
    const auto on = [this](Command command, auto slot) {
        connect(menu_->action(command), &QAction::triggered, this, slot);
    };
    on(Command::Open, &TMainForm::onOpenClicked);
    on(Command::Save, [this] { session_->save(session_->fileName(), false); });
    on(Command::SaveAs, &TMainForm::onSaveAsClicked);
    on(Command::Exit, [this] { close(); });
    on(Command::AllFiles, [this] { filesView_->setOnlyLevels(false); });
    on(Command::OnlyLevels, [this] { filesView_->setOnlyLevels(true); });
    on(Command::DisplayTextPreview, [this](bool checked) { textPreview_->setPictureShown(checked); });
    on(Command::About, [this] { aboutForm_->exec(); });
    on(Command::WindowColors, &TMainForm::onWindowColors);
    connect(textPreview_, &TTextPreviewPane::modifyWindowRequested, this, &TMainForm::onModifyWindow);
    connect(menu_, &TMainMenu::levelPreviewSizeChosen, this, &TMainForm::SetLevelPreviewSize);
    connect(menu_, &TMainMenu::languageChosen, this, &TMainForm::ChangeLanguage);
    connect(menu_, &TMainMenu::recentArchiveChosen, this, &TMainForm::OpenArchive);
    connect(charactersBar_, &TCharactersBar::chosen, editorPane_, &TTextEditorPane::insertText);
    connect(editorPane_, &TTextEditorPane::caretMoved, textPreview_, &TTextPreviewPane::setCaretPosition);
    connect(editorPane_, &TTextEditorPane::charactersLeftOut, statusBar_, &TStatusBar::showNotice);
}

void TMainForm::connectSession() {
    connect(session_, &TArchiveSession::jobStarted, this, &TMainForm::onJobStarted);
    statusBar_->follow(*session_);
    connect(session_, &TArchiveSession::jobEnded, this, &TMainForm::onJobEnded);
    connect(session_, &TArchiveSession::openFailed, this, &TMainForm::showErrorMessage);
    connect(session_, &TArchiveSession::saveFailed, this, &TMainForm::showErrorMessage);
    connect(session_, &TArchiveSession::compareFailed, this, &TMainForm::showErrorMessage);
    connect(session_, &TArchiveSession::exportFailed, this, &TMainForm::showErrorMessage);
    connect(session_, &TArchiveSession::opened, this, &TMainForm::updateCaption);
    // The files list widens to show the Translated column that an original brings.
    connect(&session_->translationMarks(), &TTranslationMarks::originalChanged, this, [this] {
        const QList<int> sizes = mainSplitter_->sizes();
        const int wanted = filesView_->widthForColumns();
        if (sizes.size() == 2 && sizes[0] < wanted) {
            mainSplitter_->setSizes({wanted, sizes[0] + sizes[1] - wanted});
        }
    });
    // Once the job has ended: the window, and with it the editor, is disabled until then.
    connect(
        session_, &TArchiveSession::opened, this,
        [this] {
            if (!editorPane_->focusText()) filesView_->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
    connect(session_, &TArchiveSession::saved, this, &TMainForm::updateCaption);
    connect(session_, &TArchiveSession::modifiedChanged, this, &QWidget::setWindowModified);
    connect(levelPreview_, &TLevelPreviewPane::problemChanged, this, [this](const QString& reason) {
        statusBar_->setStatusMessage(reason);
        if (!reason.isEmpty()) std::cerr << "orvenne: " << jobs::toUtf8(reason) << '\n';
    });
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (started_) return;
    started_ = true;
    start();
}

void TMainForm::start() {
    settings_ = TEditorSettings::read(paths_.settingsFile);
    menu_->setLanguages(ui::FindLanguages(paths_.languageFolders));
    const QString language = menu_->checkLanguage(settings_.language);
    ChangeLanguage(language.isEmpty() ? QString::fromLatin1(ui::kEnglishLanguage) : language);
    windowState_->apply(settings_);
    // Without the game, the dialog starts where the system's dialog starts.
    if (const std::filesystem::path data = platform::GameDataFolder(); !data.empty()) {
        openFolder_ = jobs::fromUtf8(platform::Utf8FromPath(data / "field"));
    }
    if (!arguments_.isEmpty() && QFileInfo(arguments_.first()).isFile()) OpenArchive(arguments_.first());
    // The dictionary loads once the archive is listed and the window has painted it.
    const auto chooseDictionary = [this] {
        QTimer::singleShot(0, spelling_, &TSpellingController::choosePending);
    };
    if (session_->jobRunning()) {
        connect(session_, &TArchiveSession::jobEnded, spelling_, chooseDictionary,
                Qt::SingleShotConnection);
    } else {
        chooseDictionary();
    }
}

void TMainForm::writeSettings() {
    windowState_->store(settings_);
    if (!settings_.write(paths_.settingsFile)) {
        std::cerr << "orvenne: cannot write " << jobs::toUtf8(paths_.settingsFile) << '\n';
    }
}

void TMainForm::ChangeLanguage(const QString& chosen) {
    // The menu's own spelling of the name is what settings.ini keeps.
    const QString checked = menu_->checkLanguage(chosen);
    const QString name = checked.isEmpty() ? chosen : checked;
    // Every window reads its captions again as it is told of the change.
    ui::LoadLanguage(ui::LanguageFile(paths_.languageFolders, name));
    session_->refreshDescriptions();
    if (!TEditorSettings::writeLanguage(paths_.settingsFile, name)) {
        std::cerr << "orvenne: cannot write " << jobs::toUtf8(paths_.settingsFile) << '\n';
    }
    settings_.language = name;
}

void TMainForm::SetLevelPreviewSize(int size) { windowState_->setLevelPreviewSize(size); }

void TMainForm::onOpenClicked() {
    const QString path = chooseArchiveToOpen(openFolder_, fileFilter());
    if (!path.isEmpty()) OpenArchive(path);
}

void TMainForm::onModifyWindow() {
    const TWindow* window = session_->currentWindow();
    if (window == nullptr) return;
    // The dialog edits a copy; the session stores the result as a step of its history.
    TWindow edited = *window;
    if (windowForm_->edit(edited, session_->currentTagged(), glyphSets_, textPreview_->colors(),
                          textPreview_->caretPage(), textPreview_->names())) {
        session_->placeCurrentWindow(QRect(edited.X, edited.Y, edited.Width, edited.Height));
    }
}

void TMainForm::onWindowColors() { textPreview_->setColors(colorsForm_->edit(textPreview_->colors(), glyphSets_)); }

void TMainForm::onSaveAsClicked() {
    if (session_->archive() == nullptr) return;
    bool firstFilterSelected = true;
    const QString chosen = chooseArchiveToSaveAs(QFileInfo(session_->fileName()).absolutePath(),
                                                 fileFilter(), firstFilterSelected);
    if (!chosen.isEmpty()) session_->save(jobs::SaveAsFileName(chosen, firstFilterSelected), true);
}

void TMainForm::OpenArchive(const QString& path) {
    if (session_->jobRunning()) return;
    if (unsavedGuard_->check([this, path] { OpenArchive(path); }) == TUnsavedChangesGuard::Outcome::Proceed) {
        session_->open(path);
    }
}

void TMainForm::onJobStarted() {
    // Disabling the window takes the focus away; the job's end gives it back.
    focusBeforeJob_ = focusWidget();
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TMainForm::onJobEnded() {
    setEnabled(true);
    QApplication::restoreOverrideCursor();
    updateCommands();
    // Unless the job's end gave the focus to some widget already.
    if (focusWidget() == nullptr && focusBeforeJob_ != nullptr && focusBeforeJob_->isEnabled()) {
        focusBeforeJob_->setFocus(Qt::OtherFocusReason);
    }
    focusBeforeJob_ = nullptr;
}

void TMainForm::updateCommands() {
    const bool open = session_->archive() != nullptr;
    for (const Command command : {Command::Save, Command::SaveAs}) menu_->action(command)->setEnabled(open);
    charactersBar_->setEnabled(open);
    editCommands_->update();
}

void TMainForm::updateCaption() {
    const QString title = jobs::fromUtf8(platform::kProgramTitle);
    // "[*]" is where Qt shows the unsaved-changes mark.
    setWindowTitle(session_->archive() != nullptr
                       ? title + QStringLiteral(" - ") + session_->fileName() + QStringLiteral("[*]")
                       : title);
    setWindowModified(session_->hasUnsavedChanges());
}

QString TMainForm::fileFilter() const {
    // "All files" means files without an extension too, which "*.*" would leave out here.
    return ui::InterfaceText("general", "lgp_files") + QStringLiteral(" (*.lgp);;") +
           ui::InterfaceText("general", "all_files") + QStringLiteral(" (*)");
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (session_->jobRunning() ||
        unsavedGuard_->check([this] { close(); }) != TUnsavedChangesGuard::Outcome::Proceed) {
        event->ignore();
        return;
    }
    if (started_) writeSettings();
    setAcceptDrops(false);
    event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    // Several files at once name no one archive to open.
    if (urls.size() != 1 || !urls.first().isLocalFile()) return;
    OpenArchive(urls.first().toLocalFile());
}

void TMainForm::showErrorMessage(const QString& text, const QString& detail) {
    std::cerr << "orvenne: " << jobs::toUtf8(text) << ' ' << jobs::toUtf8(detail) << '\n';
    // Parentless: the window is disabled while a job reports, and would disable its child too.
    QMessageBox box(QMessageBox::Critical, windowTitle(), text, QMessageBox::Ok);
    ui::ShowDetail(box, detail);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

QMessageBox::StandardButton TMainForm::askSaveChanges(const QString& question) {
    QMessageBox box(QMessageBox::Question, windowTitle(), question,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Save);
    box.button(QMessageBox::Save)->setText(ui::InterfaceText("general", "save"));
    box.button(QMessageBox::Discard)->setText(ui::InterfaceText("general", "discard"));
    box.button(QMessageBox::Cancel)->setText(ui::InterfaceText("general", "cancel"));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString TMainForm::chooseArchiveToOpen(const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(this, QString(), folder, filter);
}

QString TMainForm::chooseArchiveToSaveAs(const QString& folder, const QString& filter,
                                         bool& firstFilterSelected) {
    QString selectedFilter;
    const QString name = QFileDialog::getSaveFileName(this, QString(), folder, filter, &selectedFilter);
    firstFilterSelected = selectedFilter == filter.section(QStringLiteral(";;"), 0, 0);
    return name;
}

QString TMainForm::chooseArchiveToCompare(const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(
        this, ui::InterfaceText("compare", "original_archive_to_compare"), folder, filter);
}

QString TMainForm::chooseOriginalArchive(const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(this, ui::InterfaceText("general", "original_archive"),
                                        folder, filter);
}

QString TMainForm::choosePoFile(const QString& folder, const QString& filter, bool forSaving) {
    return forSaving ? QFileDialog::getSaveFileName(this, QString(), folder, filter)
                     : QFileDialog::getOpenFileName(this, QString(), folder, filter);
}

void TMainForm::execMessage(QMessageBox& box) { box.exec(); }

bool TMainForm::askYesNo(const QString& question) { return ui::AskYesNo(windowTitle(), question); }

void TMainForm::showComparisonResult(TCompareResultForm& result) { result.exec(); }

std::optional<TModExportRequest> TMainForm::chooseModExport(TExportModForm& form,
                                                            const QString& original) {
    return form.ask(original);
}
