#pragma once

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTreeWidget>
#include <QtTest>

#include "ui/archive_session.h"
#include "ui/compare_result_form.h"
#include "ui/main_form.h"
#include "ui/main_menu.h"
#include "ui/overflow_marks.h"

// Generous for the sanitizer build.
inline constexpr int kJobTimeout = 60000;

// The main window with the prompts of finding, replacing and comparing answered by the test:
// message boxes and errors are recorded, the reference archive is `compareChoice`, each
// result window shown is recorded as its rows, the four cells of each joined by " | ", and
// unsaved changes are discarded.
class AnsweredMainForm : public TMainForm {
public:
    using TMainForm::TMainForm;

    // The text of each message box, and its detail when it has one.
    QStringList messages;
    QList<QMessageBox::Icon> icons;
    QStringList errors;
    QStringList details;
    QString compareChoice;
    QList<QStringList> results;

protected:
    void execMessage(QMessageBox& box) override {
        messages << box.text();
        if (!box.informativeText().isEmpty()) messages << box.informativeText();
        icons << box.icon();
    }
    void showErrorMessage(const QString& text, const QString& detail) override {
        errors << text;
        details << detail;
    }
    QMessageBox::StandardButton askSaveChanges(const QString&) override {
        return QMessageBox::Discard;
    }
    QString chooseArchiveToCompare(const QString&, const QString&) override {
        return compareChoice;
    }
    void showComparisonResult(TCompareResultForm& result) override {
        // Shown once the window is usable again.
        QVERIFY(isEnabled());
        const auto* rows = result.findChild<QTreeWidget*>(QStringLiteral("resultView"));
        QStringList shown;
        for (int row = 0; row < rows->topLevelItemCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < 4; ++column)
                cells << rows->topLevelItem(row)->text(column);
            shown << cells.join(QStringLiteral(" | "));
        }
        results << shown;
    }
};

template <class T>
T* Child(const QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no child %s", name);
    return child;
}

inline QAction* Action(const TMainForm& form, TMainMenu::Command command) {
    return form.findChild<TMainMenu*>()->action(command);
}

inline QPlainTextEdit* Editor(const TMainForm& form) {
    return Child<QPlainTextEdit>(form, "textEditor");
}

// Waits for the job to end and for the marks of an archive it opened.
inline bool WaitForJob(const TMainForm& form) {
    return QTest::qWaitFor(
        [&] { return !form.session().jobRunning() && form.session().overflowMarks().ready(); },
        kJobTimeout);
}

// A window showing the archive at path, with settings of its own in `settings`.
inline std::unique_ptr<AnsweredMainForm> OpenInWindow(const QString& path,
                                                      const QString& settings) {
    auto form =
        std::make_unique<AnsweredMainForm>(QStringList{path}, TEditorPaths::inFolder(settings));
    form->show();
    if (!WaitForJob(*form) || form->session().archive() == nullptr)
        qFatal("cannot open %s", qPrintable(path));
    return form;
}
