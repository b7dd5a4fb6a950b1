#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextCursor>
#include <QWindow>
#include <QtTest>

#include "tests/ui/mnemonic_fault.h"
#include "ui/find_form.h"
#include "ui/interface_texts.h"
#include "ui/language_catalog.h"
#include "ui/replace_form.h"

namespace {

QString ReadEnglish(const QString&, const QString&, const QString& english) { return english; }

// The find dialog with its message box answered by the test.
class TestedFindForm : public TFindForm {
public:
    using TFindForm::TFindForm;

    QStringList shown;
    bool onTopWhileShown = true;

protected:
    void execMessage(QMessageBox& box) override {
        shown << box.text() << box.informativeText();
        onTopWhileShown =
            windowHandle() != nullptr && windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
        QCOMPARE(box.standardButtons(), QMessageBox::Ok);
    }
};

template <typename T>
T* Child(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no child %s", name);
    return child;
}

QList<QVariant> Requested(const QString& search, bool matchCase, lgp::FindMode mode) {
    return {search, matchCase, QVariant::fromValue(mode)};
}

void Click(QWidget& parent, const char* button) {
    QTest::mouseClick(Child<QPushButton>(parent, button), Qt::LeftButton);
}

}  // namespace

class SearchFormsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        ui::LoadInterfaceTexts(ReadEnglish);
        QLocale::setDefault(QLocale::c());
    }

    void theFindDialogAsksForSearchesOnceItHasAText() {
        QWidget owner;
        owner.setGeometry(100, 80, 800, 600);
        owner.show();
        TFindForm form(&owner);
        QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(form.minimumSize(), QSize(479, 123));
        QCOMPARE(form.maximumSize(), QSize(479, 123));
        QSignalSpy presence(&form, &TFindForm::searchTextChanged);
        QSignalSpy requests(&form, &TSearchDialog::findRequested);
        QVERIFY(!Child<QPushButton>(form, "previousButton")->isEnabled());

        auto* memo = Child<QPlainTextEdit>(form, "findEdit");
        memo->setPlainText(QStringLiteral("Cloud\n{TIFA}\t!"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.frameGeometry().center(), owner.frameGeometry().center());
        QCOMPARE(memo->textCursor().selectedText(), QStringLiteral("Cloud\u2029{TIFA}\t!"));
        Child<QCheckBox>(form, "matchCaseBox")->setChecked(true);
        Click(form, "findButton");
        Click(form, "nextButton");
        Child<QCheckBox>(form, "matchCaseBox")->setChecked(false);
        Click(form, "previousButton");
        form.findNext();
        const QString search = QStringLiteral("Cloud\n{TIFA}\t!");
        QCOMPARE(requests,
                 QList<QList<QVariant>>({Requested(search, true, lgp::FindMode::FromStart),
                                         Requested(search, true, lgp::FindMode::Next),
                                         Requested(search, false, lgp::FindMode::Previous),
                                         Requested(search, false, lgp::FindMode::Next)}));
        memo->clear();
        QVERIFY(!Child<QPushButton>(form, "findButton")->isEnabled());
        QCOMPARE(presence, QList<QList<QVariant>>({{true}, {false}}));
    }

    void theFieldsAndButtonsAreWorkedFromTheKeyboard() {
        TFindForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QSignalSpy requests(&form, &TSearchDialog::findRequested);
        auto* memo = Child<QPlainTextEdit>(form, "findEdit");
        QCOMPARE(form.focusWidget(), memo);
        // Shift+Enter types a line break and Ctrl+Tab a tab; Enter runs Find, then Next.
        QTest::keyClicks(memo, QStringLiteral("Cloud"));
        QTest::keyClick(memo, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(memo, QStringLiteral("Tifa"));
        QTest::keyClick(memo, Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClick(memo, Qt::Key_Enter, Qt::KeypadModifier);
        const QString search = QStringLiteral("Cloud\nTifa\t");
        QCOMPARE(form.searchText(), search);
        // A changed search starts from the first text again.
        QTest::keyClicks(memo, QStringLiteral("!"));
        QTest::keyClick(memo, Qt::Key_Return);
        QCOMPARE(requests, QList<QList<QVariant>>(
                               {Requested(search, false, lgp::FindMode::FromStart),
                                Requested(search, false, lgp::FindMode::Next),
                                Requested(search + u'!', false, lgp::FindMode::FromStart)}));
        // Enter on a button that has the focus runs that button.
        Child<QPushButton>(form, "previousButton")->setFocus();
        QTest::keyClick(Child<QPushButton>(form, "previousButton"), Qt::Key_Return);
        QCOMPARE(requests.last(), Requested(search + u'!', false, lgp::FindMode::Previous));

        // Tab leaves the field, Shift+Tab comes back, Escape closes.
        memo->setFocus();
        QTest::keyClick(memo, Qt::Key_Tab);
        QCOMPARE(form.focusWidget(), Child<QCheckBox>(form, "matchCaseBox"));
        QTest::keyClick(form.focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(form.focusWidget(), memo);
        QCOMPARE(form.searchText(), search + u'!');
        QTest::keyClick(memo, Qt::Key_Escape);
        QVERIFY(!form.isVisible());
    }

    void everyButtonHasAMnemonicOfItsOwnInEnglishAndFrench() {
        TFindForm find;
        TReplaceForm replace;
        QCOMPARE(MnemonicFault(find), QString());
        QCOMPARE(MnemonicFault(replace), QString());
        QCOMPARE(Child<QPushButton>(replace, "replaceAllButton")->text(),
                 QStringLiteral("Replace &all"));
        ui::LoadLanguage(QStringLiteral(ORVENNE_SOURCE_DIR "/resources/lang/fra.lng"));
        QCOMPARE(Child<QPushButton>(replace, "replaceAllButton")->text(),
                 QStringLiteral("&Tout remplacer"));
        QCOMPARE(MnemonicFault(find), QString());
        QCOMPARE(MnemonicFault(replace), QString());
        // The label's mnemonic goes to its field.
        QCOMPARE(Child<QLabel>(replace, "withLabel")->buddy(), Child<QWidget>(replace, "withEdit"));
    }

    void aMessageShowsWithoutTheOnTopStyle() {
        TestedFindForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.showMessage(QMessageBox::Question, QStringLiteral("Text could not be found."));
        QVERIFY(!form.onTopWhileShown);
        QVERIFY(form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(form.isVisible());
        form.hide();
        form.showMessage(QMessageBox::Warning, QStringLiteral("Refused."), QStringLiteral("why"));
        QCOMPARE(form.shown, QStringList({"Text could not be found.", "", "Refused.", "why"}));
        QVERIFY(!form.isVisible());
    }

    void theReplaceDialogAsksForSearchesAndReplacements() {
        TReplaceForm form;
        QCOMPARE(form.minimumSize(), QSize(479, 199));
        const char* const buttons[] = {"findButton", "nextButton", "previousButton",
                                       "replaceButton", "replaceAllButton"};
        // The replacement alone enables nothing.
        Child<QPlainTextEdit>(form, "withEdit")->setPlainText(QStringLiteral("Tifa\nAeris"));
        for (const char* button : buttons) QVERIFY(!Child<QPushButton>(form, button)->isEnabled());
        Child<QPlainTextEdit>(form, "replaceEdit")->setPlainText(QStringLiteral("Cloud"));

        QSignalSpy finds(&form, &TSearchDialog::findRequested);
        QSignalSpy replaces(&form, &TReplaceForm::replaceRequested);
        QSignalSpy replaceAlls(&form, &TReplaceForm::replaceAllRequested);
        Child<QCheckBox>(form, "matchCaseBox")->setChecked(true);
        for (const char* button : buttons) Click(form, button);
        QCOMPARE(finds,
                 QList<QList<QVariant>>({Requested("Cloud", true, lgp::FindMode::FromStart),
                                         Requested("Cloud", true, lgp::FindMode::Next),
                                         Requested("Cloud", true, lgp::FindMode::Previous)}));
        QCOMPARE(replaces, QList<QList<QVariant>>({{QStringLiteral("Tifa\nAeris")}}));
        QCOMPARE(replaceAlls, QList<QList<QVariant>>({{QStringLiteral("Cloud"),
                                                       QStringLiteral("Tifa\nAeris"), true}}));
    }

    void replaceTakesTheSelectionOrTheCaret_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("selected");
        QTest::newRow("a selection") << 6 << 11 << "Tifa" << false << "Hello Tifa!"
                                     << "Tifa";
        QTest::newRow("made backwards") << 11 << 6 << "Tifa" << false << "Hello Tifa!"
                                        << "Tifa";
        QTest::newRow("the caret") << 5 << 5 << ", Tifa," << false << "Hello, Tifa, Cloud!"
                                   << ", Tifa,";
        QTest::newRow("a line break") << 5 << 6 << "\n"
                                      << false << "Hello\nCloud!"
                                      << "\u2029";
        QTest::newRow("read-only") << 6 << 11 << "Tifa" << true << "Hello Cloud!"
                                   << "Cloud";
    }

    void replaceTakesTheSelectionOrTheCaret() {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, replacement);
        QFETCH(bool, readOnly);
        QFETCH(QString, text);
        QFETCH(QString, selected);
        QPlainTextEdit editor(QStringLiteral("Hello Cloud!"));
        editor.setReadOnly(readOnly);
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
        TReplaceForm::replaceSelection(editor, replacement);
        QCOMPARE(editor.toPlainText(), text);
        QCOMPARE(editor.textCursor().selectedText(), selected);
    }

    void theResultMessageCountsWithTheThousandsSeparator() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(TReplaceForm::resultMessage(0), QStringLiteral("No text has been modified."));
        QCOMPARE(TReplaceForm::resultMessage(1), QStringLiteral("1 text has been modified."));
        QCOMPARE(TReplaceForm::resultMessage(31652),
                 QStringLiteral("31,652 texts have been modified."));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(TReplaceForm::resultMessage(2), QStringLiteral("2 texts have been modified."));
        QCOMPARE(TReplaceForm::resultMessage(31652),
                 QStringLiteral("31.652 texts have been modified."));
    }

    void retranslateReadsEveryCaptionAgain() {
        TFindForm find;
        TReplaceForm replace;
        ui::LoadInterfaceTexts([](const QString& section, const QString& key, const QString&) {
            return section + "/" + key;
        });
        // The captions as read, mnemonics aside.
        const auto caption = [](const QString& text) { return QString(text).remove(u'&'); };
        QCOMPARE(find.windowTitle(), QStringLiteral("find/find"));
        QCOMPARE(caption(Child<QLabel>(find, "findLabel")->text()), QStringLiteral("find/find :"));
        QCOMPARE(caption(Child<QCheckBox>(find, "matchCaseBox")->text()),
                 QStringLiteral("find/match_case"));
        QCOMPARE(replace.windowTitle(), QStringLiteral("replace/replace"));
        QCOMPARE(caption(Child<QLabel>(replace, "withLabel")->text()),
                 QStringLiteral("replace/with :"));
        QCOMPARE(caption(Child<QPushButton>(replace, "previousButton")->text()),
                 QStringLiteral("find/previous"));
        QCOMPARE(caption(Child<QPushButton>(replace, "replaceAllButton")->text()),
                 QStringLiteral("replace/replace_all"));
    }
};

QTEST_MAIN(SearchFormsTest)
#include "search_forms_test.moc"
