#pragma once

#include <functional>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextCursor>
#include <QTimer>
#include <QtTest>

// Opens the editor's context menu at a character position, hands it to `use` and closes it.
inline void UseContextMenu(QPlainTextEdit& editor, int position,
                           const std::function<void(QMenu&)>& use) {
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(position);
    const QPoint at = editor.cursorRect(cursor).center();
    bool used = false;
    QTimer::singleShot(0, &editor, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        used = true;
        use(*menu);
        // Closed also when a check in `use` failed, which would otherwise wait for the user.
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, editor.viewport()->mapToGlobal(at));
    QApplication::sendEvent(editor.viewport(), &event);
    QVERIFY(used);
}

// The captions of a menu's entries, "-" for a separator.
inline QStringList ActionTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* item : menu.actions())
        texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
    return texts;
}
