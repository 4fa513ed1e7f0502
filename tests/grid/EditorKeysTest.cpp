// The keys both preset editors share: which the filter takes, what the keypad's decimal key
// types, and that keys of widgets outside the editor pass through.
#include "grid/EditorKeys.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

using namespace vnt;

namespace {

struct Editor {
    QWidget window;
    QLineEdit *field = new QLineEdit;
    QStringList called;
    EditorKeys keys;

    explicit Editor(const QString &sign)
    {
        (new QVBoxLayout(&window))->addWidget(field);
        keys.decimalSign = sign;
        keys.quit = [this] { called << QStringLiteral("quit"); };
        keys.escape = [this] { called << QStringLiteral("escape"); };
        keys.help = [this] { called << QStringLiteral("help"); };
    }
    bool press(QObject *to, int key, Qt::KeyboardModifiers mods, const QString &text = QString())
    {
        QKeyEvent e(QEvent::KeyPress, key, mods, text);
        return filterEditorKey(&window, to, &e, keys);
    }
};

} // namespace

TEST(EditorKeys, KeypadDecimalIsTypedAsTheEditorsSign)
{
    struct Case {
        const char *sign;
        int key;
        const char *text;
        bool taken;
        const char *typed;
    };
    const Case cases[] = {
        {".", Qt::Key_Comma, ",", true, "."},    // a comma keypad in an editor of points
        {".", Qt::Key_Period, ".", false, ""},   // already the right sign: the field types it itself
        {",", Qt::Key_Period, ".", true, ","},
        {",", Qt::Key_Comma, ",", false, ""},
    };
    for (const Case &c : cases) {
        Editor ed{QString::fromLatin1(c.sign)};
        EXPECT_EQ(ed.press(ed.field, c.key, Qt::KeypadModifier, QString::fromLatin1(c.text)), c.taken) << c.sign << c.text;
        EXPECT_EQ(ed.field->text(), QString::fromLatin1(c.typed)) << c.sign << c.text;
    }
    // The main keyboard's comma is a comma, whatever the editor's sign.
    Editor ed{QStringLiteral(".")};
    EXPECT_FALSE(ed.press(ed.field, Qt::Key_Comma, Qt::NoModifier, QStringLiteral(",")));
    EXPECT_EQ(ed.field->text(), QString());
}

TEST(EditorKeys, WindowKeysRunTheirActionsOnlyInsideTheEditor)
{
    Editor ed{QStringLiteral(".")};
    EXPECT_TRUE(ed.press(ed.field, Qt::Key_Q, Qt::AltModifier, QStringLiteral("q")));
    EXPECT_TRUE(ed.press(ed.field, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_TRUE(ed.press(&ed.window, Qt::Key_F1, Qt::NoModifier));
    EXPECT_FALSE(ed.press(ed.field, Qt::Key_Q, Qt::NoModifier, QStringLiteral("q")));
    EXPECT_EQ(ed.called, QStringList({"quit", "escape", "help"}));

    QLineEdit elsewhere;
    EXPECT_FALSE(ed.press(&elsewhere, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_FALSE(ed.press(&elsewhere, Qt::Key_Comma, Qt::KeypadModifier, QStringLiteral(",")));
    EXPECT_EQ(ed.called.size(), 3);

    // An editor without a help action still takes F1, so the key reaches nothing behind it.
    ed.keys.help = nullptr;
    EXPECT_TRUE(ed.press(ed.field, Qt::Key_F1, Qt::NoModifier));
}

TEST(EditorKeys, ButtonsLeaveEnterToTheGrid)
{
    QDialog dialog;
    QPushButton *ok = editorButton(&dialog, QStringLiteral("OK"), QStringLiteral("cmdOK"), QRect(10, 20, 80, 24));
    EXPECT_EQ(ok->parentWidget(), &dialog);
    EXPECT_EQ(ok->objectName(), QStringLiteral("cmdOK"));
    EXPECT_EQ(ok->geometry(), QRect(10, 20, 80, 24));
    // A dialog makes a push button its default, answering Enter, unless told otherwise.
    EXPECT_FALSE(ok->autoDefault());
    EXPECT_FALSE(ok->isDefault());
}
