#pragma once

#include <array>

#include <QStatusBar>

class QLabel;
class QProgressBar;
class TArchiveSession;

// The main window's status bar: the job's progress bar and status text in the first panel, the
// open archive's creator in the second, the archive's level and text counts in the third.
class TStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit TStatusBar(QWidget* parent = nullptr);

    // Shows the session's jobs as they run, and the creator and counts of each archive it opens;
    // a notice goes at the next edit or selection of a text. The session must outlive the
    // status bar.
    void follow(const TArchiveSession& session);

    // Shows the progress bar at 0 with the job's status text beside it.
    void startProgress(const QString& statusText);
    void setProgress(int percent);
    // Hides the progress bar; the status message, if any, shows again.
    void endProgress();
    // A message in the first panel while no job runs, such as why a level cannot be shown;
    // empty to remove it.
    void setStatusMessage(const QString& text);
    // A passing notice in the first panel, such as characters left out of a text, shown over
    // the status message until the next notice or clearNotice; a job's status shows over it.
    void showNotice(const QString& text);
    void clearNotice();
    // What waits for the running job, shown after its status text (or the message) in
    // brackets; empty to remove it.
    void setWaitingNote(const QString& note);

    void setCreator(const QString& creator);
    // Shows "702 levels / 12,345 texts" with the locale's thousands separator, in the
    // current language; negative counts empty the panel.
    void setCounts(int levels, int texts);

    QString statusText() const;
    QString creatorText() const;
    QString countsText() const;
    bool isProgressShown() const;

protected:
    // Reads every caption again when the interface's language changes.
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Reads every caption from the interface texts.
    void retranslate();
    void placeProgressBar();
    // The notice when there is one, else the status message.
    QString idleText() const;
    // Shows the job's status text, or the idle text while no job runs, and the waiting note.
    void showStatus();

    std::array<QLabel*, 3> panels_{};
    QProgressBar* progressBar_;
    QString jobText_;
    QString message_;
    QString notice_;
    QString waitingNote_;
    int levels_ = -1;
    int texts_ = -1;
};
