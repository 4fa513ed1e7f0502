// Every message box, input box, common dialog and modal window goes through here.
// The program plugs in real Qt dialogs; a test plugs in a script that answers each box
// in turn, records what was shown and fails on a box it did not expect.
#pragma once

#include <QColor>
#include <Qt>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QDialog;
class QWidget;

namespace vnt::ui {

// Button and icon bits as the program combines them (vbOKCancel + vbExclamation ...).
enum Style : int {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
    vbDefaultButton2 = 256, vbDefaultButton3 = 512,
    vbMsgBoxHelpButton = 16384,   // a Help button that opens the help file and leaves the box open
};
// Answers.
enum Answer : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

struct PrintRequest {          // the print common dialog
    int fromPage = 1, toPage = 1, minPage = 1, maxPage = 1;
    bool pageRange = false;    // the user chose a range rather than all pages
    int copies = 1;
};

class BoxSink {
public:
    virtual ~BoxSink() = default;
    virtual int msgBox(const QString &prompt, int style, const QString &title) = 0;
    // Returns "" when cancelled; callers take an empty answer as "no input".
    virtual QString inputBox(const QString &prompt, const QString &title, const QString &def) = 0;
    // Shows a modal window; returns QDialog's result code.
    virtual int showModal(QDialog &dlg) = 0;
    // Common dialogs; false = cancelled.
    virtual bool printDialog(PrintRequest &req, const QString &title) = 0;
    virtual bool colorDialog(QColor &color, const QString &title) = 0;
    virtual bool folderDialog(QString &folder, const QString &title) = 0;
};

void setSink(BoxSink *sink);    // nullptr restores the real dialogs
BoxSink &sink();

// The program's calls.
int MsgBox(const QString &prompt, int style = vbOKOnly, const QString &title = QString());
// A box with a Help button (vbMsgBoxHelpButton is added): the button opens helpFile with the
// desktop's opener while the box stays open. context is the topic the caller would like shown.
int MsgBox(const QString &prompt, int style, const QString &title, const QString &helpFile, int context);
QString InputBox(const QString &prompt, const QString &title = QString(), const QString &def = QString());
int showModal(QDialog &dlg);
bool printDialog(PrintRequest &req, const QString &title = QString());
bool colorDialog(QColor &color, const QString &title = QString());
bool folderDialog(QString &folder, const QString &title = QString());

// Default title for boxes that carry none: the program title.
void setProgramTitle(const QString &title);
QString programTitle();

// ---- scripting for tests ------------------------------------------------------------
struct BoxRecord {
    QString kind;     // "msgbox", "input", "modal", "print", "color", "folder"
    QString title;
    QString text;     // prompt, or the dialog's objectName for "modal"
    int style = 0;
};

// Answers boxes in the order they were expected. A box with no expectation left, or one
// whose kind does not match, calls onUnexpected (tests make it a test failure) and answers
// Cancel. Installs itself on construction and restores the previous sink on destruction.
class ScriptedBoxes : public BoxSink {
public:
    ScriptedBoxes();
    ~ScriptedBoxes() override;

    ScriptedBoxes &answer(int msgBoxAnswer);                 // next message box
    ScriptedBoxes &input(const QString &text);               // next input box
    ScriptedBoxes &modal(std::function<int(QDialog &)> act); // next modal window
    ScriptedBoxes &print(std::function<bool(PrintRequest &)> act);
    ScriptedBoxes &color(std::function<bool(QColor &)> act);
    ScriptedBoxes &folder(std::function<bool(QString &)> act);

    const std::vector<BoxRecord> &records() const { return records_; }
    int pending() const;                                     // expectations not yet used
    std::function<void(const QString &)> onUnexpected;

    int msgBox(const QString &prompt, int style, const QString &title) override;
    QString inputBox(const QString &prompt, const QString &title, const QString &def) override;
    int showModal(QDialog &dlg) override;
    bool printDialog(PrintRequest &req, const QString &title) override;
    bool colorDialog(QColor &color, const QString &title) override;
    bool folderDialog(QString &folder, const QString &title) override;

private:
    struct Step;
    std::vector<std::shared_ptr<Step>> steps_;
    size_t next_ = 0;
    std::vector<BoxRecord> records_;
    BoxSink *previous_ = nullptr;
    Step &expect(const QString &kind);   // appends an expectation of that kind
    std::shared_ptr<Step> take(const QString &kind, const BoxRecord &rec);
};

// Counts the message boxes shown while it is installed and passes every box on: a save that
// raised any box did not write everything. Restores the previous sink on destruction.
class CountingBoxes : public BoxSink {
public:
    CountingBoxes();
    ~CountingBoxes() override;
    int shown() const { return shown_; }

    int msgBox(const QString &prompt, int style, const QString &title) override;
    QString inputBox(const QString &prompt, const QString &title, const QString &def) override;
    int showModal(QDialog &dlg) override;
    bool printDialog(PrintRequest &req, const QString &title) override;
    bool colorDialog(QColor &color, const QString &title) override;
    bool folderDialog(QString &folder, const QString &title) override;

private:
    BoxSink &inner_;
    int shown_ = 0;
};

// The Shift argument of key and mouse events as the program numbers it: 1 Shift, 2 Ctrl, 4 Alt.
int shiftMask(Qt::KeyboardModifiers modifiers);

} // namespace vnt::ui
