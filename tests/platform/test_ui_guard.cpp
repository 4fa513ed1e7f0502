// The box service (scripted and real) and the error guard built on it.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include "common/TestSupport.h"
#include "platform/Guard.h"
#include "platform/errors.h"
#include "platform/printer.h"
#include "platform/shell.h"
#include "platform/ui.h"

using namespace vnt;
using namespace vnt::ui;

// ---- scripted boxes --------------------------------------------------------------------

TEST(ScriptedBoxes, AnswersInOrderAndRecordsWhatWasShown)
{
    ScriptedBoxes boxes;
    boxes.answer(vbYes).input("Bericht").answer(vbNo);
    EXPECT_EQ(MsgBox("Speichern?", vbYesNoCancel + vbQuestion, "&Beenden"), vbYes);
    EXPECT_EQ(InputBox("Dateiname:", "KOPIE", "P1-1"), "Bericht");
    EXPECT_EQ(MsgBox("Noch einmal?", vbYesNo), vbNo);
    EXPECT_EQ(boxes.pending(), 0);
    ASSERT_EQ(boxes.records().size(), 3u);
    EXPECT_EQ(boxes.records()[0].kind, "msgbox");
    EXPECT_EQ(boxes.records()[0].title, "&Beenden");
    EXPECT_EQ(boxes.records()[0].text, "Speichern?");
    EXPECT_EQ(boxes.records()[0].style, vbYesNoCancel + vbQuestion);
    EXPECT_EQ(boxes.records()[1].kind, "input");
    EXPECT_EQ(boxes.records()[1].title, "KOPIE");
    EXPECT_EQ(boxes.records()[2].title, programTitle());   // a box without a title of its own
}

TEST(ScriptedBoxes, UnexpectedBoxIsReportedAndCancelled)
{
    QStringList unexpected;
    ScriptedBoxes boxes;
    boxes.onUnexpected = [&](const QString &what) { unexpected << what; };
    boxes.input("x");
    // A message box where an input box was expected: reported, cancelled, expectation kept.
    EXPECT_EQ(MsgBox("Fehler", vbOKCancel, "Titel"), vbCancel);
    ASSERT_EQ(unexpected.size(), 1);
    EXPECT_TRUE(unexpected[0].contains("Fehler"));
    EXPECT_TRUE(unexpected[0].contains("input"));
    EXPECT_EQ(boxes.pending(), 1);
    EXPECT_EQ(InputBox("Name"), "x");
    // Nothing left to answer: every kind falls back to its cancelled answer.
    QString folder = "/tmp";
    QColor color = Qt::red;
    PrintRequest req;
    QDialog dlg;
    EXPECT_EQ(InputBox("Name"), "");
    EXPECT_FALSE(folderDialog(folder));
    EXPECT_FALSE(colorDialog(color));
    EXPECT_FALSE(printDialog(req));
    EXPECT_EQ(showModal(dlg), QDialog::Rejected);
    EXPECT_EQ(unexpected.size(), 6);
    EXPECT_EQ(folder, "/tmp");
    EXPECT_EQ(color, QColor(Qt::red));
}

TEST(ScriptedBoxes, CommonDialogsAndModalWindows)
{
    test::Boxes boxes;
    boxes.print([](PrintRequest &r) { EXPECT_EQ(r.maxPage, 6); r.pageRange = true; r.fromPage = 2; r.toPage = 3; return true; })
        .color([](QColor &c) { c = Qt::blue; return true; })
        .folder([](QString &f) { f = "/daten/projekte"; return true; })
        .modal([](QDialog &d) { EXPECT_EQ(d.objectName(), "frmAUSWAHL"); return int(QDialog::Accepted); });
    PrintRequest req;
    req.maxPage = 6;
    ASSERT_TRUE(printDialog(req, "Drucken"));
    EXPECT_TRUE(req.pageRange);
    EXPECT_EQ(req.toPage, 3);
    QColor c;
    ASSERT_TRUE(colorDialog(c));
    EXPECT_EQ(c, QColor(Qt::blue));
    QString folder;
    ASSERT_TRUE(folderDialog(folder));
    EXPECT_EQ(folder, "/daten/projekte");
    QDialog dlg;
    dlg.setObjectName("frmAUSWAHL");
    EXPECT_EQ(showModal(dlg), QDialog::Accepted);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST(ScriptedBoxes, RestoresThePreviousSink)
{
    ScriptedBoxes outer;
    outer.answer(vbNo);
    {
        ScriptedBoxes inner;
        inner.answer(vbYes);
        EXPECT_EQ(MsgBox("a"), vbYes);
    }
    EXPECT_EQ(MsgBox("b"), vbNo);
}

// ---- the real message box ----------------------------------------------------------------

namespace {

// Shows a real box, looks at it once it is up, and presses one of its buttons.
struct ShownBox {
    QList<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

int showAndPress(const QString &prompt, int style, const QString &title, QMessageBox::StandardButton press, ShownBox &seen)
{
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box shown";
            return;
        }
        for (QAbstractButton *b : box->buttons())
            seen.buttons << box->standardButton(b);
        seen.defaultButton = box->standardButton(box->defaultButton());
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        box->button(press)->click();
    });
    return MsgBox(prompt, style, title);
}

} // namespace

