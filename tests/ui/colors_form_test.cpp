#include <functional>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "preview/glyph_sets.h"
#include "ui/color_selector.h"
#include "ui/colors_form.h"
#include "ui/interface_texts.h"

namespace {

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | (g << 8) | (b << 16);
}

constexpr TWindowColors kCounting{Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9), Rgb(10, 11, 12)};
constexpr TWindowColors kRedCorner{Rgb(255, 0, 0), 0, 0, 0};

const TColorProfiles::Section kStored = {{"Red", "ff0000"}, {"Night", "zz58B0000050000020000080"}};

QString ReadEnglish(const QString&, const QString&, const QString& english) { return english; }

// The dialog with its questions answered by the test: names from `names` (Cancel once none is
// left), colours from `color`, whether to store changed colours from `storeAnswers` (No once
// none is left); every question and message is recorded.
class TestedColorsForm : public TColorsForm {
public:
    QStringList names;
    std::optional<QColor> color;
    QList<QMessageBox::StandardButton> storeAnswers;
    QStringList prompts;
    QStringList messages;
    QStringList storeQuestions;

protected:
    std::optional<QColor> chooseColor(const QColor&) override { return color; }
    std::optional<QString> askProfileName(const QString& caption, const QString& prompt) override {
        prompts << caption + '|' + prompt;
        if (names.isEmpty()) return std::nullopt;
        return names.takeFirst();
    }
    void showMessage(const QString& text) override { messages << text; }
    QMessageBox::StandardButton askToStore(const QString& question) override {
        storeQuestions << question;
        return storeAnswers.isEmpty() ? QMessageBox::No : storeAnswers.takeFirst();
    }
};

}  // namespace

class ColorsFormTest : public QObject {
    Q_OBJECT

private:
    const preview::GlyphSets glyphs_ = preview::GlyphSets::FromBuiltinFont();

    // Shows the dialog from current, runs steps while it is shown, closes it and returns the
    // colours it leaves current.
    TWindowColors edit(TestedColorsForm& form, const TWindowColors& current,
                       const std::function<void()>& steps) {
        QTimer::singleShot(0, &form, [&] {
            steps();
            form.close();
        });
        return form.edit(current, glyphs_);
    }

    static QListWidget* list(TColorsForm& form) {
        return form.findChild<QListWidget*>("profilesList");
    }
    static TColorSelector* selector(TColorsForm& form, const char* corner) {
        return form.findChild<TColorSelector*>(QString(corner) + "Selector");
    }
    static void click(TColorsForm& form, const char* button) {
        form.findChild<QPushButton*>(QString(button) + "Button")->click();
    }
    static QStringList entries(TColorsForm& form) {
        QStringList texts;
        for (int row = 0; row < list(form)->count(); ++row) texts << list(form)->item(row)->text();
        return texts;
    }

private slots:
    void cleanup() { ui::LoadInterfaceTexts(ReadEnglish); }

    void showsTheProfilesAndStartsFromTheCurrentColors() {
        TestedColorsForm form;
        form.setProfiles(TColorProfiles::FromSection(kStored, 1));
        const TWindowColors current = edit(form, kCounting, [&] {
            QCOMPARE(entries(form), QStringList({"(Default)", "Red", "Night"}));
            QCOMPARE(list(form)->currentRow(), 1);
            QVERIFY(!(list(form)->item(0)->flags() & Qt::ItemIsEditable));
            QVERIFY(list(form)->item(1)->flags() & Qt::ItemIsEditable);
            QCOMPARE(selector(form, "topLeft")->toolTip(), QString("010203"));
            QCOMPARE(selector(form, "bottomRight")->toolTip(), QString("0A0B0C"));
            QCOMPARE(selector(form, "bottomLeft")->toolTip(), QString("070809"));
            QCOMPARE(form.findChild<QLabel*>("previewImage")->pixmap().size(), QSize(229, 133));
        });
        // Closing applies the selected profile again.
        QCOMPARE(current, kRedCorner);
    }

