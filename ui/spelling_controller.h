#pragma once

#include <functional>

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

    // The chosen dictionary's name, as settings.ini keeps it; empty when nothing is checked.
    QString dictionary() const;
    // Checks with the installed dictionary `name`, or with none when it is empty, not
    // installed or unreadable; the menu shows the outcome.
    void choose(const QString& name);

private:
    TSpellingChoice* choice_;
};