TEST(RealMessageBox, ButtonsIconDefaultAndAnswers)
{
    struct {
        int style;
        QMessageBox::StandardButton press;
        int answer;
        int buttonCount;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton defaultButton;
    } cases[] = {
        {vbOKOnly, QMessageBox::Ok, vbOK, 1, QMessageBox::NoIcon, QMessageBox::Ok},
        {vbOKCancel + vbExclamation, QMessageBox::Cancel, vbCancel, 2, QMessageBox::Warning, QMessageBox::Ok},
        {vbYesNoCancel + vbQuestion, QMessageBox::No, vbNo, 3, QMessageBox::Question, QMessageBox::Yes},
        {vbYesNo + vbQuestion + vbDefaultButton2, QMessageBox::Yes, vbYes, 2, QMessageBox::Question, QMessageBox::No},
        {vbAbortRetryIgnore + vbCritical + vbDefaultButton3, QMessageBox::Ignore, vbIgnore, 3, QMessageBox::Critical, QMessageBox::Ignore},
        {vbRetryCancel + vbInformation, QMessageBox::Retry, vbRetry, 2, QMessageBox::Information, QMessageBox::Retry},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.style);
        ShownBox seen;
        EXPECT_EQ(showAndPress("Frage", c.style, "Titel", c.press, seen), c.answer);
        EXPECT_EQ(seen.buttons.size(), c.buttonCount);
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.defaultButton, c.defaultButton);
    }
}

TEST(RealMessageBox, PlainTextLineBreaksAndProgramTitle)
{
    ShownBox seen;
    showAndPress("Liste: <leer>\r\nZeile 2", vbOKOnly, QString(), QMessageBox::Ok, seen);
    EXPECT_EQ(seen.text, "Liste: <leer>\nZeile 2");
    EXPECT_EQ(seen.title, programTitle());
}

TEST(RealMessageBox, HelpButtonOpensTheHelpAndTheBoxStays)
{
    QStringList opened;
    vnt::shell::setOpener([&](const QString &p) { opened << p; return true; });
    int shown = 0;
    std::function<void()> press = [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box shown";
            return;
        }
        ++shown;
        if (shown == 1) {
            box->button(QMessageBox::Help)->click();
            QTimer::singleShot(0, press);   // the box must come back for the real answer
        } else {
            box->button(QMessageBox::Yes)->click();
        }
    };
    QTimer::singleShot(0, press);
    EXPECT_EQ(MsgBox("Datenbank hat 12,5 MB erreicht!", vbYesNo + vbQuestion, "&Speichern", "/opt/vant/VANT.hlp", 34), vbYes);
    vnt::shell::setOpener({});
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(opened, QStringList({"/opt/vant/VANT.hlp"}));

    // A scripted box sees the help button in the style.
    test::Boxes boxes;
    boxes.answer(vbNo);
    MsgBox("x", vbYesNo, "t", "/opt/vant/VANT.hlp", 34);
    EXPECT_EQ(boxes.records()[0].style, vbYesNo + vbMsgBoxHelpButton);
}

