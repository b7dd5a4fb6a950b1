#include "ui/main_window_state.h"

#include <algorithm>

#include <QAction>
#include <QMainWindow>
#include <QScreen>
#include <QSplitter>

#include "preview/color_profiles.h"
#include "ui/colors_form.h"
#include "ui/file_list_view.h"
#include "ui/level_preview_pane.h"
#include "ui/main_menu.h"
#include "ui/recent_archives.h"
#include "ui/spelling_controller.h"
#include "ui/text_preview_pane.h"

namespace {

using Command = TMainMenu::Command;

}  // namespace

TMainWindowState::TMainWindowState(Parts parts) : parts_(parts) {}

void TMainWindowState::apply(const TEditorSettings& settings) {
    QMainWindow& window = parts_.window;
    // A size from a damaged or hand-edited file could push the rest out of reach: none passes
    // the screen.
    const QScreen* screen = window.screen();
    const QSize bounds = screen ? screen->availableGeometry().size() : window.size();
    const auto within = [](int size, int limit) { return std::clamp(size, 0, std::max(limit, 0)); };
    TFileListView::ColumnWidths widths = settings.columnWidths;
    for (int& width : widths) width = within(width, bounds.width());
    parts_.filesView.setColumnWidths(widths);
    const int filesWidth = settings.levelsListSize > 0
                               ? within(settings.levelsListSize, bounds.width())
                               : parts_.filesView.widthForColumns();
    parts_.mainSplitter.setSizes({filesWidth, window.width() - filesWidth});
    parts_.menu.action(settings.onlyLevels ? Command::OnlyLevels : Command::AllFiles)->setChecked(true);
    parts_.filesView.setOnlyLevels(settings.onlyLevels);
    parts_.menu.action(Command::DisplayTextPreview)->setChecked(settings.textPreview);
    parts_.textPreview.setPictureShown(settings.textPreview);
    parts_.textPreview.setGameView(settings.gameView);
    parts_.textPreview.setNames(settings.gameViewNames);
    parts_.spelling.chooseLater(settings.spellingDictionary);
    parts_.menu.levelPreviewSizeAction(settings.levelPreviewSize)->setChecked(true);
    setLevelPreviewSize(settings.levelPreviewSize);
    if (settings.textPreviewHeight > 0) {
        QSplitter& texts = parts_.textsSplitter;
        const int total = texts.height() - texts.handleWidth();
        const int height = within(settings.textPreviewHeight, bounds.height());
        texts.setSizes({total - height, height});
    }
    TColorsForm& colors = parts_.colorsForm;
    colors.setProfiles(TColorProfiles::FromSection(settings.windowProfiles, settings.windowColors));
    parts_.textPreview.setColors(colors.profiles().WindowColors(colors.profiles().SelectedIndex()));
    parts_.recentArchives.setEntries(settings.recentArchives);
    if (settings.windowGeometry.isEmpty() || !window.restoreGeometry(settings.windowGeometry)) {
        if (const QScreen* screen = window.screen()) {
            QRect frame = window.frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            window.move(frame.topLeft());
        }
    }
}

void TMainWindowState::store(TEditorSettings& settings) const {
    const QMainWindow& window = parts_.window;
    settings.levelsListSize = parts_.mainSplitter.sizes().value(0);
    settings.columnWidths = parts_.filesView.columnWidths();
    settings.onlyLevels = parts_.filesView.onlyLevels();
    settings.textPreview = parts_.menu.action(Command::DisplayTextPreview)->isChecked();
    settings.gameView = parts_.textPreview.gameView();
    settings.gameViewNames = parts_.textPreview.names();
    settings.spellingDictionary = parts_.spelling.dictionary();
    for (int size = 1; size <= 4; ++size) {
        if (parts_.menu.levelPreviewSizeAction(size)->isChecked()) settings.levelPreviewSize = size;
    }
    settings.textPreviewHeight = parts_.textsSplitter.sizes().value(1);
    settings.windowState = window.isMinimized() ? 1 : (window.isMaximized() ? 2 : 0);
    settings.windowGeometry = window.saveGeometry();
    settings.windowProfiles = parts_.colorsForm.profiles().ToSection();
    settings.windowColors = parts_.colorsForm.profiles().SelectedIndex();
    settings.recentArchives = parts_.recentArchives.entries();
}

void TMainWindowState::setLevelPreviewSize(int size) {
    parts_.levelPreview.setPreviewSize(size);
    QSplitter& texts = parts_.textsSplitter;
    const int height = TLevelPreviewPane::heightOf(size);
    const int total = texts.height() - texts.handleWidth();
    texts.setSizes({total - height, height});
}
