#include "grid/EditorKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

namespace vnt {

bool isKeypadDecimal(const QKeyEvent *k)
{
    return (k->modifiers() & Qt::KeypadModifier)
           && (k->key() == Qt::Key_Period || k->key() == Qt::Key_Comma || k->text() == QLatin1String(".")
               || k->text() == QLatin1String(","));
}

bool filterEditorKey(QWidget *editor, QObject *watched, QEvent *event, const EditorKeys &keys)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *w = static_cast<QWidget *>(watched);
    if (w != editor && !editor->isAncestorOf(w))
        return false;
    auto *k = static_cast<QKeyEvent *>(event);

    if (isKeypadDecimal(k)) {
        if (k->text() == keys.decimalSign)
            return false;
        const Qt::Key key = keys.decimalSign == QLatin1String(",") ? Qt::Key_Comma : Qt::Key_Period;
        QKeyEvent typed(QEvent::KeyPress, key, Qt::NoModifier, keys.decimalSign);
        QApplication::sendEvent(w, &typed);
        return true;
    }
    const std::function<void()> *action = nullptr;
    if (k->key() == Qt::Key_Q && (k->modifiers() & Qt::AltModifier))
        action = &keys.quit;
    else if (k->key() == Qt::Key_Escape)
        action = &keys.escape;
    else if (k->key() == Qt::Key_F1)
        action = &keys.help;
    if (!action)
        return false;
    if (*action)
        (*action)();
    return true;
}

QPushButton *editorButton(QWidget *parent, const QString &caption, const QString &name, const QRect &geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace vnt
