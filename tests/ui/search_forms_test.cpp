#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextCursor>
#include <QWindow>
#include <QtTest>

#include "ui/find_form.h"
#include "ui/interface_texts.h"
#include "ui/replace_form.h"

namespace {

QString ReadEnglish(const QString&, const QString&, const QString& english) { return english; }

QString ReadFrench(const QString& section, const QString& key, const QString& english) {
    const QHash<QString, QString> french = {
        {"find/find", "Chercher"},
        {"find/next", "Suivant"},
        {"find/previous", "Précédent"},
        {"find/match_case", "Respecter la casse"},
        {"replace/replace", "Remplacer"},
        {"replace/with", "par"},
        {"replace/replace_all", "Tout remplacer"},
    };
    return french.value(section + "/" + key, english);
}

// The find dialog with its message box answered by the test.
class TestedFindForm : public TFindForm {
public:
    using TFindForm::TFindForm;

    QString shownText;
    QString shownDetail;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    bool onTopWhileShown = true;

protected:
    void ExecMessage(QMessageBox& box) override {
        shownText = box.text();
        shownDetail = box.informativeText();
        shownIcon = box.icon();
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

using Request = QList<QVariant>;

Request Requested(const QString& search, bool matchCase, FindMode mode) {
    return {search, matchCase, QVariant::fromValue(mode)};
}

}  // namespace

class SearchFormsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        LoadInterfaceTexts(ReadEnglish);
        QLocale::setDefault(QLocale::c());
    }

