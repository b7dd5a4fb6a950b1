#include <algorithm>

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "sample/sample_archive.h"
#include "tests/ui/answered_main_form.h"
#include "tests/ui/mnemonic_fault.h"
#include "ui/editor_settings.h"
#include "ui/interface_texts.h"
#include "ui/language_catalog.h"

namespace {

// A caption as it is drawn: its mnemonic mark removed, "&&" read as "&".
QString Drawn(const QString& caption) {
    QString drawn;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
        drawn += caption[i];
    }
    return drawn;
}

// The width a button's caption needs to be drawn whole beside what the style draws with it.
int NeededWidth(const QAbstractButton& button) {
    const QStyle& style = *button.style();
    const int text = button.fontMetrics().horizontalAdvance(Drawn(button.text()));
    if (qobject_cast<const QCheckBox*>(&button) != nullptr) {
        return text + style.pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &button) +
               style.pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &button);
    }
    if (qobject_cast<const QRadioButton*>(&button) != nullptr) {
        return text + style.pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &button) +
               style.pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, &button);
    }
    // As the style measures a push button: one margin and the frame on either side.
    const int icon = button.icon().isNull() ? 0 : button.iconSize().width() + 4;
    return text + icon + style.pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button) +
           2 * style.pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
}

// The captions of `window` that do not fit: "caption (needed > width)" for each button shown
// with text, and for each header section shown, which must also lie within its header (not
// behind a scroll bar).
QStringList Clipped(const QWidget& window) {
    QStringList clipped;
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(&window) || button->text().isEmpty()) continue;
        if (const auto* tool = qobject_cast<const QToolButton*>(button);
            tool != nullptr && tool->toolButtonStyle() == Qt::ToolButtonIconOnly) {
            continue;
        }
        if (NeededWidth(*button) > button->width()) {
            clipped << QStringLiteral("%1 (%2 > %3)")
                           .arg(Drawn(button->text()))
                           .arg(NeededWidth(*button))
                           .arg(button->width());
        }
    }
    for (const QHeaderView* header : window.findChildren<QHeaderView*>()) {
        if (!header->isVisibleTo(&window) || header->orientation() != Qt::Horizontal) continue;
        const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int section = 0; section < header->count(); ++section) {
            if (header->isSectionHidden(section)) continue;
            const QString caption =
                header->model()->headerData(section, Qt::Horizontal).toString();
            const int needed = header->fontMetrics().horizontalAdvance(caption) + 2 * margin;
            const int end = header->sectionViewportPosition(section) + header->sectionSize(section);
            if (end > header->viewport()->width()) {
                clipped << QStringLiteral("%1 (ends at %2 > %3)")
                               .arg(caption)
                               .arg(end)
                               .arg(header->viewport()->width());
            } else if (needed > header->sectionSize(section)) {
                clipped << QStringLiteral("%1 (%2 > %3)")
                               .arg(caption)
                               .arg(needed)
                               .arg(header->sectionSize(section));
            }
        }
    }
    return clipped;
}

}  // namespace