    void closingAppliesTheSelection() {
        TestedColorsForm form;
        form.setProfiles(TColorProfiles::FromSection(kStored, 2));
        // "(Default)": the changed selector is dropped.
        QCOMPARE(edit(form, kCounting,
                      [&] {
                          list(form)->setCurrentRow(0);
                          QVERIFY(!form.findChild<QPushButton*>("updateButton")->isEnabled());
                          selector(form, "topLeft")->findChild<QToolButton*>("presetColor9")->click();
                          QCOMPARE(selector(form, "topLeft")->toolTip(), QString("FF6600"));
                      }),
                 preview::DefaultWindowColors);
        QCOMPARE(form.profiles().SelectedIndex(), 0);

        // No entry selected (a stored index past the list): the colours as they are.
        form.setProfiles(TColorProfiles::FromSection(kStored, 9));
        form.color = QColor(1, 2, 3);
        QCOMPARE(edit(form, kCounting,
                      [&] {
                          // Focus on the list would make an entry current.
                          QVERIFY(QTest::qWaitForWindowActive(&form));
                          QVERIFY(!form.findChild<QPushButton*>("deleteButton")->isEnabled());
                          selector(form, "bottomRight")->findChild<QAction*>("moreItem")->trigger();
                          selector(form, "topLeft")->findChild<QAction*>("defaultItem")->trigger();
                      }),
                 (TWindowColors{0, Rgb(4, 5, 6), Rgb(7, 8, 9), Rgb(1, 2, 3)}));
        QCOMPARE(form.profiles().SelectedIndex(), TColorProfiles::kNoSelection);
    }

    void addAsksForAStorableNewName() {
        TestedColorsForm form;
        form.setProfiles(TColorProfiles::FromSection(kStored, 0));
        form.names = {"", "red", "a=b"};
        const TWindowColors current = edit(form, kCounting, [&] { click(form, "add"); });
        QCOMPARE(form.prompts, QStringList(3, "Window colors|New profile name :"));
        QCOMPARE(form.messages, QStringList({"There is already a profile named \"red\"."}));
        QCOMPARE(entries(form), QStringList({"(Default)", "Red", "Night", "a b"}));
        QCOMPARE(current, kCounting);
        const TColorProfiles::Section written = {{"Red", "FF0000000000000000000000"},
                                                 {"Night", "0058B0000050000020000080"},
                                                 {"a b", "0102030405060A0B0C070809"}};
        QCOMPARE(form.profiles().ToSection(), written);
        QCOMPARE(form.profiles().SelectedIndex(), 3);

        // Cancel adds nothing.
        edit(form, kCounting, [&] { click(form, "add"); });
        QCOMPARE(form.profiles().Count(), 3);
    }

    void renamingInPlace() {
        TestedColorsForm form;
        form.setProfiles(TColorProfiles::FromSection(kStored, 1));
        edit(form, preview::DefaultWindowColors, [&] {
            list(form)->item(2)->setText("RED");
            list(form)->item(1)->setText("Sun=set");
            list(form)->item(2)->setText(" ");
        });
        QCOMPARE(form.messages, QStringList({"There is already a profile named \"RED\"."}));
        QCOMPARE(entries(form), QStringList({"(Default)", "Sun set", "Night"}));
        QCOMPARE(form.profiles().Profile(0).Name, std::string("Sun set"));
    }

    void updateAndDelete() {
        TestedColorsForm form;
        form.setProfiles(TColorProfiles::FromSection(kStored, 2));
        const TWindowColors current = edit(form, preview::DefaultWindowColors, [&] {
            selector(form, "topRight")->findChild<QToolButton*>("presetColor39")->click();
            click(form, "update");
            list(form)->setCurrentRow(1);
            list(form)->setCurrentRow(2);
            QCOMPARE(selector(form, "topRight")->toolTip(), QString("FFFFFF"));
            // The last profile: the entry before it.
            click(form, "delete");
            QCOMPARE(entries(form), QStringList({"(Default)", "Red"}));
            QCOMPARE(list(form)->currentRow(), 1);
        });
        QCOMPARE(current, kRedCorner);

        // The only profile: "(Default)".
        edit(form, kCounting, [&] {
            click(form, "delete");
            QCOMPARE(entries(form), QStringList({"(Default)"}));
            QCOMPARE(list(form)->currentRow(), 0);
            QVERIFY(!form.findChild<QPushButton*>("deleteButton")->isEnabled());
            QCOMPARE(selector(form, "topLeft")->toolTip(), QString("0058B0"));
        });
        QCOMPARE(form.profiles().SelectedIndex(), 0);
    }

