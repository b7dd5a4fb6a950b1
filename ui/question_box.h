#pragma once

#include <QString>
#include <QStringList>

class QMessageBox;

namespace ui {

// Asks a Yes or No question in a message box, with `detail` shown under it when it is not
// empty; No is the default. `captions`, when given, are the Yes and No buttons' captions in
// place of Qt's. The box has no parent, so that it can be answered while a job has the main
// window disabled. Returns true for Yes.
bool AskYesNo(const QString& title, const QString& question, const QString& detail = {},
              const QStringList& captions = {});

// Shows `detail` (a file, a level, a reason) in the box's main text, under its text: the user
// reads why without opening "Show Details...". Only a detail of many lines is cut after its
// first ones there, and given whole behind "Show Details...".
void ShowDetail(QMessageBox& box, const QString& detail);

}  // namespace ui
