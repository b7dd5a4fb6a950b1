#pragma once

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QLabel>
#include <QString>
#include <QStringList>
#include <QWidget>

// The mnemonic of a caption, in lower case; a null character when it has none.
inline QChar Mnemonic(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') continue;
        if (caption[i + 1] != u'&') return caption[i + 1].toLower();
        ++i;
    }
    return {};
}

// What is wrong with a dialog's mnemonics: a captioned button or a labelled field without one,
// or two alike; empty when nothing is. Buttons that show only an icon have no caption to mark,
// and those of a button box are Qt's own, captioned by Qt and reached by Enter and Escape.
inline QString MnemonicFault(const QWidget& dialog) {
    QStringList captions;
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (!button->text().isEmpty() &&
            qobject_cast<const QDialogButtonBox*>(button->parent()) == nullptr) {
            captions << button->text();
        }
    }
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->buddy() != nullptr) captions << label->text();
    }
    QString seen;
    for (const QString& caption : captions) {
        const QChar mnemonic = Mnemonic(caption);
        if (mnemonic.isNull() || seen.contains(mnemonic)) return caption;
        seen += mnemonic;
    }
    return {};
}
