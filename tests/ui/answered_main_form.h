#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTimer>
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
// message boxes and errors are recorded, questions (boxes with Yes and No) recorded apart and
// answered `answer`, the reference archive is `compareChoice`, each result window shown is
// recorded as its rows, the four cells of each joined by " | ", and unsaved changes are
// discarded.
class AnsweredMainForm : public TMainForm {
public:
    using TMainForm::TMainForm;

    // The text of each message box, and its detail when it has one.
    QStringList messages;
    QList<QMessageBox::Icon> icons;
    QStringList questions;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    QStringList errors;
    QStringList details;
    QString compareChoice;
    QList<QStringList> results;

protected:
    void execMessage(QMessageBox& box) override {
        if (box.button(QMessageBox::Yes) != nullptr) {
            questions << box.text();
            box.button(answer)->click();
            return;
        }
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

// What a message box showed: its text, under it its informative text, and its buttons'
// captions in the order laid out.
struct ShownBox {
    QString text;
    QString informativeText;
    QStringList buttons;
};

// Answers the next message boxes that run modally, one by one, by the buttons of `answers`,
// and records each in `shown`; each box is looked for as soon as the event loop runs, until
// all are answered.
inline void AnswerBoxes(QList<QMessageBox::StandardButton> answers, QList<ShownBox>& shown) {
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answers, &shown]() mutable {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || box->property("answered").toBool()) return;
        box->setProperty("answered", true);
        ShownBox seen{box->text(), box->informativeText(), {}};
        for (const QAbstractButton* button : box->buttons()) seen.buttons << button->text();
        shown << seen;
        const QMessageBox::StandardButton answer = answers.takeFirst();
        if (answers.isEmpty()) {
            poll->stop();
            poll->deleteLater();
        }
        box->button(answer)->click();
    });
    poll->start(0);
}
