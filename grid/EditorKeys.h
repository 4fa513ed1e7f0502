// The keys both preset grid editors answer alike: the keypad's decimal key, Alt+Q, Esc and F1,
// and their buttons, which leave Enter to the grid.
#pragma once

#include <QString>
#include <functional>

class QEvent;
class QKeyEvent;
class QObject;
class QPushButton;
class QRect;
class QWidget;

namespace vnt {

// The decimal key of the numeric keypad, whichever sign the keyboard layout gives it.
bool isKeypadDecimal(const QKeyEvent *k);

struct EditorKeys {
    QString decimalSign;               // what the keypad's decimal key types in the editor
    std::function<void()> quit;        // Alt+Q
    std::function<void()> escape;      // Esc
    std::function<void()> help;        // F1
};

// Handles a key pressed in `editor` or one of its children; true when the key was taken.
bool filterEditorKey(QWidget *editor, QObject *watched, QEvent *event, const EditorKeys &keys);

// A button of a grid editor. It never answers Enter or Esc: those keys belong to the grid and
// to the editor's own keys.
QPushButton *editorButton(QWidget *parent, const QString &caption, const QString &name, const QRect &geometry);

} // namespace vnt
