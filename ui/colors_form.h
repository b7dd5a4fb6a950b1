#pragma once

#include <array>
#include <optional>

#include <QColor>
#include <QDialog>
#include <QMessageBox>
#include <QSize>
#include <QString>

#include "preview/color_profiles.h"
#include "preview/window_colors.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class TColorSelector;

namespace preview {
class GlyphSets;
}  // namespace preview

// The window colours dialog: the profile list ("(Default)" first, the others renamed in
// place), four colour selectors around a preview of the colours being edited, and Add, Update,
// Delete, Random and Close. Created once and shown modally by edit(); it keeps its profiles
// and selection between showings. Colours changed and not yet stored are not lost without a
// word: closing the dialog or selecting another entry first asks whether to store them (in the
// selected profile, or for "(Default)" as a new one), and Cancel stays where the user was.
// Nothing is written to settings here: the owner takes profiles() when it writes them.
class TColorsForm : public QDialog {
    Q_OBJECT

public:
    static constexpr QSize kPreviewSize{229, 133};

    explicit TColorsForm(QWidget* parent = nullptr);

    // Replaces the profiles and selects their selected entry in the list (none when the
    // selection is TColorProfiles::kNoSelection).
    void setProfiles(TColorProfiles profiles);
    // The profiles, with the list's selected entry as their selection.
    const TColorProfiles& profiles() const { return profiles_; }

    // Shows the dialog modally, its selectors starting from current, the preview drawn with
    // glyphs (which must outlive the call). Returns the colours to use from now on: those of
    // the selected entry, or the dialog's colours as they are when no entry is selected.
    TWindowColors edit(const TWindowColors& current, const preview::GlyphSets& glyphs);

protected:
    // Reads every caption again when the interface's language changes.
    void changeEvent(QEvent* event) override;
    // Close, the close box and Escape: asks first about colours not yet stored.
    void reject() override;
    // The dialogs of the window, which tests replace to answer them.
    // "More..." of a selector: a colour from the colour dialog, nothing on Cancel.
    virtual std::optional<QColor> chooseColor(const QColor& initial);
    // A profile name from an input box, nothing on Cancel.
    virtual std::optional<QString> askProfileName(const QString& caption, const QString& prompt);
    virtual void showMessage(const QString& text);
    // Whether to store the changed colours: Yes, No, or Cancel to stay.
    virtual QMessageBox::StandardButton askToStore(const QString& question);

private:
    // Reads every caption from the interface texts.
    void retranslate();
    void createControls();
    // Fills the list from the profiles and selects their selection, without handling it.
    void fillList();
    // Enables Update and Delete when a profile (not "(Default)") is selected.
    void updateButtons();
    // Shows the working colours in the selectors and the preview.
    void refresh();
    // Applies the selected entry: the working colours become its colours.
    void listClick();
    void listRowChanged(int row);
    void profileRenamed(QListWidgetItem* item);
    void colorChosen(int corner, const QColor& color);
    void addClick();
    // Asks for a name and adds the working colours as a profile; false when the user cancels.
    bool addProfile();
    void updateClick();
    void deleteClick();
    void randomClick();
    QString profileExistsMessage(const std::string& name) const;
    // Asks about colours changed since the selection was applied or stored, and stores them
    // when the user says so. False when the user cancels (or cancels naming a new profile).
    bool settleChanges();

    TColorProfiles profiles_;
    TWindowColors working_ = preview::DefaultWindowColors;
    const preview::GlyphSets* glyphs_ = nullptr;
    // Set when the user changes a colour, cleared when the colours are stored or replaced.
    bool changed_ = false;

    QLabel* profilesLabel;
    QListWidget* profilesList;
    // Top-left, top-right, bottom-right and bottom-left: clockwise round the preview.
    std::array<TColorSelector*, 4> colorSelectors;
    QLabel* previewImage;
    QPushButton* addButton;
    QPushButton* updateButton;
    QPushButton* deleteButton;
    QPushButton* randomButton;
    QPushButton* closeButton;
};
