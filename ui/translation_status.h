#pragma once

#include <QWidget>

class QLabel;
class TArchiveSession;

// The status bar's panels of a translation against its original, shown while an original is
// set: the original's file name (its path as hint), and how much of the archive is translated,
// "Translated: 5,210 of 31,652 texts (16.5 %)" with the numbers in the user's locale. Both
// follow every change that the session's translation marks tell.
class TTranslationStatus : public QWidget {
    Q_OBJECT

public:
    // The session must outlive the panels.
    explicit TTranslationStatus(const TArchiveSession& session, QWidget* parent = nullptr);

    QString originalText() const;
    QString progressText() const;

protected:
    // The panels follow the interface's language.
    void changeEvent(QEvent* event) override;

private:
    void showProgress();

    const TArchiveSession& session_;
    QLabel* originalPanel_;
    QLabel* progressPanel_;
};
