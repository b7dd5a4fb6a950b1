#pragma once

#include <QSet>
#include <QString>

class QMenu;
class QMenuBar;
class QWidget;

namespace ui {

// The caption with an '&' before the letter that becomes its keyboard mnemonic: the first
// letter of a word not yet in `used`, else any such letter or digit, else none. Adds the chosen
// character to `used` (in lower case). An '&' in the caption itself is kept as a literal one.
QString WithMnemonic(const QString& caption, QSet<QChar>& used);

// Gives the bar's menus mnemonics distinct within the bar, and the entries of every menu (and
// submenu) mnemonics distinct within their menu, from their current captions; a caption that
// has a mnemonic already gets a new one.
void AssignMnemonics(QMenuBar& bar);
void AssignMnemonics(QMenu& menu);

// Gives a dialog's buttons and check boxes (in the order they were made), then its labels that
// name a buddy, mnemonics distinct within the dialog, from their current captions.
void AssignMnemonics(QWidget& dialog);

}  // namespace ui