    void theFindDialogStaysOnTopFixedAndCentred() {
        QWidget owner;
        owner.setGeometry(100, 80, 800, 600);
        owner.show();
        TFindForm form(&owner);
        QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(form.size(), QSize(479, 123));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        Child<QPlainTextEdit>(form, "MemoFind")->setPlainText(QStringLiteral("Cloud"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.frameGeometry().center(), owner.frameGeometry().center());
        QCOMPARE(Child<QPlainTextEdit>(form, "MemoFind")->textCursor().selectedText(),
                 QStringLiteral("Cloud"));
    }

    void findButtonsNeedASearchText() {
        TFindForm form;
        QSignalSpy presence(&form, &TFindForm::searchTextChanged);
        const QList<QPushButton*> buttons = {Child<QPushButton>(form, "ButtonFind"),
                                             Child<QPushButton>(form, "ButtonNext"),
                                             Child<QPushButton>(form, "ButtonPrevious")};
        for (QPushButton* button : buttons) QVERIFY(!button->isEnabled());
        QVERIFY(!Child<QCheckBox>(form, "CheckBoxMatchCase")->isChecked());

        auto* memo = Child<QPlainTextEdit>(form, "MemoFind");
        memo->setPlainText(QStringLiteral("a"));
        for (QPushButton* button : buttons) QVERIFY(button->isEnabled());
        memo->clear();
        for (QPushButton* button : buttons) QVERIFY(!button->isEnabled());
        QCOMPARE(presence.size(), 2);
        QCOMPARE(presence[0][0].toBool(), true);
        QCOMPARE(presence[1][0].toBool(), false);
    }

    void eachFindButtonAsksForItsSearch() {
        TFindForm form;
        QSignalSpy requests(&form, &TSearchDialog::findRequested);
        Child<QPlainTextEdit>(form, "MemoFind")->setPlainText(QStringLiteral("Cloud\n{TIFA}\t!"));
        Child<QCheckBox>(form, "CheckBoxMatchCase")->setChecked(true);
        QTest::mouseClick(Child<QPushButton>(form, "ButtonFind"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(form, "ButtonNext"), Qt::LeftButton);
        Child<QCheckBox>(form, "CheckBoxMatchCase")->setChecked(false);
        QTest::mouseClick(Child<QPushButton>(form, "ButtonPrevious"), Qt::LeftButton);
        form.FindNext();
        form.FindPrevious();
        const QString search = QStringLiteral("Cloud\n{TIFA}\t!");
        QCOMPARE(requests, QList<Request>({Requested(search, true, FindMode::FromStart),
                                           Requested(search, true, FindMode::Next),
                                           Requested(search, false, FindMode::Previous),
                                           Requested(search, false, FindMode::Next),
                                           Requested(search, false, FindMode::Previous)}));
    }

    void aMessageShowsWithoutTheOnTopStyle() {
        TestedFindForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.ShowMessage(QMessageBox::Question, QStringLiteral("Text could not be found."));
        QCOMPARE(form.shownText, QStringLiteral("Text could not be found."));
        QCOMPARE(form.shownIcon, QMessageBox::Question);
        QVERIFY(!form.onTopWhileShown);
        QVERIFY(form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(form.isVisible());

        form.hide();
        form.ShowMessage(QMessageBox::Warning, QStringLiteral("Refused."), QStringLiteral("why"));
        QCOMPARE(form.shownDetail, QStringLiteral("why"));
        QVERIFY(!form.isVisible());
        QVERIFY(form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void theReplaceDialogAsksForSearchesAndReplacements() {
        TReplaceForm form;
        QCOMPARE(form.size(), QSize(479, 199));
        QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const QList<QPushButton*> buttons = {
            Child<QPushButton>(form, "ButtonFind"), Child<QPushButton>(form, "ButtonNext"),
            Child<QPushButton>(form, "ButtonPrevious"), Child<QPushButton>(form, "ButtonReplace"),
            Child<QPushButton>(form, "ButtonReplaceAll")};
        for (QPushButton* button : buttons) QVERIFY(!button->isEnabled());
        // The replacement alone enables nothing.
        Child<QPlainTextEdit>(form, "MemoWith")->setPlainText(QStringLiteral("Tifa\nAeris"));
        for (QPushButton* button : buttons) QVERIFY(!button->isEnabled());
        Child<QPlainTextEdit>(form, "MemoReplace")->setPlainText(QStringLiteral("Cloud"));
        for (QPushButton* button : buttons) QVERIFY(button->isEnabled());

        QSignalSpy finds(&form, &TSearchDialog::findRequested);
        QSignalSpy replaces(&form, &TReplaceForm::replaceRequested);
        QSignalSpy replaceAlls(&form, &TReplaceForm::replaceAllRequested);
        Child<QCheckBox>(form, "CheckBoxMatchCase")->setChecked(true);
        for (QPushButton* button : buttons) QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(finds, QList<Request>({Requested("Cloud", true, FindMode::FromStart),
                                        Requested("Cloud", true, FindMode::Next),
                                        Requested("Cloud", true, FindMode::Previous)}));
        QCOMPARE(replaces, QList<Request>({{QStringLiteral("Tifa\nAeris")}}));
        QCOMPARE(replaceAlls,
                 QList<Request>({{QStringLiteral("Cloud"), QStringLiteral("Tifa\nAeris"), true}}));
    }

    void replaceTakesTheSelectionOrTheCaret_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("selected");
        QTest::newRow("a selection") << 6 << 11 << "Tifa"
                                     << "Hello Tifa!"
                                     << "Tifa";
        QTest::newRow("a selection made backwards") << 11 << 6 << "Tifa"
                                                    << "Hello Tifa!"
                                                    << "Tifa";
        QTest::newRow("the caret") << 5 << 5 << ", Tifa,"
                                   << "Hello, Tifa, Cloud!"
                                   << ", Tifa,";
        QTest::newRow("a line break") << 5 << 6 << "\n"
                                      << "Hello\nCloud!" << QString(QChar::ParagraphSeparator);
        QTest::newRow("nothing") << 0 << 12 << ""
                                 << ""
                                 << "";
    }

    void replaceTakesTheSelectionOrTheCaret() {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, replacement);
        QFETCH(QString, text);
        QFETCH(QString, selected);
        QPlainTextEdit editor(QStringLiteral("Hello Cloud!"));
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
        TReplaceForm::ReplaceSelection(editor, replacement);
        QCOMPARE(editor.toPlainText(), text);
        QCOMPARE(editor.textCursor().selectedText(), selected);
        QCOMPARE(editor.textCursor().selectionStart(), std::min(start, end));
    }

    void replaceLeavesAnEditorThatTakesNoInput() {
        QPlainTextEdit editor(QStringLiteral("Hello Cloud!"));
        editor.selectAll();
        editor.setReadOnly(true);
        TReplaceForm::ReplaceSelection(editor, QStringLiteral("Tifa"));
        editor.setReadOnly(false);
        editor.setEnabled(false);
        TReplaceForm::ReplaceSelection(editor, QStringLiteral("Tifa"));
        QCOMPARE(editor.toPlainText(), QStringLiteral("Hello Cloud!"));
    }

    void theResultMessageCountsWithTheThousandsSeparator() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(TReplaceForm::ResultMessage(0), QStringLiteral("No text has been modified."));
        QCOMPARE(TReplaceForm::ResultMessage(1), QStringLiteral("1 text has been modified."));
        QCOMPARE(TReplaceForm::ResultMessage(2), QStringLiteral("2 texts have been modified."));
        QCOMPARE(TReplaceForm::ResultMessage(31652),
                 QStringLiteral("31,652 texts have been modified."));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(TReplaceForm::ResultMessage(31652),
                 QStringLiteral("31.652 texts have been modified."));
    }

    void retranslateReadsEveryCaptionAgain() {
        TFindForm find;
        TReplaceForm replace;
        LoadInterfaceTexts(ReadFrench);
        find.retranslate();
        replace.retranslate();
        QCOMPARE(find.windowTitle(), QStringLiteral("Chercher"));
        QCOMPARE(Child<QLabel>(find, "LabelFind")->text(), QStringLiteral("Chercher :"));
        QCOMPARE(Child<QPushButton>(find, "ButtonFind")->text(), QStringLiteral("Chercher"));
        QCOMPARE(Child<QPushButton>(find, "ButtonPrevious")->text(), QStringLiteral("Précédent"));
        QCOMPARE(Child<QCheckBox>(find, "CheckBoxMatchCase")->text(),
                 QStringLiteral("Respecter la casse"));
        QCOMPARE(replace.windowTitle(), QStringLiteral("Remplacer"));
        QCOMPARE(Child<QLabel>(replace, "LabelReplace")->text(), QStringLiteral("Remplacer :"));
        QCOMPARE(Child<QLabel>(replace, "LabelWith")->text(), QStringLiteral("par :"));
        QCOMPARE(Child<QPushButton>(replace, "ButtonNext")->text(), QStringLiteral("Suivant"));
        QCOMPARE(Child<QPushButton>(replace, "ButtonReplace")->text(), QStringLiteral("Remplacer"));
        QCOMPARE(Child<QPushButton>(replace, "ButtonReplaceAll")->text(),
                 QStringLiteral("Tout remplacer"));
    }
};

QTEST_MAIN(SearchFormsTest)
#include "search_forms_test.moc"
