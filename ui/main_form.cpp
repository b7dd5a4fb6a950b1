#include "ui/main_form.h"

#include <iostream>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "jobs/save_as_name.h"
#include "lgp/archive_counts.h"
#include "platform/game_data_folder.h"
#include "platform/program_version.h"
#include "text/windows1252.h"
#include "ui/about_form.h"
#include "ui/archive_session.h"
#include "ui/file_list_view.h"
#include "ui/interface_texts.h"
#include "ui/language_catalog.h"
#include "ui/level_preview_pane.h"
#include "ui/main_menu.h"
#include "ui/special_characters_bar.h"
#include "ui/status_bar.h"
#include "ui/text_editor_pane.h"
#include "ui/text_preview_pane.h"

// The images live in this static library: they are registered by hand, from the global
// namespace, before the first window needs them.
static void RegisterImages() { Q_INIT_RESOURCE(images); }

namespace {

using Command = TMainMenu::Command;

constexpr int kClientWidth = 860;
constexpr int kClientHeight = 612;
// The minimum window of 868 x 500 less its frame: 4 pixels a side and a 26-pixel caption.
constexpr int kMinimumClientWidth = 860;
constexpr int kMinimumClientHeight = 466;
constexpr int kFontPointSize = 8;

QString ProgramTitle() {
    return QString::fromUtf8(platform::kProgramTitle.data(),
                             static_cast<qsizetype>(platform::kProgramTitle.size()));
}

}  // namespace

TMainForm::TMainForm(QStringList arguments, TEditorPaths paths, QWidget* parent)
    : QMainWindow(parent), arguments_(std::move(arguments)), paths_(std::move(paths)),
      glyphSets_(GlyphSets::FromBuiltinFont()) {
    [[maybe_unused]] static const bool registered = (RegisterImages(), true);
    setObjectName(QStringLiteral("mainForm"));
    setFont(QFont(QStringLiteral("Tahoma"), kFontPointSize));
    QIcon programIcon;
    for (const int size : {16, 32, 48, 256}) {
        programIcon.addFile(QStringLiteral(":/images/orvenne_%1.png").arg(size));
    }
    setWindowIcon(programIcon);
    resize(kClientWidth, kClientHeight);
    setMinimumSize(kMinimumClientWidth, kMinimumClientHeight);
    setAcceptDrops(true);

    session_ = new TArchiveSession(this);
    menu_ = new TMainMenu(*menuBar(), this);
    menu_->setObjectName(QStringLiteral("mainMenu"));
    CreateLayout();
    ConnectMenu();
    ConnectSession();
    aboutForm_ = new TAboutForm(this);
    menu_->Action(Command::WindowColors)->setEnabled(false);
    UpdateCommands();
    UpdateCaption();
}

TMainForm::~TMainForm() = default;

void TMainForm::CreateLayout() {
    QToolBar* shortcuts = addToolBar(QString());
    shortcuts->setObjectName(QStringLiteral("shortcutsBar"));
    shortcuts->setMovable(false);
    const std::pair<Command, const char*> tools[] = {
        {Command::Open, "open"}, {Command::Save, "save"}, {Command::SaveAs, "save_as"}};
    for (const auto& [command, image] : tools) {
        menu_->Action(command)->setIcon(QIcon(QStringLiteral(":/images/%1.png").arg(QLatin1String(image))));
        shortcuts->addAction(menu_->Action(command));
    }
    addToolBarBreak();
    charactersBar_ = new TSpecialCharactersBar;
    addToolBar(charactersBar_);

    filesView_ = new TFileListView(*session_);
    levelPreview_ = new TLevelPreviewPane;
    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(filesView_, 1);
    leftLayout->addWidget(levelPreview_);

    textEditor_ = new TTextEditorPane(*session_);
    textPreview_ = new TTextPreviewPane(*session_, glyphSets_);
    // The window and colour dialogs do not exist yet.
    textPreview_->SetWindowButtonAvailable(false);
    // The text preview can be made taller than the level preview, to see a whole window.
    textsSplitter_ = new QSplitter(Qt::Vertical);
    textsSplitter_->setObjectName(QStringLiteral("textsSplitter"));
    textsSplitter_->setChildrenCollapsible(false);
    textsSplitter_->addWidget(textEditor_);
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
}

