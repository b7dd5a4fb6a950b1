#pragma once

#include <array>

#include <QStatusBar>

class QLabel;
class QProgressBar;

// The main window's status bar: the job's progress bar and status text in the first panel, the
// open archive's creator in the second, the archive's level and text counts in the third.
class TStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit TStatusBar(QWidget* parent = nullptr);

    // Shows the progress bar at 0 with the job's status text beside it.
    void StartProgress(const QString& statusText);
    void SetProgress(int percent);
    // Hides the progress bar and empties the status text.
    void EndProgress();
    // A message in the first panel while no job runs, such as a level that cannot be shown.
    void ShowMessage(const QString& text);

    void SetCreator(const QString& creator);
    // Shows "702 levels / 12,345 texts" with the locale's thousands separator, in the
    // current language; negative counts empty the panel.
    void SetCounts(int levels, int texts);
    // Empties the second and third panels.
    void ClearArchive();

    QString StatusText() const;
    QString CreatorText() const;
    QString CountsText() const;
    bool ProgressShown() const;
    int Progress() const;

    // The counts in the current language's words.
    void Retranslate();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceProgressBar();

    std::array<QLabel*, 3> panels_{};
    QProgressBar* progressBar_;
    int levels_ = -1;
    int texts_ = -1;
};
