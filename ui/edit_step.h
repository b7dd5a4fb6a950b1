#pragma once

#include <cstdint>
#include <vector>

#include <QRect>
#include <QUndoCommand>

class TArchiveSession;
class TWindow;

// One step of the open archive's edit history: the texts and windows it changed, each with its
// value before and after, and the place (file, text, window) that undoing or redoing it
// selects. The session applies a step as it makes it; the history runs it again only to undo
// and redo it, through the session, so that the marks and the changed state follow.
class TEditStep : public QUndoCommand {
public:
    struct TextChange {
        int subFile = 0;
        int text = 0;
        std::vector<std::uint8_t> before;
        std::vector<std::uint8_t> after;
    };
    struct WindowChange {
        int subFile = 0;
        // Lives as long as the archive, which the history does not outlive.
        TWindow* window = nullptr;
        // X, Y, Width and Height.
        QRect before;
        QRect after;
    };
    // Table index, text and window index; -1 where the step selects nothing (subFile -1: the
    // selection stays as it is; window -1: the text's first window).
    struct Place {
        int subFile = -1;
        int text = -1;
        int window = -1;
    };
    // How a text change was typed: a keystroke that continues the typing of the step before,
    // in the same text, becomes part of that step, as an editor's typing does.
    enum class Typing { No, Starts, Continues };

    TEditStep(TArchiveSession& session, Place place, std::vector<TextChange> texts,
              std::vector<WindowChange> windows, Typing typing = Typing::No);

    const Place& place() const { return place_; }
    const std::vector<TextChange>& texts() const { return texts_; }
    const std::vector<WindowChange>& windows() const { return windows_; }

    int id() const override;
    // Takes in `other` when it continues this step's typing in the same text; a step that
    // then changes nothing is dropped by the history.
    bool mergeWith(const QUndoCommand* other) override;
    void undo() override;
    // The first run, as the history takes the step in, finds it applied already.
    void redo() override;

private:
    TArchiveSession& session_;
    const Place place_;
    std::vector<TextChange> texts_;
    const std::vector<WindowChange> windows_;
    const Typing typing_;
    bool applied_ = true;
};