void TMainForm::ConnectMenu() {
    const auto on = [this](Command command, auto slot) {
        connect(menu_->Action(command), &QAction::triggered, this, slot);
    };
    on(Command::Open, &TMainForm::OnOpenClicked);
    on(Command::Save, [this] { session_->Save(session_->FileName(), false); });
    on(Command::SaveAs, &TMainForm::OnSaveAsClicked);
    on(Command::Exit, [this] { close(); });
    on(Command::Undo, [this] { textEditor_->Undo(); });
    on(Command::Redo, [this] { textEditor_->Redo(); });
    on(Command::Cut, [this] { textEditor_->Cut(); });
    on(Command::Copy, [this] { textEditor_->Copy(); });
    on(Command::Paste, [this] { textEditor_->Paste(); });
    on(Command::SelectAll, [this] { textEditor_->SelectAll(); });
    on(Command::AllFiles, [this] { filesView_->SetOnlyLevels(false); });
    on(Command::OnlyLevels, [this] { filesView_->SetOnlyLevels(true); });
    on(Command::DisplayTextPreview, [this](bool checked) { textPreview_->SetPictureShown(checked); });
    on(Command::About, [this] { aboutForm_->exec(); });
    connect(menu_, &TMainMenu::levelPreviewSizeChosen, this, &TMainForm::SetLevelPreviewSize);
    connect(menu_, &TMainMenu::languageChosen, this, &TMainForm::ChangeLanguage);
    connect(charactersBar_, &TSpecialCharactersBar::chosen, textEditor_, &TTextEditorPane::InsertText);
    connect(textEditor_, &TTextEditorPane::undoAvailable, menu_->Action(Command::Undo), &QAction::setEnabled);
    connect(textEditor_, &TTextEditorPane::redoAvailable, menu_->Action(Command::Redo), &QAction::setEnabled);
    connect(textEditor_, &TTextEditorPane::copyAvailable, menu_->Action(Command::Cut), &QAction::setEnabled);
    connect(textEditor_, &TTextEditorPane::copyAvailable, menu_->Action(Command::Copy), &QAction::setEnabled);
    connect(textEditor_, &TTextEditorPane::editingChanged, this, &TMainForm::UpdateCommands);
}

void TMainForm::ConnectSession() {
    connect(session_, &TArchiveSession::jobStarted, this, &TMainForm::OnJobStarted);
    connect(session_, &TArchiveSession::jobProgress, statusBar_, &TStatusBar::SetProgress);
    connect(session_, &TArchiveSession::jobEnded, this, &TMainForm::OnJobEnded);
    connect(session_, &TArchiveSession::openFailed, this, &TMainForm::ShowErrorMessage);
    connect(session_, &TArchiveSession::saveFailed, this, &TMainForm::ShowErrorMessage);
    connect(session_, &TArchiveSession::opened, this, &TMainForm::OnOpened);
    connect(session_, &TArchiveSession::saved, this, &TMainForm::OnSaved);
    connect(session_, &TArchiveSession::modifiedChanged, this, &QWidget::setWindowModified);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (started_) return;
    started_ = true;
    Start();
}

void TMainForm::Start() {
    settings_ = TEditorSettings::Read(paths_.settingsFile);
    menu_->SetLanguages(FindLanguages(paths_.languageFolders));
    ChangeLanguage(menu_->CheckLanguage(settings_.language) ? settings_.language : QStringLiteral("eng"));
    ApplySettings();
    openFolder_ = QFile::decodeName(QByteArray::fromStdString((platform::GameDataFolder() / "field").string()));
    if (!arguments_.isEmpty() && QFileInfo(arguments_.first()).isFile()) OpenArchive(arguments_.first());
}