// The whole interface in French: Qt's own texts translated, the questions' buttons from the
// language file, every caption whole at the first size, and no key without its English text.
class FrenchInterfaceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        archive_ = folder_.filePath(QStringLiteral("levels.lgp"));
        sample::WriteSampleArchive(archive_.toStdString(), {.levels = 6});
        QVERIFY(QFile::copy(QStringLiteral(ORVENNE_SOURCE_DIR "/resources/lang/fra.lng"),
                            folder_.filePath(QStringLiteral("fra.lng"))));
    }

    void init() {
        QVERIFY(TEditorSettings::writeLanguage(folder_.filePath(QStringLiteral("settings.ini")),
                                               QStringLiteral("fra")));
    }

    void cleanup() { ui::LoadLanguage(QString()); }

    void qtsOwnButtonsSpeakTheLanguage() {
        TMainForm form({}, TEditorPaths::inFolder(folder_.path()));
        form.show();
        const auto captions = [] {
            QMessageBox box(QMessageBox::Question, QString(), QString(),
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            return QStringList{box.button(QMessageBox::Yes)->text(),
                               box.button(QMessageBox::No)->text(),
                               box.button(QMessageBox::Cancel)->text()};
        };
        QCOMPARE(captions(), (QStringList{"&Oui", "&Non", "Annuler"}));
        form.ChangeLanguage(QStringLiteral("eng"));
        QCOMPARE(captions(), (QStringList{"&Yes", "&No", "Cancel"}));
    }

    void theLanguagesLocaleIsItsHeadersOrItsName() {
        const auto file = [this](const char* name, const QByteArray& contents) {
            const QString path = folder_.filePath(QString::fromLatin1(name));
            QFile out(path);
            if (!out.open(QIODevice::WriteOnly)) qFatal("cannot write %s", name);
            out.write(contents);
            return path;
        };
        QCOMPARE(ui::LanguageLocale(file("por.lng", "[header]\nlocale=pt_BR\n")).name(),
                 QStringLiteral("pt_BR"));
        QCOMPARE(ui::LanguageLocale(file("deu.lng", "[header]\nlanguage=Deutsch\n")).language(),
                 QLocale::German);
        QCOMPARE(ui::LanguageLocale(file("zzz.lng", "")).language(), QLocale::C);
        QCOMPARE(ui::LanguageLocale(folder_.filePath(QStringLiteral("fra.lng"))).language(),
                 QLocale::French);
    }

    void theUnsavedChangesQuestionSpeaksTheLanguageFile() {
        TMainForm form({archive_}, TEditorPaths::inFolder(folder_.path()));
        form.show();
        QVERIFY(WaitForJob(form));
        Editor(form)->insertPlainText(QStringLiteral("Bonjour "));
        QList<ShownBox> shown;
        AnswerBoxes({QMessageBox::Cancel}, shown);
        form.OpenArchive(archive_);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Enregistrer les modifications de levels.lgp ?"));
        shown[0].buttons.sort();
        QCOMPARE(shown[0].buttons, (QStringList{"Annuler", "Enregistrer", "Ne pas enregistrer"}));
        QVERIFY(form.session().hasUnsavedChanges());
        // Closing asks too: Discard lets the window close.
        AnswerBoxes({QMessageBox::Discard}, shown);
        QVERIFY(form.close());
        QCOMPARE(shown.size(), 2);
    }

    // The clipping test: every button's and header's caption fits its width in French at the
    // first size, in the main window with an archive open and in every dialog.
    void everyCaptionFitsInFrench() {
        AnsweredMainForm form({archive_}, TEditorPaths::inFolder(folder_.path()));
        form.show();
        QVERIFY(WaitForJob(form));
        QCOMPARE(Action(form, TMainMenu::Command::Open)->text(), QStringLiteral("&Ouvrir..."));
        QCOMPARE(Clipped(form), QStringList());
        // The comparison's window filled with its counts.
        form.compareChoice = archive_;
        Action(form, TMainMenu::Command::Compare)->trigger();
        QVERIFY(WaitForJob(form));
        QTRY_COMPARE(form.results.size(), 1);
        for (QDialog* dialog : form.findChildren<QDialog*>()) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QVERIFY2(Clipped(*dialog).isEmpty(),
                     qPrintable(dialog->objectName() + ": " + Clipped(*dialog).join(", ")));
            dialog->hide();
        }
    }

    // In either language, each dialog with more than one captioned button gives every button
    // and labelled field a mnemonic of its own, so that the keyboard reaches all of them.
    void everyDialogsButtonsHaveMnemonicsOfTheirOwn() {
        AnsweredMainForm form({archive_}, TEditorPaths::inFolder(folder_.path()));
        form.show();
        QVERIFY(WaitForJob(form));
        for (const QString& language : {QStringLiteral("fra"), QStringLiteral("eng")}) {
            form.ChangeLanguage(language);
            for (const QDialog* dialog : form.findChildren<QDialog*>()) {
                const auto buttons = dialog->findChildren<QAbstractButton*>();
                if (std::ranges::count_if(buttons, [](const QAbstractButton* button) {
                        return !button->text().isEmpty();
                    }) < 2) {
                    continue;
                }
                const QString fault = MnemonicFault(*dialog);
                QVERIFY2(fault.isEmpty(), qPrintable(language + u' ' + dialog->objectName() +
                                                     QStringLiteral(": ") + fault));
            }
        }
    }

    // Every window built, shown and switched between the languages asks only for keys that
    // have their English text.
    void everyKeyAskedForHasItsEnglishText() {
        {
            AnsweredMainForm form({archive_}, TEditorPaths::inFolder(folder_.path()));
            form.show();
            QVERIFY(WaitForJob(form));
            for (QDialog* dialog : form.findChildren<QDialog*>()) {
                dialog->show();
                dialog->hide();
            }
            for (const QString& language : {QStringLiteral("eng"), QStringLiteral("fra")})
                form.ChangeLanguage(language);
        }
        QCOMPARE(ui::MissingInterfaceTexts(), QStringList());
    }

private:
    QTemporaryDir folder_;
    QString archive_;
};

QTEST_MAIN(FrenchInterfaceTest)
#include "french_interface_test.moc"