    // Colours changed and not stored are asked about on closing and on choosing another entry:
    // Yes stores them, No drops them, Cancel stays.
    void changedColorsAreAskedAboutBeforeTheyAreLost() {
        TestedColorsForm form;
        form.setProfiles(TColorProfiles::FromSection(kStored, 1));
        const auto orange = [&] {
            selector(form, "topLeft")->findChild<QToolButton*>("presetColor9")->click();
        };
        const QString question = "The colors of the profile \"Red\" were changed. Update the profile?";

        // Merely opened and closed: nothing to ask.
        edit(form, kRedCorner, [] {});
        QVERIFY(form.storeQuestions.isEmpty());

        // Cancel keeps the dialog open; Yes then stores the colours in the profile.
        form.storeAnswers = {QMessageBox::Cancel, QMessageBox::Yes};
        bool stayed = false;
        const TWindowColors kept = edit(form, kRedCorner, [&] {
            orange();
            form.close();
            stayed = form.isVisible();
        });
        QVERIFY(stayed);
        QCOMPARE(form.storeQuestions, QStringList({question, question}));
        QCOMPARE(kept.TopLeft, Rgb(255, 102, 0));
        QCOMPARE(form.profiles().ToSection().front().second, std::string("FF6600000000000000000000"));

        // Choosing another profile: Cancel stays on the changed one, No drops the change.
        form.storeQuestions.clear();
        form.storeAnswers = {QMessageBox::Cancel, QMessageBox::No};
        edit(form, kRedCorner, [&] {
            selector(form, "topLeft")->findChild<QToolButton*>("presetColor0")->click();
            list(form)->setCurrentRow(2);
            QCOMPARE(list(form)->currentRow(), 1);
            QCOMPARE(selector(form, "topLeft")->toolTip(), QString("000000"));
            list(form)->setCurrentRow(2);
            QCOMPARE(form.profiles().SelectedIndex(), 2);
            QCOMPARE(selector(form, "topLeft")->toolTip(), QString("0058B0"));
        });
        QCOMPARE(form.storeQuestions.size(), 2);
        QCOMPARE(form.profiles().ToSection().front().second, std::string("FF6600000000000000000000"));

        // "(Default)" cannot change: Yes keeps the colours as a new profile, named by the user.
        form.storeQuestions.clear();
        form.storeAnswers = {QMessageBox::Yes};
        form.names = {"Dusk"};
        const TWindowColors added = edit(form, preview::DefaultWindowColors, [&] {
            list(form)->setCurrentRow(0);
            orange();
        });
        QCOMPARE(form.storeQuestions,
                 QStringList({"The colors were changed. Keep them as a new profile?"}));
        QCOMPARE(entries(form), QStringList({"(Default)", "Red", "Night", "Dusk"}));
        QCOMPARE(form.profiles().SelectedIndex(), 3);
        QCOMPARE(added.TopLeft, Rgb(255, 102, 0));
    }

    void theCloseButtonClosesTheDialog() {
        TestedColorsForm form;
        form.setProfiles(TColorProfiles::FromSection(kStored, 1));
        QTimer::singleShot(0, &form, [&] { click(form, "close"); });
        QCOMPARE(form.edit(kCounting, glyphs_), kRedCorner);
        QVERIFY(!form.isVisible());
    }

    void randomColorsStayBelow255() {
        TestedColorsForm form;
        form.setProfiles(TColorProfiles::FromSection({}, TColorProfiles::kNoSelection));
        QSet<QString> seen;
        edit(form, preview::DefaultWindowColors, [&] {
            for (int round = 0; round < 50; ++round) {
                click(form, "random");
                for (const char* corner : {"topLeft", "topRight", "bottomRight", "bottomLeft"}) {
                    const QColor color = selector(form, corner)->color();
                    QVERIFY(color.red() < 255 && color.green() < 255 && color.blue() < 255);
                    seen << selector(form, corner)->toolTip();
                }
            }
        });
        QVERIFY(seen.size() > 100);
    }

    void aLanguageChangeReadsTheCaptionsAgain() {
        TestedColorsForm form;
        ui::LoadInterfaceTexts(
            [](const QString& section, const QString& key, const QString& english) {
                if (section == "window_colors" && key == "default") return QString("Défaut");
                if (section == "window_colors" && key == "more") return QString("Plus");
                return english;
            });
        QCOMPARE(entries(form), QStringList({"(Défaut)"}));
        QCOMPARE(selector(form, "topLeft")->findChild<QAction*>("defaultItem")->text(),
                 QString("Défaut..."));
        QCOMPARE(selector(form, "topLeft")->findChild<QAction*>("moreItem")->text(),
                 QString("Plus..."));
    }
};

QTEST_MAIN(ColorsFormTest)
#include "colors_form_test.moc"
