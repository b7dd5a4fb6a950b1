#include "ui/main_form.h"

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "jobs/open_job.h"
#include "jobs/save_as_name.h"
#include "jobs/save_job.h"
#include "lgp/archive_counts.h"
#include "lgp/field_rebuilder.h"
#include "lgp/level_tables.h"
#include "platform/game_data_folder.h"
#include "platform/program_version.h"
#include "platform/shell_link.h"
#include "platform/utf8_path.h"
#include "preview/window_preview.h"
#include "text/text_decoder.h"
#include "text/text_encoder.h"
#include "text/windows1252.h"
#include "ui/about_form.h"
#include "ui/editor_text.h"
#include "ui/file_list_item.h"
#include "ui/interface_texts.h"
#include "ui/tag_button_face.h"
#include "ui/texts_list_delegate.h"

// The images live in this static library: they are registered by hand, from the global
// namespace, before the first window needs them.
static void RegisterImages() { Q_INIT_RESOURCE(images); }

namespace {

constexpr int kClientWidth = 860;
constexpr int kClientHeight = 612;
// The minimum window of 868 x 500 less its frame: 4 pixels a side and a 26-pixel caption.
constexpr int kMinimumClientWidth = 860;
constexpr int kMinimumClientHeight = 466;
constexpr int kFontPointSize = 8;

constexpr int kSplitterPosition = 310;
constexpr int kLevelPreviewMaxWidth = 287;
constexpr int kLevelPreviewMaxHeight = 100;
// The level preview keeps this margin inside its group box when the splitter moves.
constexpr int kLevelPreviewMargin = 16;
constexpr int kTextsListWidth = 120;
constexpr int kTextPreviewWidth = 320;
constexpr int kTextPreviewHeight = 100;
constexpr int kPreviewHeightPerSize = 50;
constexpr int kPreviewGroupExtra = 27;
constexpr int kDefaultLevelPreviewSize = 1;

constexpr std::array<int, 4> kColumnWidths = {30, 75, 145, 50};
constexpr int kFileColumn = 1;

constexpr int kStatusPanel0Width = 350;
constexpr int kStatusPanel1Width = 150;
// The progress bar sits at (3, 3) in panel 0, a third of its width, 5 pixels less high than
// the status bar; the status text starts 8 pixels after it.
constexpr int kProgressBarOffset = 3;
constexpr int kProgressBarHeightLess = 5;
constexpr int kStatusTextGap = 8;

QString Text(const char* section, const char* key) {
    return InterfaceText(QString::fromLatin1(section), QString::fromLatin1(key));
}

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The core keeps file names in UTF-8 on every system (platform/utf8_path.h).
QString FromLocalPath(const std::string& path) { return QString::fromStdString(path); }

std::filesystem::path ToLocalPath(const QString& path) {
    return platform::PathFromUtf8(path.toStdString());
}

QFrame* Separator() {
    auto* line = new QFrame;
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

TMainForm::TMainForm(QStringList arguments, QWidget* parent)
    : QMainWindow(parent),
      arguments_(std::move(arguments)),
      glyphSets_(GlyphSets::FromBuiltinFont()) {
    [[maybe_unused]] static const bool registered = (RegisterImages(), true);
    setObjectName(QStringLiteral("MainForm"));
    setFont(QFont(QStringLiteral("Tahoma"), kFontPointSize));
    setWindowTitle(FromView(platform::kProgramTitle));
    QIcon programIcon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        programIcon.addFile(QStringLiteral(":/images/orvenne_%1.png").arg(size));
    }
    setWindowIcon(programIcon);
    resize(kClientWidth, kClientHeight);
    setMinimumSize(kMinimumClientWidth, kMinimumClientHeight);
    setAcceptDrops(true);

    CreateMenu();
    CreateToolBars();
    CreateClientArea();
    CreateStatusBar();

    // No archive yet: only opening is possible.
    SetControlsState(false, true);
    MenuItemOpen->setEnabled(true);

    AboutForm = new TAboutForm(this);
}

TMainForm::~TMainForm() = default;

void TMainForm::CreateMenu() {
    const QString ellipsis = QStringLiteral("...");

    MenuFile = menuBar()->addMenu(Text("general", "file"));
    MenuItemOpen = MenuFile->addAction(Text("general", "open") + ellipsis);
    MenuItemOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    MenuItemOpen->setToolTip(MenuItemOpen->text());
    connect(MenuItemOpen, &QAction::triggered, this, &TMainForm::MenuItemOpenClick);
    MenuItemSave = MenuFile->addAction(Text("general", "save"));
    MenuItemSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    MenuItemSave->setToolTip(MenuItemSave->text());
    connect(MenuItemSave, &QAction::triggered, this, &TMainForm::MenuItemSaveClick);
    MenuItemSaveAs = MenuFile->addAction(Text("general", "save_as") + ellipsis);
    MenuItemSaveAs->setToolTip(MenuItemSaveAs->text());
    connect(MenuItemSaveAs, &QAction::triggered, this, &TMainForm::MenuItemSaveAsClick);
    MenuFile->addSeparator();
    // The comparison and the colour profiles have windows of their own, which plug in here.
    MenuItemCompare = MenuFile->addAction(Text("general", "compare") + ellipsis);
    MenuItemCompare->setEnabled(false);
    MenuItemDisplayLastComparison = MenuFile->addAction(Text("general", "display_last_comparison"));
    MenuItemDisplayLastComparison->setEnabled(false);
    MenuFile->addSeparator();
    MenuItemWindowColors = MenuFile->addAction(Text("general", "window_colors"));
    MenuItemWindowColors->setEnabled(false);
    MenuFile->addSeparator();
    MenuItemExit = MenuFile->addAction(Text("general", "exit"));
    MenuItemExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(MenuItemExit, &QAction::triggered, this, &TMainForm::MenuItemExitClick);

    // Find and replace have windows of their own, which plug in here.
    MenuEdit = menuBar()->addMenu(Text("general", "edit"));
    MenuItemFind = MenuEdit->addAction(Text("general", "find") + ellipsis);
    MenuItemFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    MenuItemFindNext = MenuEdit->addAction(Text("general", "find_next"));
    MenuItemFindNext->setShortcut(QKeySequence(Qt::Key_F3));
    MenuItemFindPrevious = MenuEdit->addAction(Text("general", "find_previous"));
    MenuItemFindPrevious->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    MenuItemReplace = MenuEdit->addAction(Text("general", "replace") + ellipsis);
    MenuItemReplace->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    for (QAction* item : {MenuItemFind, MenuItemFindNext, MenuItemFindPrevious, MenuItemReplace}) {
        item->setEnabled(false);
    }

    MenuView = menuBar()->addMenu(Text("general", "view"));
    MenuItemDisplayFiles = MenuView->addMenu(Text("general", "display_files"));
    auto* displayFiles = new QActionGroup(this);
    MenuItemAllFiles = MenuItemDisplayFiles->addAction(Text("general", "all_files"));
    MenuItemOnlyLevels = MenuItemDisplayFiles->addAction(Text("general", "only_levels"));
    for (QAction* item : {MenuItemAllFiles, MenuItemOnlyLevels}) {
        item->setCheckable(true);
        displayFiles->addAction(item);
    }
    MenuItemAllFiles->setChecked(true);
    connect(MenuItemAllFiles, &QAction::triggered, this, [this] { DisplayFilesClick(false); });
    connect(MenuItemOnlyLevels, &QAction::triggered, this, [this] { DisplayFilesClick(true); });

    MenuItemDisplayTextPreview = MenuView->addAction(Text("general", "display_text_preview"));
    MenuItemDisplayTextPreview->setCheckable(true);
    MenuItemDisplayTextPreview->setChecked(true);
    connect(MenuItemDisplayTextPreview, &QAction::triggered, this,
            &TMainForm::MenuItemDisplayTextPreviewClick);

    MenuItemLevelPreviewSize = MenuView->addMenu(Text("general", "level_preview_size"));
    auto* sizes = new QActionGroup(this);
    const std::array<const char*, 4> sizeKeys = {"small", "normal", "large", "very_large"};
    for (std::size_t i = 0; i < sizeKeys.size(); ++i) {
        QAction* item = MenuItemLevelPreviewSize->addAction(Text("general", sizeKeys[i]));
        item->setCheckable(true);
        sizes->addAction(item);
        const int size = static_cast<int>(i) + 1;
        connect(item, &QAction::triggered, this, [this, size] { SetLevelPreviewSize(size); });
        MenuItemLevelPreviewSizes[i] = item;
    }
    MenuItemLevelPreviewSizes[1]->setChecked(true);

    // Language files come with their loader; until then English is the only language.
    MenuItemLanguage = MenuView->addMenu(Text("general", "language"));
    MenuItemEnglish = MenuItemLanguage->addAction(QStringLiteral("English"));
    MenuItemEnglish->setCheckable(true);
    MenuItemEnglish->setChecked(true);
    MenuItemEnglish->setEnabled(false);

    MenuHelp = menuBar()->addMenu(QStringLiteral("?"));
    MenuItemAbout = MenuHelp->addAction(Text("general", "about") + ellipsis);
    connect(MenuItemAbout, &QAction::triggered, this, [this] { AboutForm->exec(); });
}

void TMainForm::CreateToolBars() {
    ToolBarShortcuts = addToolBar(QStringLiteral("ToolBarShortcuts"));
    ToolBarShortcuts->setObjectName(QStringLiteral("ToolBarShortcuts"));
    ToolBarShortcuts->setMovable(false);
    ToolBarShortcuts->addAction(MenuItemOpen);
    ToolBarShortcuts->addAction(MenuItemSave);
    ToolBarShortcuts->addAction(MenuItemSaveAs);
    ToolButtonOpen = qobject_cast<QToolButton*>(ToolBarShortcuts->widgetForAction(MenuItemOpen));
    ToolButtonSave = qobject_cast<QToolButton*>(ToolBarShortcuts->widgetForAction(MenuItemSave));
    ToolButtonSaveAs =
        qobject_cast<QToolButton*>(ToolBarShortcuts->widgetForAction(MenuItemSaveAs));
    MenuItemOpen->setIcon(QIcon(QStringLiteral(":/images/open.png")));
    MenuItemSave->setIcon(QIcon(QStringLiteral(":/images/save.png")));
    MenuItemSaveAs->setIcon(QIcon(QStringLiteral(":/images/save_as.png")));
    ToolButtonOpen->setObjectName(QStringLiteral("ToolButtonOpen"));
    ToolButtonSave->setObjectName(QStringLiteral("ToolButtonSave"));
    ToolButtonSaveAs->setObjectName(QStringLiteral("ToolButtonSaveAs"));

    addToolBarBreak();
    ToolBarSpecialCharacters = addToolBar(QStringLiteral("ToolBarSpecialCharacters"));
    ToolBarSpecialCharacters->setObjectName(QStringLiteral("ToolBarSpecialCharacters"));
    ToolBarSpecialCharacters->setMovable(false);
    auto* rows = new QWidget;
    auto* rowsLayout = new QVBoxLayout(rows);
    rowsLayout->setContentsMargins(0, 0, 0, 0);
    rowsLayout->setSpacing(0);
    auto* placeholders = new QHBoxLayout;
    auto* tags = new QHBoxLayout;
    for (QHBoxLayout* row : {placeholders, tags}) {
        row->setSpacing(0);
        rowsLayout->addLayout(row);
    }

    // %21 and %22 have no button; they can still be typed.
    for (int number = 1; number <= 25; ++number) {
        if (number == 21 || number == 22) continue;
        AddCharacterButton(placeholders, QStringLiteral("%%1").arg(number));
    }
    placeholders->addStretch();

    AddCharacterButton(tags, QStringLiteral("\u00AB"),
                       QStringLiteral("ToolButtonQuotationMarkBegin"));
    AddCharacterButton(tags, QStringLiteral("\u00BB"),
                       QStringLiteral("ToolButtonQuotationMarkEnd"));
    AddCharacterButton(tags, QStringLiteral("\u2026"), QStringLiteral("ToolButton1"));
    // Caption, button name and hint key, in groups divided by separators.
    struct TagButton {
        const char* caption;
        const char* name;
        const char* hintKey;
    };
    const std::vector<std::vector<TagButton>> groups = {
        {
            {"{GREY}", "ToolButtonColorGrey", "grey"},
            {"{BLUE}", "ToolButtonColorBlue", "blue"},
            {"{RED}", "ToolButtonColorRed", "red"},
            {"{PURPLE}", "ToolButtonColorPurple", "purple"},
            {"{GREEN}", "ToolButtonColorGreen", "green"},
            {"{CYAN}", "ToolButtonColorCyan", "cyan"},
            {"{YELLOW}", "ToolButtonColorYellow", "yellow"},
            {"{WHITE}", "ToolButtonColorWhite", "white"},
            {"{BLINK}", "ToolButtonColorBlink", "blink"},
            {"{MULTICOLOUR}", "ToolButtonColorMulticolour", "multicolour"},
        },
        {
            {"{CLOUD}", "ToolButtonCloud", "cloud"},
            {"{BARRET}", "ToolButtonBarret", "barret"},
            {"{TIFA}", "ToolButtonTifa", "tifa"},
            {"{AERIS}", "ToolButtonAeris", "aeris"},
            {"{RED XIII}", "ToolButtonRedXIII", "red_xiii"},
            {"{YUFFIE}", "ToolButtonYuffie", "yuffie"},
            {"{CAIT SITH}", "ToolButtonCaitSith", "cait_sith"},
            {"{VINCENT}", "ToolButtonVincent", "vincent"},
            {"{CID}", "ToolButtonCid", "cid"},
        },
        {
            {"{MEMBER 1}", "ToolButtonMember1", "member1"},
            {"{MEMBER 2}", "ToolButtonMember2", "member2"},
            {"{MEMBER 3}", "ToolButtonMember3", "member3"},
        },
    };
    for (const auto& group : groups) {
        tags->addWidget(Separator());
        for (const TagButton& tag : group) {
            AddCharacterButton(tags, QString::fromLatin1(tag.caption),
                               QString::fromLatin1(tag.name), QString::fromLatin1(tag.hintKey));
        }
    }
    tags->addWidget(Separator());

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QStringList otherTags = {QStringLiteral("{WAIT KEYPRESS}")};
    for (int pause = 1; pause <= 5; ++pause) otherTags << QStringLiteral("{PAUSE %1}").arg(pause);
    otherTags << QStringLiteral("{SCROLLING}") << QStringLiteral("{SPACED CHARACTERS}")
              << QStringLiteral("{NEW PAGE}");
    for (const QString& tag : otherTags) {
        QAction* item = PopupMenu1->addAction(tag);
        connect(item, &QAction::triggered, this, [this, tag] { ToolButtonCharClick(tag); });
    }
    ToolButtonOtherTags = new QToolButton;
    ToolButtonOtherTags->setObjectName(QStringLiteral("ToolButtonOtherTags"));
    ToolButtonOtherTags->setText(Text("tags_description", "other_tags") + QStringLiteral("..."));
    ToolButtonOtherTags->setToolTip(ToolButtonOtherTags->text());
    ToolButtonOtherTags->setMenu(PopupMenu1);
    ToolButtonOtherTags->setPopupMode(QToolButton::InstantPopup);
    ToolButtonOtherTags->setAutoRaise(true);
    ToolButtonOtherTags->setFocusPolicy(Qt::NoFocus);
    tags->addWidget(ToolButtonOtherTags);
    tags->addStretch();

    ToolBarSpecialCharacters->addWidget(rows);
}

QToolButton* TMainForm::AddCharacterButton(QLayout* row, const QString& caption,
                                           const QString& name, const QString& hintKey) {
    auto* button = new QToolButton;
    // The caption is what the button inserts; a drawn face, where there is one, shows instead.
    button->setText(caption);
    const QIcon face = TagButtonFace(caption);
    if (!face.isNull()) {
        button->setIcon(face);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    if (!name.isEmpty()) button->setObjectName(name);
    if (!hintKey.isEmpty()) {
        button->setToolTip(InterfaceText(QStringLiteral("tags_description"), hintKey));
    }
    button->setAutoRaise(true);
    // The editor keeps the focus, and with it its selection, while buttons are clicked.
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this,
            [this, button] { ToolButtonCharClick(button->text()); });
    row->addWidget(button);
    CharacterButtons << button;
    return button;
}

void TMainForm::CreateClientArea() {
    RzSplitter1 = new QSplitter(Qt::Horizontal, this);
    RzSplitter1->setObjectName(QStringLiteral("RzSplitter1"));
    RzSplitter1->setChildrenCollapsible(false);

    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    ListViewFiles = new QTreeWidget;
    ListViewFiles->setObjectName(QStringLiteral("ListViewFiles"));
    ListViewFiles->setColumnCount(static_cast<int>(kColumnWidths.size()));
    ListViewFiles->setHeaderLabels({QStringLiteral("#"), Text("main", "file"),
                                    Text("main", "description"), Text("main", "texts")});
    ListViewFiles->headerItem()->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    for (std::size_t column = 0; column < kColumnWidths.size(); ++column) {
        ListViewFiles->setColumnWidth(static_cast<int>(column), kColumnWidths[column]);
    }
    ListViewFiles->setRootIsDecorated(false);
    ListViewFiles->setUniformRowHeights(true);
    ListViewFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    ListViewFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListViewFiles->header()->setSectionsClickable(true);
    ListViewFiles->header()->setStretchLastSection(false);
    connect(ListViewFiles, &QTreeWidget::itemSelectionChanged, this,
            &TMainForm::ListViewFilesSelectItem);
    connect(ListViewFiles->header(), &QHeaderView::sectionClicked, this,
            &TMainForm::ListViewFilesColumnClick);
    leftLayout->addWidget(ListViewFiles, 1);

    // The level preview draws into ImageLevelPreview when levels have a preview.
    GroupBoxLevelPreview = new QGroupBox(Text("main", "level_preview"));
    GroupBoxLevelPreview->setObjectName(QStringLiteral("GroupBoxLevelPreview"));
    auto* levelPreviewLayout = new QVBoxLayout(GroupBoxLevelPreview);
    levelPreviewLayout->setContentsMargins(6, 2, 6, 4);
    ImageLevelPreview = new QLabel;
    ImageLevelPreview->setObjectName(QStringLiteral("ImageLevelPreview"));
    ImageLevelPreview->setToolTip(Text("main", "click_to_enlarge"));
    ImageLevelPreview->setMaximumSize(kLevelPreviewMaxWidth, kLevelPreviewMaxHeight);
    ImageLevelPreview->setAlignment(Qt::AlignCenter);
    levelPreviewLayout->addWidget(ImageLevelPreview, 0, Qt::AlignCenter);
    leftLayout->addWidget(GroupBoxLevelPreview);

    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto* texts = new QHBoxLayout;
    ListBoxTexts = new QListWidget;
    ListBoxTexts->setObjectName(QStringLiteral("ListBoxTexts"));
    ListBoxTexts->setFixedWidth(kTextsListWidth);
    ListBoxTexts->setUniformItemSizes(true);
    const auto icon = [](const char* name) {
        return QPixmap(QStringLiteral(":/images/%1.png").arg(QLatin1String(name)));
    };
    ListBoxTexts->setItemDelegate(new TTextsListDelegate(
        {icon("window_icon"), icon("disabled_window_icon"), icon("window_icon_compared"),
         icon("disabled_window_icon_compared")},
        [this]() -> const TLGPSubFile* { return currentSubFile_; }, ListBoxTexts));
    connect(ListBoxTexts, &QListWidget::currentRowChanged, this, &TMainForm::ListBoxTextsClick);
    texts->addWidget(ListBoxTexts);
    MemoText = new QPlainTextEdit;
    MemoText->setObjectName(QStringLiteral("MemoText"));
    MemoText->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Files dropped on the editor open archives, as anywhere on the window; dragged text
    // still moves within it.
    MemoText->viewport()->installEventFilter(this);
    connect(MemoText, &QPlainTextEdit::textChanged, this, &TMainForm::MemoTextChange);
    texts->addWidget(MemoText, 1);
    rightLayout->addLayout(texts, 1);

    // The text preview draws into ImageTextPreview when texts have a preview.
    GroupBoxTextPreview = new QGroupBox(Text("main", "text_preview"));
    GroupBoxTextPreview->setObjectName(QStringLiteral("GroupBoxTextPreview"));
    auto* textPreviewLayout = new QHBoxLayout(GroupBoxTextPreview);
    textPreviewLayout->setContentsMargins(6, 2, 6, 4);
    ScrollBoxTextPreview = new QScrollArea;
    ScrollBoxTextPreview->setObjectName(QStringLiteral("ScrollBoxTextPreview"));
    ImageTextPreview = new QLabel;
    ImageTextPreview->setObjectName(QStringLiteral("ImageTextPreview"));
    ImageTextPreview->resize(kTextPreviewWidth, kTextPreviewHeight);
    ScrollBoxTextPreview->setWidget(ImageTextPreview);
    textPreviewLayout->addWidget(ScrollBoxTextPreview, 1);
    auto* windows = new QGridLayout;
    windows->setSpacing(2);
    LabelWindows = new QLabel(Text("main", "window"));
    LabelWindows->setObjectName(QStringLiteral("LabelWindows"));
    RzSpinnerWindows = new QSpinBox;
    RzSpinnerWindows->setObjectName(QStringLiteral("RzSpinnerWindows"));
    connect(RzSpinnerWindows, &QSpinBox::valueChanged, this, &TMainForm::RzSpinnerWindowsChange);
    PngSpeedButtonWindows = new QToolButton;
    PngSpeedButtonWindows->setObjectName(QStringLiteral("PngSpeedButtonWindows"));
    PngSpeedButtonWindows->setIcon(QIcon(QStringLiteral(":/images/modify_window.png")));
    PngSpeedButtonWindows->setToolTip(Text("main", "modify_window_size_position"));
    // Label above, selector and button beside each other: it all fits the smallest group.
    windows->addWidget(LabelWindows, 0, 0, 1, 2);
    windows->addWidget(RzSpinnerWindows, 1, 0);
    windows->addWidget(PngSpeedButtonWindows, 1, 1);
    windows->setRowStretch(2, 1);
    textPreviewLayout->addLayout(windows);
    rightLayout->addWidget(GroupBoxTextPreview);

    RzSplitter1->addWidget(left);
    RzSplitter1->addWidget(right);
    RzSplitter1->setStretchFactor(1, 1);
    RzSplitter1->setSizes({kSplitterPosition, kClientWidth - kSplitterPosition});
    connect(RzSplitter1, &QSplitter::splitterMoved, this, &TMainForm::RzSplitter1Changing);
    setCentralWidget(RzSplitter1);
}

void TMainForm::CreateStatusBar() {
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    for (QLabel*& panel : StatusBar1Panels) {
        panel = new QLabel;
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
    }
    StatusBar1Panels[0]->setFixedWidth(kStatusPanel0Width);
    StatusBar1Panels[1]->setFixedWidth(kStatusPanel1Width);
    StatusBar1->addWidget(StatusBar1Panels[0]);
    StatusBar1->addWidget(StatusBar1Panels[1]);
    StatusBar1->addWidget(StatusBar1Panels[2], 1);

    QProgressBar1 = new QProgressBar(StatusBar1Panels[0]);
    QProgressBar1->setObjectName(QStringLiteral("QProgressBar1"));
    QProgressBar1->setRange(0, 100);
    QProgressBar1->setTextVisible(false);
    QProgressBar1->hide();
    // The job status text is written after the progress bar.
    const int barWidth = kStatusPanel0Width / 3;
    StatusBar1Panels[0]->setIndent(0);
    StatusBar1Panels[0]->setContentsMargins(barWidth + kStatusTextGap, 0, 0, 0);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
}

void TMainForm::FormShow() {
    QProgressBar1->setGeometry(kProgressBarOffset, kProgressBarOffset, kStatusPanel0Width / 3,
                               StatusBar1->height() - kProgressBarHeightLess);

    // The settings' defaults until settings.ini is read: all files, the text preview shown,
    // the small level preview.
    MenuItemDisplayTextPreviewClick();
    MenuItemLevelPreviewSizes[kDefaultLevelPreviewSize - 1]->setChecked(true);
    SetLevelPreviewSize(kDefaultLevelPreviewSize);

    setWindowTitle(FromView(platform::kProgramTitle));
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    // Without the game, the dialog starts where the system's dialog starts.
    if (const std::filesystem::path data = platform::GameDataFolder(); !data.empty()) {
        openFolder_ = FromLocalPath(platform::Utf8FromPath(data / "field"));
    }

    if (!arguments_.isEmpty() && QFileInfo(arguments_.first()).isFile()) {
        OpenArchive(arguments_.first());
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (jobRunning_) {
        event->ignore();
        return;
    }
    if (AskAboutUnsavedChanges([this] { close(); }) != UnsavedChanges::Proceed) {
        event->ignore();
        return;
    }
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

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == MemoText->viewport()) {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove:
                if (static_cast<QDropEvent*>(event)->mimeData()->hasUrls()) {
                    static_cast<QDropEvent*>(event)->acceptProposedAction();
                    return true;
                }
                break;
            case QEvent::Drop:
                if (static_cast<QDropEvent*>(event)->mimeData()->hasUrls()) {
                    dropEvent(static_cast<QDropEvent*>(event));
                    return true;
                }
                break;
            default:
                break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::ShowErrorMessage(const QString& text) {
    // Parentless: the window is disabled while a job reports, and would disable its child too.
    QMessageBox box(QMessageBox::Critical, windowTitle(), text, QMessageBox::Ok);
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
    const QString name =
        QFileDialog::getSaveFileName(this, QString(), folder, filter, &selectedFilter);
    firstFilterSelected = selectedFilter == filter.section(QStringLiteral(";;"), 0, 0);
    return name;
}

QString TMainForm::FileFilter() const {
    // "All files" means files without an extension too, which "*.*" would leave out here.
    return Text("general", "lgp_files") + QStringLiteral(" (*.lgp);;") +
           Text("general", "all_files") + QStringLiteral(" (*)");
}

void TMainForm::MenuItemOpenClick() {
    const QString path = ChooseArchiveToOpen(openFolder_, FileFilter());
    if (!path.isEmpty()) OpenArchive(path);
}

void TMainForm::MenuItemSaveClick() {
    if (archive_) StartSave(FromLocalPath(archive_->FileName));
}

void TMainForm::MenuItemSaveAsClick() {
    if (!archive_) return;
    bool firstFilterSelected = true;
    const QString chosen =
        ChooseArchiveToSaveAs(QFileInfo(FromLocalPath(archive_->FileName)).absolutePath(),
                              FileFilter(), firstFilterSelected);
    if (!chosen.isEmpty()) StartSave(SaveAsFileName(chosen, firstFilterSelected));
}

void TMainForm::MenuItemExitClick() {
    if (AskAboutUnsavedChanges([] { QCoreApplication::quit(); }) == UnsavedChanges::Proceed) {
        QCoreApplication::quit();
    }
}

bool TMainForm::HasUnsavedChanges() const {
    // While a job runs the archive belongs to its worker.
    if (!archive_ || jobRunning_) return false;
    return std::ranges::any_of(archive_->SubFiles, [](const auto& subFile) {
        return TextsChanged(*subFile) || WindowsChanged(*subFile);
    });
}

TMainForm::UnsavedChanges TMainForm::AskAboutUnsavedChanges(std::function<void()> afterSave) {
    if (!HasUnsavedChanges()) return UnsavedChanges::Proceed;
    const QString name = QFileInfo(FromLocalPath(archive_->FileName)).fileName();
    const QString question =
        Text("messages", "save_changes") + QStringLiteral(" ") + name + QStringLiteral("?");
    switch (AskSaveChanges(question)) {
        case QMessageBox::Discard:
            return UnsavedChanges::Proceed;
        case QMessageBox::Save:
            afterSave_ = std::move(afterSave);
            StartSave(FromLocalPath(archive_->FileName));
            return UnsavedChanges::Saving;
        default:
            return UnsavedChanges::Cancelled;
    }
}

void TMainForm::OpenArchive(QString path) {
    if (jobRunning_) return;
    if (AskAboutUnsavedChanges([this, path] { OpenArchive(path); }) != UnsavedChanges::Proceed) {
        return;
    }
    if (platform::IsShortcut(ToLocalPath(path))) {
        // An unresolvable shortcut gives an empty path, which the open job rejects.
        path = FromLocalPath(platform::Utf8FromPath(platform::ShortcutTarget(ToLocalPath(path))));
    }
    SetControlsState(false, true);
    archive_.reset();
    // The caption names the archive only while one is open.
    setWindowTitle(FromView(platform::kProgramTitle));
    archive_ = std::make_unique<TLGPFile>();
    auto* job = new TOpenThread(*archive_, path);
    job->SetFailureText(Text("messages", "invalid_file"));
    StartJob(job, Text("messages", "file_opening") + QStringLiteral("..."),
             [this](bool succeeded) { OpenEnded(succeeded); });
}

void TMainForm::StartSave(const QString& target) {
    if (!archive_ || jobRunning_) return;
    auto* job = new TSaveThread(*archive_, target);
    job->SetFailureText(Text("messages", "file_saving_failure"));
    StartJob(job, Text("messages", "file_saving") + QStringLiteral("..."),
             [this](bool succeeded) { SaveEnded(succeeded); });
}

void TMainForm::StartJob(TJob* job, const QString& statusText, std::function<void(bool)> ended) {
    jobRunning_ = true;
    connect(
        job, &TJob::started, this,
        [this, statusText] {
            setEnabled(false);
            QApplication::setOverrideCursor(Qt::WaitCursor);
            QProgressBar1->setValue(0);
            QProgressBar1->show();
            StatusBar1Panels[0]->setText(statusText);
        },
        Qt::BlockingQueuedConnection);
    connect(
        job, &TJob::progress, this, [this](int percent) { QProgressBar1->setValue(percent); },
        Qt::BlockingQueuedConnection);
    connect(
        job, &TJob::failed, this,
        [this](const QString& message, const QString&) { ShowErrorMessage(message); },
        Qt::BlockingQueuedConnection);
    connect(
        job, &TJob::finished, this,
        [this, ended = std::move(ended)](bool succeeded) {
            ended(succeeded);
            EndJob();
        },
        Qt::BlockingQueuedConnection);
    job->StartDetached();
}

void TMainForm::OpenEnded(bool succeeded) {
    if (!succeeded) {
        // The job has emptied the archive; the window is left with none, ready to open.
        SetControlsState(false, true);
        MenuItemOpen->setEnabled(true);
        archive_.reset();
        return;
    }
    // Enabled before the list is filled: selecting row 0 then sets the editor, the texts list
    // and the window selector for that row, and nothing overrides them afterwards.
    SetControlsState(true, false);
    FillFilesList(true, onlyLevels_);
    UpdateCounts();
    StatusBar1Panels[1]->setText(
        QString::fromStdString(text::Windows1252ToUtf8(archive_->Creator)));
    setWindowTitle(FromView(platform::kProgramTitle) + QStringLiteral(" - ") +
                   FromLocalPath(archive_->FileName));
}

void TMainForm::SaveEnded(bool succeeded) {
    std::function<void()> next = std::move(afterSave_);
    afterSave_ = nullptr;
    // After the job has ended, so that what follows may open another archive or close.
    if (succeeded && next) QTimer::singleShot(0, this, std::move(next));
}

void TMainForm::EndJob() {
    QProgressBar1->hide();
    QProgressBar1->setValue(0);
    StatusBar1Panels[0]->clear();
    setEnabled(true);
    QApplication::restoreOverrideCursor();
    jobRunning_ = false;
}

void TMainForm::SetControlsState(bool enabled, bool reset) {
    for (QAction* item : {MenuItemOpen, MenuItemSave, MenuItemSaveAs}) item->setEnabled(enabled);
    ToolBarSpecialCharacters->setEnabled(enabled);
    ListViewFiles->setEnabled(enabled);
    ListBoxTexts->setEnabled(enabled);
    MemoText->setEnabled(enabled);
    if (reset) {
        ListViewFiles->headerItem()->setText(kFileColumn, Text("main", "file"));
        ListViewFiles->clear();
        currentSubFile_ = nullptr;
        ListBoxTexts->clear();
        {
            const QSignalBlocker blocker(MemoText);
            MemoText->clear();
        }
        StatusBar1Panels[1]->clear();
        StatusBar1Panels[2]->clear();
        ClearPreviews();
        ImageLevelPreview->setEnabled(false);
    }
    PngSpeedButtonWindows->setEnabled(false);
    const QSignalBlocker blocker(RzSpinnerWindows);
    RzSpinnerWindows->setRange(-1, -1);
    RzSpinnerWindows->setValue(-1);
}

void TMainForm::FillFilesList(bool force, bool onlyLevels) {
    if (!archive_) {
        // Remembered for the next archive, as the menu already shows the choice.
        onlyLevels_ = onlyLevels;
        return;
    }
    if (!force && onlyLevels == onlyLevels_) {
        for (int row = 0; row < ListViewFiles->topLevelItemCount(); ++row) {
            static_cast<TFileListItem*>(ListViewFiles->topLevelItem(row))->UpdateDescription();
        }
        return;
    }
    ListViewFiles->clear();
    currentSubFile_ = nullptr;
    ListBoxTexts->clear();
    {
        const QSignalBlocker blocker(MemoText);
        MemoText->clear();
    }
    QList<QTreeWidgetItem*> rows;
    for (std::size_t index = 0; index < archive_->SubFiles.size(); ++index) {
        TLGPSubFile& subFile = *archive_->SubFiles[index];
        if (onlyLevels && !lgp::IsLevel(subFile)) continue;
        rows << new TFileListItem(static_cast<int>(index), subFile);
    }
    ListViewFiles->addTopLevelItems(rows);
    ListViewFiles->headerItem()->setText(
        kFileColumn, QStringLiteral("%1 (%2)").arg(Text("main", "file")).arg(rows.size()));
    if (!rows.isEmpty()) ListViewFiles->setCurrentItem(rows.first());
    onlyLevels_ = onlyLevels;
}

void TMainForm::UpdateCounts() {
    if (!archive_) return;
    const ArchiveCounts counts = CountArchive(*archive_);
    const QLocale locale;
    StatusBar1Panels[2]->setText(
        QStringLiteral("%1 %2 / %3 %4")
            .arg(locale.toString(counts.levels), Text("main", "levels").toLower(),
                 locale.toString(counts.texts), Text("main", "texts").toLower()));
}

void TMainForm::UpdateWindowSelector(const TLGPSubFile* subFile, int textIndex) {
    std::size_t windows = 0;
    if (subFile != nullptr && lgp::IsLevel(*subFile) && textIndex >= 0 &&
        static_cast<std::size_t>(textIndex) < subFile->Texts.size()) {
        windows = subFile->Texts[static_cast<std::size_t>(textIndex)].Windows.size();
    }
    const QSignalBlocker blocker(RzSpinnerWindows);
    if (windows > 0) {
        RzSpinnerWindows->setEnabled(true);
        RzSpinnerWindows->setRange(1, static_cast<int>(windows));
        RzSpinnerWindows->setValue(1);
    } else {
        RzSpinnerWindows->setEnabled(false);
        RzSpinnerWindows->setRange(-1, -1);
        RzSpinnerWindows->setValue(-1);
    }
    PngSpeedButtonWindows->setEnabled(windows > 0);
}

void TMainForm::SetLevelPreviewSize(int size) {
    const int height = size * kPreviewHeightPerSize + kPreviewGroupExtra;
    // Fixed heights at the bottom of both panes: the lists and the editor above take the rest.
    GroupBoxLevelPreview->setFixedHeight(height);
    GroupBoxTextPreview->setFixedHeight(height);
    ImageLevelPreview->setMaximumHeight(size * kPreviewHeightPerSize);
}

void TMainForm::DisplayFilesClick(bool onlyLevels) {
    if (onlyLevels == onlyLevels_) return;
    FillFilesList(false, onlyLevels);
}

void TMainForm::MenuItemDisplayTextPreviewClick() {
    ImageTextPreview->setVisible(MenuItemDisplayTextPreview->isChecked());
    DrawTextPreview();
}

void TMainForm::DrawTextPreview() {
    DrawTextPreview(editor_text::EditorToTagged(MemoText->document()->toRawText()));
}

void TMainForm::DrawTextPreview(const std::string& tagged) {
    const int row = ListBoxTexts->currentRow();
    if (!MenuItemDisplayTextPreview->isChecked() || currentSubFile_ == nullptr ||
        !lgp::IsLevel(*currentSubFile_) || row < 0 ||
        static_cast<std::size_t>(row) >= currentSubFile_->Texts.size()) {
        ClearTextPreview();
        return;
    }
    int width = kAutomaticSize;
    int height = kAutomaticSize;
    const std::vector<TWindow*>& windows =
        currentSubFile_->Texts[static_cast<std::size_t>(row)].Windows;
    const int window = RzSpinnerWindows->value() - 1;
    if (window >= 0 && static_cast<std::size_t>(window) < windows.size()) {
        width = windows[static_cast<std::size_t>(window)]->Width;
        height = windows[static_cast<std::size_t>(window)]->Height;
    }
    const QImage picture =
        DrawWindowPreview(glyphSets_, CurrentWindowColors, tagged, width, height);
    if (picture.isNull()) {
        ClearTextPreview();
        return;
    }
    ImageTextPreview->setPixmap(QPixmap::fromImage(picture));
    ImageTextPreview->resize(picture.size());
}

void TMainForm::RzSpinnerWindowsChange() { DrawTextPreview(); }

void TMainForm::ClearPreviews() {
    ImageLevelPreview->clear();
    ClearTextPreview();
}

void TMainForm::ClearTextPreview() {
    ImageTextPreview->clear();
    ImageTextPreview->resize(0, 0);
}

void TMainForm::ListViewFilesSelectItem() {
    {
        const QSignalBlocker blocker(MemoText);
        MemoText->clear();
    }
    {
        const QSignalBlocker blocker(ListBoxTexts);
        ListBoxTexts->clear();
    }
    const QList<QTreeWidgetItem*> selected = ListViewFiles->selectedItems();
    if (selected.isEmpty()) {
        currentSubFile_ = nullptr;
    } else {
        ListViewFiles->scrollToItem(selected.first());
        currentSubFile_ = &static_cast<TFileListItem*>(selected.first())->SubFile();
    }
    if (currentSubFile_ == nullptr || !lgp::IsLevel(*currentSubFile_)) {
        ListBoxTexts->setEnabled(false);
        MemoText->setEnabled(false);
        ImageLevelPreview->setEnabled(false);
        ClearPreviews();
        UpdateWindowSelector(nullptr, -1);
        return;
    }
    const std::size_t count = currentSubFile_->Texts.size();
    const bool hasTexts = count > 0;
    ListBoxTexts->setEnabled(hasTexts);
    MemoText->setEnabled(hasTexts);
    if (!hasTexts) {
        ClearTextPreview();
        UpdateWindowSelector(currentSubFile_, -1);
        return;
    }
    const QString word = Text("main", "text");
    QStringList captions;
    captions.reserve(static_cast<qsizetype>(count));
    for (std::size_t text = 1; text <= count; ++text) {
        captions << word + QStringLiteral(" ") + QString::number(text);
    }
    {
        const QSignalBlocker blocker(ListBoxTexts);
        ListBoxTexts->addItems(captions);
        ListBoxTexts->setCurrentRow(0);
    }
    ListBoxTextsClick();
}

void TMainForm::ListViewFilesColumnClick(int column) {
    int& direction = sortDirections_[static_cast<std::size_t>(column)];
    direction = direction == 0 ? 1 : -direction;
    ListViewFiles->sortItems(column, direction > 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void TMainForm::ListBoxTextsClick() {
    const int row = ListBoxTexts->currentRow();
    if (currentSubFile_ == nullptr || row < 0) return;
    UpdateWindowSelector(currentSubFile_, row);
    const std::vector<std::uint8_t>& bytes =
        currentSubFile_->Texts[static_cast<std::size_t>(row)].Bytes;
    {
        const QSignalBlocker blocker(MemoText);
        MemoText->setPlainText(editor_text::TaggedToEditor(text::DecodeText(bytes)));
    }
    DrawTextPreview();
}

void TMainForm::MemoTextChange() {
    const int row = ListBoxTexts->currentRow();
    if (currentSubFile_ == nullptr || !lgp::IsLevel(*currentSubFile_) || row < 0 ||
        static_cast<std::size_t>(row) >= currentSubFile_->Texts.size()) {
        return;
    }
    const std::string tagged = editor_text::EditorToTagged(MemoText->document()->toRawText());
    currentSubFile_->Texts[static_cast<std::size_t>(row)].Bytes = text::EncodeText(tagged, true);
    DrawTextPreview(tagged);
}

void TMainForm::ToolButtonCharClick(const QString& caption) {
    if (currentSubFile_ == nullptr || !lgp::IsLevel(*currentSubFile_) ||
        ListBoxTexts->currentRow() < 0) {
        return;
    }
    MemoText->insertPlainText(caption);
}

void TMainForm::RzSplitter1Changing() {
    ImageLevelPreview->setMaximumWidth(GroupBoxLevelPreview->contentsRect().width() -
                                       kLevelPreviewMargin);
}