TEST(RealPrintDialog, HandsBackTheChosenRange)
{
    QTemporaryDir tmp;
    Printer::instance().reset();
    Printer::instance().setPdfFile(tmp.path() + "/x.pdf");
    struct {
        PrintRequest in;
        bool chooseRange;
        int from, to;
    } cases[] = {
        {{0, 0, 1, 3, false, 1}, false, 0, 0},    // the active window is no page: nothing preselected
        {{2, 2, 1, 6, false, 1}, true, 2, 5},
        {{1, 1, 1, 0, false, 1}, false, 1, 1},    // no page loaded at all
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.in.maxPage);
        QTimer::singleShot(0, [&] {
            auto *dlg = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
            if (!dlg) {
                ADD_FAILURE() << "no print dialog shown";
                return;
            }
            if (c.chooseRange) {
                // What the user does: tick "Pages" and type the range.
                auto *range = dlg->findChild<QRadioButton *>("printRange");
                auto *from = dlg->findChild<QSpinBox *>("from");
                auto *to = dlg->findChild<QSpinBox *>("to");
                if (!range || !from || !to) {
                    ADD_FAILURE() << "the print dialog has no page range fields";
                    dlg->reject();
                    return;
                }
                range->click();
                to->setValue(c.to);
                from->setValue(c.from);
            }
            dlg->accept();
        });
        PrintRequest req = c.in;
        ASSERT_TRUE(printDialog(req, "Drucken"));
        EXPECT_EQ(req.pageRange, c.chooseRange);
        if (c.chooseRange) {
            EXPECT_EQ(req.fromPage, c.from);
            EXPECT_EQ(req.toPage, c.to);
        }
    }
    Printer::instance().setPdfFile(QString());
    Printer::instance().reset();
}

// ---- the error guard ---------------------------------------------------------------------

TEST(Guard, OkGoesOnWithTheNextStep)
{
    test::Boxes boxes;
    boxes.answer(vbOK);
    QStringList done;
    Guard g("VB-Error: ", "&Speichern");
    EXPECT_TRUE(g.step([&] { done << "1"; }));
    EXPECT_TRUE(g.step([&] { raise(53, "File not found"); done << "never"; }));
    EXPECT_TRUE(g.step([&] { done << "3"; }));
    g.always([&] { done << "close"; });
    EXPECT_EQ(done, QStringList({"1", "3", "close"}));
    EXPECT_TRUE(g.failed());
    EXPECT_FALSE(g.left());
    EXPECT_EQ(g.lastError(), 53);
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].text, "VB-Error: 53\nFile not found");
    EXPECT_EQ(boxes.records()[0].title, "&Speichern");
    EXPECT_EQ(boxes.records()[0].style, vbOKCancel + vbExclamation);
}

TEST(Guard, CancelSkipsTheRestButRunsTheClosingSteps)
{
    test::Boxes boxes;
    boxes.answer(vbCancel);
    QStringList done;
    Guard g("VB-Fehler:", "BILD11");
    EXPECT_FALSE(g.step([&] { raise(11, "Division by zero"); }));
    EXPECT_FALSE(g.step([&] { done << "skipped"; }));
    g.always([&] { raise(91, "closing step fails"); });   // swallowed
    g.always([&] { done << "close"; });
    EXPECT_EQ(done, QStringList({"close"}));
    EXPECT_TRUE(g.left());
    EXPECT_EQ(boxes.records()[0].text, "VB-Fehler:11\nDivision by zero");
}

TEST(Guard, SilentErrorsLeaveWithoutABox)
{
    test::Boxes boxes;   // no box expected
    QStringList done;
    Guard g("VB-Error: ", "Drucken");
    g.silent({380, 32755});
    EXPECT_FALSE(g.step([&] { raise(32755, "Cancel was selected."); }));
    EXPECT_FALSE(g.step([&] { done << "skipped"; }));
    g.always([&] { done << "close"; });
    EXPECT_EQ(done, QStringList({"close"}));
    EXPECT_TRUE(g.left());
    EXPECT_EQ(g.lastError(), 32755);
}

TEST(Guard, OtherExceptionsAndReportedErrorsGetTheBoxToo)
{
    test::Boxes boxes;
    boxes.answer(vbOK).answer(vbCancel);
    Guard g("VB-Fehler: ", "Eingabe");
    EXPECT_TRUE(g.step([] { throw std::runtime_error("kaputt"); }));
    EXPECT_EQ(boxes.records()[0].text, "VB-Fehler: 51\nkaputt");
    EXPECT_FALSE(g.report(3021, "No current record"));
    EXPECT_TRUE(g.left());
    EXPECT_FALSE(g.step([] { ADD_FAILURE() << "ran after Cancel"; }));
    // An empty title falls back to the program title, as every untitled box does.
    Guard untitled("VB-Error: ", QString());
    boxes.answer(vbOK);
    untitled.report(5, "x");
    EXPECT_EQ(boxes.records().back().title, programTitle());
}
