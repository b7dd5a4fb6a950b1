#pragma once

#include <functional>
#include <optional>

#include <QObject>
#include <QString>

class TMainMenu;
class TSpellingChoice;
class TTextEditorPane;
struct TEditorPaths;

// Spell checking in the main window: the View menu lists the dictionaries installed in the
// paths' dictionary folders and chooses one, the editor underlines and suggests with the
// chosen one, and a dictionary or word list that cannot be read is shown through the error
// hook.
class TSpellingController : public QObject {
    Q_OBJECT

public:
    // Shows an error: the interface text and its detail (the file and the reason).
    using ErrorHook = std::function<void(const QString& message, const QString& detail)>;

    // menu and editor must outlive the controller.
    TSpellingController(const TEditorPaths& paths, TMainMenu& menu, TTextEditorPane& editor,
                        ErrorHook showError, QObject* parent = nullptr);

    // The chosen dictionary's name, as settings.ini keeps it (the one to load later, while it
    // waits); empty when nothing is checked.
    QString dictionary() const;
    // Checks with the installed dictionary `name`, or with none when it is empty, not
    // installed or unreadable; the menu shows the outcome. A dictionary waiting to be loaded
    // is forgotten.
    void choose(const QString& name);
    // Remembers `name` to be chosen by choosePending: loading a dictionary takes about as long
    // as opening an archive, and need not hold up the window's start.
    void chooseLater(const QString& name);
    // Chooses the dictionary remembered by chooseLater, if one still waits.
    void choosePending();

private:
    TSpellingChoice* choice_;
    std::optional<QString> pending_;
};
