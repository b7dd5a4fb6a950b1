#pragma once

#include "ui/editor_settings.h"

class QMainWindow;
class QSplitter;
class TColorsForm;
class TFileListView;
class TLevelPreviewPane;
class TMainMenu;
class TRecentArchives;
class TSpellingController;
class TTextPreviewPane;

// What settings.ini keeps of the main window and its parts: the window's place and size, the
// splitters, the file list's columns and filter, the previews, the level preview's size, the
// spelling dictionary, the window colour profiles and the recent archives.
class TMainWindowState {
public:
    // The parts must outlive this object.
    struct Parts {
        QMainWindow& window;
        TMainMenu& menu;
        QSplitter& mainSplitter;
        QSplitter& textsSplitter;
        TFileListView& filesView;
        TLevelPreviewPane& levelPreview;
        TTextPreviewPane& textPreview;
        TColorsForm& colorsForm;
        TSpellingController& spelling;
        TRecentArchives& recentArchives;
    };

    explicit TMainWindowState(Parts parts);

    // Gives every part its remembered state; the spelling dictionary is only remembered, for
    // the spelling controller to load later. The window goes back where it was when that is
    // within the visible screen, else it is centred at its built-in size; no splitter size or
    // column width passes the screen's.
    void apply(const TEditorSettings& settings);
    // Takes the parts' current state into `settings`; its other keys stay as they are.
    void store(TEditorSettings& settings) const;
    // Sizes 1 (Small) to 4 (Very large); the text preview takes the same height, so that the
    // bottoms of the two previews stay side by side.
    void setLevelPreviewSize(int size);

private:
    Parts parts_;
};
