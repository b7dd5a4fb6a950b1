#pragma once

#include <functional>

#include <QObject>
#include <QString>

class QWidget;
class TArchiveSession;
class TCompareResultForm;
class TMainMenu;

// The comparison with the original archive in the main window: "Compare..." asks for the
// reference archive and has the session compare the open one with it (the window unusable
// meanwhile); once the comparison has ended and the window is usable again, the result window
// shows it, and "Display last comparison" shows it again whenever asked. A reference that
// cannot be read is reported by the session's compareFailed, which the window shows.
class TCompareController : public QObject {
    Q_OBJECT

public:
    // The reference archive's file, or empty when the user cancels.
    using ReferenceChooser = std::function<QString()>;
    // Shows the filled result window modally.
    using ResultRunner = std::function<void(TCompareResultForm& result)>;

    // The session and the menu must outlive it; window: the result window's parent.
    TCompareController(TArchiveSession& session, TMainMenu& menu, ReferenceChooser chooseReference,
                       ResultRunner showResult, QWidget& window);

private:
    void onCompareClicked();
    void showLastComparison();

    TArchiveSession& session_;
    TMainMenu& menu_;
    const ReferenceChooser chooseReference_;
    const ResultRunner showResult_;
    TCompareResultForm* resultForm_;
};
