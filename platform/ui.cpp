// The box service: real Qt dialogs for the program, a scripted sink for the tests.
#include "ui.h"
#include "printer.h"
#include "shell.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace vnt::ui {

namespace {

QString &titleOfProgram()
{
    static QString title = QStringLiteral("VANT");
    return title;
}

// The help file of the box being shown; the sink interface carries no such argument.
QString &pendingHelpFile()
{
    static QString file;
    return file;
}

QWidget *dialogParent()
{
    if (QWidget *w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}

QString orTitle(const QString &title)
{
    return title.isEmpty() ? programTitle() : title;
}

// Callers build texts with "\r\n" line breaks, as the stored texts have them; Qt wants "\n".
QString qtLineBreaks(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

struct ButtonSet {
    std::vector<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton escape;   // NoButton: the box cannot be escaped
};

ButtonSet buttonsFor(int style)
{
    switch (style & 7) {
    case vbOKCancel: return {{QMessageBox::Ok, QMessageBox::Cancel}, QMessageBox::Cancel};
    case vbAbortRetryIgnore: return {{QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore}, QMessageBox::NoButton};
    case vbYesNoCancel: return {{QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}, QMessageBox::Cancel};
    case vbYesNo: return {{QMessageBox::Yes, QMessageBox::No}, QMessageBox::NoButton};
    case vbRetryCancel: return {{QMessageBox::Retry, QMessageBox::Cancel}, QMessageBox::Cancel};
    default: return {{QMessageBox::Ok}, QMessageBox::Ok};
    }
}

QMessageBox::Icon iconFor(int style)
{
    switch (style & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

int answerFor(QMessageBox::StandardButton b)
{
    switch (b) {
    case QMessageBox::Ok: return vbOK;
    case QMessageBox::Cancel: return vbCancel;
    case QMessageBox::Abort: return vbAbort;
    case QMessageBox::Retry: return vbRetry;
    case QMessageBox::Ignore: return vbIgnore;
    case QMessageBox::Yes: return vbYes;
    case QMessageBox::No: return vbNo;
    default: return vbCancel;
    }
}

class RealBoxes : public BoxSink {
public:
    int msgBox(const QString &prompt, int style, const QString &title) override
    {
        QMessageBox box(dialogParent());
        box.setObjectName(QStringLiteral("msgbox"));
        box.setWindowTitle(orTitle(title));
        box.setTextFormat(Qt::PlainText);   // texts such as "<leer>" are shown as they stand
        box.setText(qtLineBreaks(prompt));
        box.setIcon(iconFor(style));
        const ButtonSet set = buttonsFor(style);
        std::vector<QPushButton *> buttons;
        for (auto b : set.buttons)
            buttons.push_back(box.addButton(b));
        QPushButton *help = (style & vbMsgBoxHelpButton) ? box.addButton(QMessageBox::Help) : nullptr;
        size_t def = (style & vbDefaultButton3) ? 2 : (style & vbDefaultButton2) ? 1 : 0;
        box.setDefaultButton(buttons[std::min(def, buttons.size() - 1)]);
        if (set.escape != QMessageBox::NoButton)
            box.setEscapeButton(box.button(set.escape));
        else
            box.setEscapeButton(static_cast<QAbstractButton *>(nullptr));
        const QString helpFile = pendingHelpFile();
        for (;;) {
            box.exec();
            QAbstractButton *clicked = box.clickedButton();
            // The help button closes a QMessageBox; the box is shown again so that it stays.
            if (help && clicked == help) {
                if (!helpFile.isEmpty())
                    shell::openDocument(helpFile);
                continue;
            }
            if (!clicked)
                return answerFor(set.escape);
            return answerFor(box.standardButton(clicked));
        }
    }

    QString inputBox(const QString &prompt, const QString &title, const QString &def) override
    {
        QInputDialog dlg(dialogParent());
        dlg.setWindowTitle(orTitle(title));
        dlg.setLabelText(qtLineBreaks(prompt));
        dlg.setTextValue(def);
        if (dlg.exec() != QDialog::Accepted)
            return {};
        return dlg.textValue();
    }

    int showModal(QDialog &dlg) override { return dlg.exec(); }

    bool printDialog(PrintRequest &req, const QString &title) override
    {
        Printer &printer = Printer::instance();
        QPrinter &qp = printer.qprinter();
        printer.nameNextDocument();
        QPrintDialog dlg(&qp, dialogParent());
        dlg.setWindowTitle(orTitle(title));
        QAbstractPrintDialog::PrintDialogOptions options =
            QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCollateCopies
            | QAbstractPrintDialog::PrintShowPageSize;
        // Without a system printer a file is the only place the pages can go.
        if (printer.printsToPdf())
            options |= QAbstractPrintDialog::PrintToFile;
        dlg.setOptions(options);
        const int minPage = std::max(1, req.minPage);
        const int maxPage = std::max(minPage, req.maxPage);
        dlg.setMinMax(minPage, maxPage);
        if (req.fromPage >= minPage && req.fromPage <= req.toPage && req.toPage <= maxPage)
            qp.setFromTo(req.fromPage, req.toPage);
        else
            qp.setFromTo(0, 0);
        dlg.setPrintRange(req.pageRange ? QAbstractPrintDialog::PageRange : QAbstractPrintDialog::AllPages);
        if (dlg.exec() != QDialog::Accepted) {
            printer.forgetNamedDocument();
            return false;
        }
        req.pageRange = dlg.printRange() == QAbstractPrintDialog::PageRange;
        if (req.pageRange) {
            req.fromPage = qp.fromPage();
            req.toPage = qp.toPage();
        }
        req.copies = qp.copyCount();
        return true;
    }

    bool colorDialog(QColor &color, const QString &title) override
    {
        QWidget *parent = dialogParent();
        QColorDialog dlg(color, parent);
        dlg.setWindowTitle(orTitle(title));
        // Over the window that asked for it, from that window's corner: centred on a small
        // dialog near the screen's edge it would be pushed into the screen's corner.
        if (parent) {
            const QRect from = parent->window()->frameGeometry();
            QScreen *screen = parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
            const QRect room = screen ? screen->availableGeometry() : from;
            QRect place(from.topLeft(), dlg.sizeHint());
            place.moveRight(std::min(place.right(), room.right()));
            place.moveBottom(std::min(place.bottom(), room.bottom()));
            place.moveLeft(std::max(place.left(), room.left()));
            place.moveTop(std::max(place.top(), room.top()));
            dlg.move(place.topLeft());
        }
        if (dlg.exec() != QDialog::Accepted || !dlg.selectedColor().isValid())
            return false;
        color = dlg.selectedColor();
        return true;
    }

    bool folderDialog(QString &folder, const QString &title) override
    {
        const QString chosen = QFileDialog::getExistingDirectory(dialogParent(), orTitle(title), folder);
        if (chosen.isEmpty())
            return false;
        folder = chosen;
        return true;
    }
};

BoxSink *&currentSink()
{
    static BoxSink *s = nullptr;
    return s;
}

} // namespace

void setSink(BoxSink *s)
{
    currentSink() = s;
}

BoxSink &sink()
{
    static RealBoxes real;
    BoxSink *s = currentSink();
    return s ? *s : real;
}

int MsgBox(const QString &prompt, int style, const QString &title)
{
    return sink().msgBox(prompt, style, orTitle(title));
}

int MsgBox(const QString &prompt, int style, const QString &title, const QString &helpFile, int /*context*/)
{
    // The desktop's opener cannot jump to a topic; the file is opened at its start.
    const QString previous = pendingHelpFile();
    pendingHelpFile() = helpFile;
    int answer = vbCancel;
    try {
        answer = sink().msgBox(prompt, style | vbMsgBoxHelpButton, orTitle(title));
    } catch (...) {
        pendingHelpFile() = previous;
        throw;
    }
    pendingHelpFile() = previous;
    return answer;
}

QString InputBox(const QString &prompt, const QString &title, const QString &def)
{
    return sink().inputBox(prompt, orTitle(title), def);
}

int showModal(QDialog &dlg)
{
    return sink().showModal(dlg);
}

bool printDialog(PrintRequest &req, const QString &title)
{
    return sink().printDialog(req, title);
}

bool colorDialog(QColor &color, const QString &title)
{
    return sink().colorDialog(color, title);
}

bool folderDialog(QString &folder, const QString &title)
{
    return sink().folderDialog(folder, title);
}

void setProgramTitle(const QString &title)
{
    titleOfProgram() = title;
}

QString programTitle()
{
    return titleOfProgram();
}

// ---- scripting for tests ------------------------------------------------------------

struct ScriptedBoxes::Step {
    QString kind;
    int answer = vbCancel;
    QString text;
    std::function<int(QDialog &)> modal;
    std::function<bool(PrintRequest &)> print;
    std::function<bool(QColor &)> color;
    std::function<bool(QString &)> folder;
};

ScriptedBoxes::ScriptedBoxes()
    : previous_(currentSink())
{
    setSink(this);
}

ScriptedBoxes::~ScriptedBoxes()
{
    // Restore only when this script is still the one installed, so that scripts that end
    // out of order cannot leave a dead sink behind.
    if (currentSink() == this)
        setSink(previous_);
}

ScriptedBoxes::Step &ScriptedBoxes::expect(const QString &kind)
{
    steps_.push_back(std::make_shared<Step>());
    steps_.back()->kind = kind;
    return *steps_.back();
}

ScriptedBoxes &ScriptedBoxes::answer(int msgBoxAnswer)
{
    expect(QStringLiteral("msgbox")).answer = msgBoxAnswer;
    return *this;
}

ScriptedBoxes &ScriptedBoxes::input(const QString &text)
{
    expect(QStringLiteral("input")).text = text;
    return *this;
}

ScriptedBoxes &ScriptedBoxes::modal(std::function<int(QDialog &)> act)
{
    expect(QStringLiteral("modal")).modal = std::move(act);
    return *this;
}

ScriptedBoxes &ScriptedBoxes::print(std::function<bool(PrintRequest &)> act)
{
    expect(QStringLiteral("print")).print = std::move(act);
    return *this;
}

ScriptedBoxes &ScriptedBoxes::color(std::function<bool(QColor &)> act)
{
    expect(QStringLiteral("color")).color = std::move(act);
    return *this;
}

ScriptedBoxes &ScriptedBoxes::folder(std::function<bool(QString &)> act)
{
    expect(QStringLiteral("folder")).folder = std::move(act);
    return *this;
}

int ScriptedBoxes::pending() const
{
    return static_cast<int>(steps_.size() - next_);
}

// Records the box; hands back the expectation for it, or null for a box nobody expected
// (which is then answered as cancelled and left for the test to fail on).
std::shared_ptr<ScriptedBoxes::Step> ScriptedBoxes::take(const QString &kind, const BoxRecord &rec)
{
    records_.push_back(rec);
    if (next_ < steps_.size() && steps_[next_]->kind == kind)
        return steps_[next_++];
    if (onUnexpected) {
        QString what = kind + QStringLiteral(" \"") + rec.title + QStringLiteral("\": ") + rec.text;
        if (next_ < steps_.size())
            what += QStringLiteral(" (expected a ") + steps_[next_]->kind + QStringLiteral(")");
        onUnexpected(what);
    }
    return nullptr;
}

int ScriptedBoxes::msgBox(const QString &prompt, int style, const QString &title)
{
    auto s = take(QStringLiteral("msgbox"), {QStringLiteral("msgbox"), title, prompt, style});
    return s ? s->answer : vbCancel;
}

QString ScriptedBoxes::inputBox(const QString &prompt, const QString &title, const QString &)
{
    auto s = take(QStringLiteral("input"), {QStringLiteral("input"), title, prompt, 0});
    return s ? s->text : QString();
}

int ScriptedBoxes::showModal(QDialog &dlg)
{
    auto s = take(QStringLiteral("modal"), {QStringLiteral("modal"), dlg.windowTitle(), dlg.objectName(), 0});
    const int result = (s && s->modal) ? s->modal(dlg) : int(QDialog::Rejected);
    dlg.setResult(result);
    return result;
}

bool ScriptedBoxes::printDialog(PrintRequest &req, const QString &title)
{
    auto s = take(QStringLiteral("print"), {QStringLiteral("print"), title, QString(), 0});
    return s && s->print && s->print(req);
}

bool ScriptedBoxes::colorDialog(QColor &color, const QString &title)
{
    auto s = take(QStringLiteral("color"), {QStringLiteral("color"), title, QString(), 0});
    return s && s->color && s->color(color);
}

bool ScriptedBoxes::folderDialog(QString &folder, const QString &title)
{
    auto s = take(QStringLiteral("folder"), {QStringLiteral("folder"), title, QString(), 0});
    return s && s->folder && s->folder(folder);
}

CountingBoxes::CountingBoxes() : inner_(sink()) { setSink(this); }
CountingBoxes::~CountingBoxes() { setSink(&inner_); }
int CountingBoxes::msgBox(const QString &p, int s, const QString &t) { ++shown_; return inner_.msgBox(p, s, t); }
QString CountingBoxes::inputBox(const QString &p, const QString &t, const QString &d) { return inner_.inputBox(p, t, d); }
int CountingBoxes::showModal(QDialog &dlg) { return inner_.showModal(dlg); }
bool CountingBoxes::printDialog(PrintRequest &r, const QString &t) { return inner_.printDialog(r, t); }
bool CountingBoxes::colorDialog(QColor &c, const QString &t) { return inner_.colorDialog(c, t); }
bool CountingBoxes::folderDialog(QString &f, const QString &t) { return inner_.folderDialog(f, t); }

int shiftMask(Qt::KeyboardModifiers m)
{
    return ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) | ((m & Qt::AltModifier) ? 4 : 0);
}

} // namespace vnt::ui