void TMainForm::ApplySettings() {
    mainSplitter_->setSizes({settings_.levelsListSize, width() - settings_.levelsListSize});
    filesView_->SetColumnWidths(settings_.columnWidths);
    menu_->Action(settings_.onlyLevels ? Command::OnlyLevels : Command::AllFiles)->setChecked(true);
    filesView_->SetOnlyLevels(settings_.onlyLevels);
    menu_->Action(Command::DisplayTextPreview)->setChecked(settings_.textPreview);
    textPreview_->SetPictureShown(settings_.textPreview);
    menu_->LevelPreviewSizeAction(settings_.levelPreviewSize)->setChecked(true);
    SetLevelPreviewSize(settings_.levelPreviewSize);
    if (settings_.textPreviewHeight > 0) {
        const int total = textsSplitter_->height() - textsSplitter_->handleWidth();
        textsSplitter_->setSizes({total - settings_.textPreviewHeight, settings_.textPreviewHeight});
    }
    const int profile = settings_.windowColors;
    if (profile >= 1 && static_cast<std::size_t>(profile) <= settings_.windowProfiles.size()) {
        textPreview_->SetColors(ReadColorString(
            settings_.windowProfiles[static_cast<std::size_t>(profile - 1)].second.toStdString()));
    }
    // Within the visible screen, as Qt restores it; else centred at the built-in size.
    if (settings_.windowGeometry.isEmpty() || !restoreGeometry(settings_.windowGeometry)) {
        if (const QScreen* screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
}

void TMainForm::WriteSettings() {
    settings_.levelsListSize = mainSplitter_->sizes().value(0);
    settings_.columnWidths = filesView_->ColumnWidths();
    settings_.onlyLevels = filesView_->OnlyLevels();
    settings_.textPreview = menu_->Action(Command::DisplayTextPreview)->isChecked();
    for (int size = 1; size <= 4; ++size) {
        if (menu_->LevelPreviewSizeAction(size)->isChecked()) settings_.levelPreviewSize = size;
    }
    settings_.textPreviewHeight = textsSplitter_->sizes().value(1);
    settings_.windowState = isMinimized() ? 1 : (isMaximized() ? 2 : 0);
    settings_.windowGeometry = saveGeometry();
    if (!settings_.Write(paths_.settingsFile)) {
        std::cerr << "orvenne: cannot write " << paths_.settingsFile.toStdString() << '\n';
    }
}

void TMainForm::ChangeLanguage(const QString& name) {
    menu_->CheckLanguage(name);
    LoadLanguage(LanguageFile(paths_.languageFolders, name));
    session_->RefreshDescriptions();
    Retranslate();
    if (!TEditorSettings::WriteLanguage(paths_.settingsFile, name)) {
        std::cerr << "orvenne: cannot write " << paths_.settingsFile.toStdString() << '\n';
    }
    settings_.language = name;
}

void TMainForm::Retranslate() {
    menu_->Retranslate();
    charactersBar_->Retranslate();
    filesView_->Retranslate();
    levelPreview_->Retranslate();
    textEditor_->Retranslate();
    textPreview_->Retranslate();
    statusBar_->Retranslate();
    aboutForm_->Retranslate();
}

void TMainForm::SetLevelPreviewSize(int size) {
    levelPreview_->SetPreviewSize(size);
    // The text preview takes the same height, its bottom beside the level preview's.
    const int height = TLevelPreviewPane::HeightOf(size);
    const int total = textsSplitter_->height() - textsSplitter_->handleWidth();
    textsSplitter_->setSizes({total - height, height});
}

void TMainForm::OnOpenClicked() {
    const QString path = ChooseArchiveToOpen(openFolder_, FileFilter());
    if (!path.isEmpty()) OpenArchive(path);
}

void TMainForm::OnSaveAsClicked() {
    if (session_->Archive() == nullptr) return;
    bool firstFilterSelected = true;
    const QString chosen = ChooseArchiveToSaveAs(QFileInfo(session_->FileName()).absolutePath(),
                                                 FileFilter(), firstFilterSelected);
    if (!chosen.isEmpty()) session_->Save(SaveAsFileName(chosen, firstFilterSelected), true);
}

void TMainForm::OpenArchive(const QString& path) {
    if (session_->JobRunning()) return;
    if (AskAboutUnsavedChanges([this, path] { OpenArchive(path); }) == UnsavedChanges::Proceed) {
        session_->Open(path);
    }
}

TMainForm::UnsavedChanges TMainForm::AskAboutUnsavedChanges(std::function<void()> afterSave) {
    if (session_->JobRunning() || !session_->HasUnsavedChanges()) return UnsavedChanges::Proceed;
    const QString question = InterfaceText("messages", "save_changes") + QStringLiteral(" ") +
                             QFileInfo(session_->FileName()).fileName() + QStringLiteral("?");
    switch (AskSaveChanges(question)) {
        case QMessageBox::Discard: return UnsavedChanges::Proceed;
        case QMessageBox::Save:
            afterSave_ = std::move(afterSave);
            session_->Save(session_->FileName(), false);
            return UnsavedChanges::Saving;
        default: return UnsavedChanges::Cancelled;
    }
}

void TMainForm::OnJobStarted(const QString& statusText) {
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    statusBar_->StartProgress(statusText);
}

void TMainForm::OnJobEnded() {
    statusBar_->EndProgress();
    setEnabled(true);
    QApplication::restoreOverrideCursor();
    UpdateCommands();
}

void TMainForm::OnOpened() {
    const TLGPFile& archive = *session_->Archive();
    const ArchiveCounts counts = CountArchive(archive);
    statusBar_->SetCounts(counts.levels, counts.texts);
    statusBar_->SetCreator(QString::fromStdString(text::Windows1252ToUtf8(archive.Creator)));
    UpdateCaption();
}

void TMainForm::OnSaved() {
    UpdateCaption();
    std::function<void()> next = std::move(afterSave_);
    afterSave_ = nullptr;
    // After the job has ended, so that what follows may open another archive or close.
    if (next) QTimer::singleShot(0, this, std::move(next));
}

void TMainForm::UpdateCommands() {
    const bool open = session_->Archive() != nullptr;
    for (const Command command : {Command::Save, Command::SaveAs}) menu_->Action(command)->setEnabled(open);
    charactersBar_->setEnabled(open);
    const bool editing = textEditor_->Editing();
    menu_->Action(Command::Paste)->setEnabled(editing);
    menu_->Action(Command::SelectAll)->setEnabled(editing);
}

void TMainForm::UpdateCaption() {
    // "[*]" is where Qt shows the unsaved-changes mark.
    setWindowTitle(session_->Archive() != nullptr
                       ? ProgramTitle() + QStringLiteral(" - ") + session_->FileName() + QStringLiteral("[*]")
                       : ProgramTitle());
    setWindowModified(session_->HasUnsavedChanges());
}

QString TMainForm::FileFilter() const {
    // "All files" means files without an extension too, which "*.*" would leave out here.
    return InterfaceText("general", "lgp_files") + QStringLiteral(" (*.lgp);;") +
           InterfaceText("general", "all_files") + QStringLiteral(" (*)");
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (session_->JobRunning() ||
        AskAboutUnsavedChanges([this] { close(); }) != UnsavedChanges::Proceed) {
        event->ignore();
        return;
    }
    if (started_) WriteSettings();
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

void TMainForm::ShowErrorMessage(const QString& text, const QString& detail) {
    std::cerr << "orvenne: " << text.toStdString() << ' ' << detail.toStdString() << '\n';
    // Parentless: the window is disabled while a job reports, and would disable its child too.
    QMessageBox box(QMessageBox::Critical, windowTitle(), text, QMessageBox::Ok);
    box.setDetailedText(detail);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

QMessageBox::StandardButton TMainForm::AskSaveChanges(const QString& question) {
    return QMessageBox::question(this, windowTitle(), question,
                                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                 QMessageBox::Save);
}

QString TMainForm::ChooseArchiveToOpen(const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(this, QString(), folder, filter);
}

QString TMainForm::ChooseArchiveToSaveAs(const QString& folder, const QString& filter,
                                         bool& firstFilterSelected) {
    QString selectedFilter;
    const QString name = QFileDialog::getSaveFileName(this, QString(), folder, filter, &selectedFilter);
    firstFilterSelected = selectedFilter == filter.section(QStringLiteral(";;"), 0, 0);
    return name;
}
