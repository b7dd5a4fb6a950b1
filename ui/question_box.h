#pragma once

#include <QString>

// Asks a Yes or No question in a message box, with `detail` behind the box's details button
// when it is not empty; No is the default. The box has no parent, so that it can be answered
// while a job has the main window disabled. Returns true for Yes.
bool AskYesNo(const QString& title, const QString& question, const QString& detail = {});
