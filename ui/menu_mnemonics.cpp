#include "ui/menu_mnemonics.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace ui {

namespace {

// The caption as the user reads it: single '&' marks removed, "&&" back to "&".
QString Bare(const QString& text) {
    QString bare;
    bare.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        bare += text[i];
    }
    return bare;
}

void Assign(QAction& action, QSet<QChar>& used) {
    action.setText(WithMnemonic(Bare(action.text()), used));
}

}  // namespace

QString WithMnemonic(const QString& caption, QSet<QChar>& used) {
    qsizetype chosen = -1;
    const auto free = [&](qsizetype i) {
        return caption[i].isLetterOrNumber() && !used.contains(caption[i].toLower());
    };
    for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i) {
        const bool wordStart = i == 0 || !caption[i - 1].isLetterOrNumber();
        if (wordStart && free(i)) chosen = i;
    }
    for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i) {
        if (free(i)) chosen = i;
    }
    QString result;
    result.reserve(caption.size() + 1);
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (i == chosen) result += u'&';
        result += caption[i];
        if (caption[i] == u'&') result += u'&';
    }
    if (chosen >= 0) used.insert(caption[chosen].toLower());
    return result;
}

void AssignMnemonics(QMenu& menu) {
    QSet<QChar> used;
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) continue;
        Assign(*action, used);
        if (QMenu* submenu = action->menu()) AssignMnemonics(*submenu);
    }
}

void AssignMnemonics(QMenuBar& bar) {
    QSet<QChar> used;
    for (QAction* action : bar.actions()) {
        Assign(*action, used);
        if (QMenu* menu = action->menu()) AssignMnemonics(*menu);
    }
}

void AssignMnemonics(QWidget& dialog) {
    QSet<QChar> used;
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        button->setText(WithMnemonic(Bare(button->text()), used));
    }
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->buddy() != nullptr) label->setText(WithMnemonic(Bare(label->text()), used));
    }
}

}  // namespace ui
