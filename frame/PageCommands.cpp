// The result-page commands of the status bar and the page list they share with the chooser.
#include "frame/PageCommands.h"

#include "drawing/PictureBox.h"
#include "frame/frmANZEIGEN.h"
#include "frame/frmMAIN.h"
#include "pages/common/PrintJob.h"
#include "pages/common/ResultPage.h"
#include "platform/errors.h"
#include "platform/fso.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/ui.h"
#include "platform/wordproc.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMetaObject>

#include <algorithm>

namespace vnt {

namespace {

const char *const kPatterns[] = {"mdiESEITE", "mdiSEITE", "mdiPSEITE", "mdiMSEITE"};

// A screen copy belongs in the project's picture folder: a name that would reach into another
// folder, or hold a character no file name can, is no file name here.
bool unsafeInFileName(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20;
}

QString safeFileName(QString name)
{
    for (QChar &c : name)
        if (unsafeInFileName(c))
            c = QLatin1Char('_');
    return name;
}

} // namespace

QString windowName(QMdiSubWindow *sub)
{
    if (!sub)
        return {};
    return sub->widget() ? sub->widget()->objectName() : sub->objectName();
}

QMdiSubWindow *pageFrame(QWidget *page)
{
    return page ? qobject_cast<QMdiSubWindow *>(page->parentWidget()) : nullptr;
}

QList<QWidget *> resultPages(QMdiArea *area)
{
    QList<QWidget *> pages;
    if (!area)
        return pages;
    const QList<QMdiSubWindow *> windows = area->subWindowList(QMdiArea::CreationOrder);
    for (const char *pattern : kPatterns)
        for (QMdiSubWindow *sub : windows)
            if (sub->widget() && windowName(sub).contains(QLatin1String(pattern), Qt::CaseInsensitive))
                pages.append(sub->widget());
    return pages;
}

int currentPageNumber(QMdiArea *area, const QList<QWidget *> &pages)
{
    QMdiSubWindow *current = area ? area->currentSubWindow() : nullptr;
    if (!current)
        return 0;
    const QString name = windowName(current);
    for (int i = 0; i < pages.size(); ++i)
        if (pages[i]->objectName() == name)
            return i + 1;
    return 0;
}

void activatePage(QMdiArea *area, QMdiSubWindow *sub)
{
    if (auto *page = qobject_cast<ResultPage *>(sub->widget())) {
        page->showAsActivePage();
        return;
    }
    sub->showMaximized();
    if (QWidget *w = sub->widget())
        w->show();
    area->setActiveSubWindow(sub);
}

void panelAnzeigen(frmMAIN &main)
{
    // One chooser at a time; pressing the panel again only brings it to the front.
    if (auto *open = main.findChild<frmANZEIGEN *>(QString(), Qt::FindDirectChildrenOnly)) {
        open->show();
        open->raise();
        open->activateWindow();
        return;
    }
    auto *dlg = new frmANZEIGEN(main.mdiArea(), &main);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->Form_Load();
    dlg->show();
    dlg->raise();
    dlg->activateWindow();
}

void panelPrint(frmMAIN &main)
{
    const QList<QWidget *> pages = resultPages(main.mdiArea());
    const int n = int(pages.size());
    const int c = currentPageNumber(main.mdiArea(), pages);
    ui::PrintRequest req;
    req.minPage = 1;
    req.maxPage = n;
    req.fromPage = c;
    req.toPage = c;
    if (!ui::printDialog(req))
        vnt::raise(err::DialogCancelled, QStringLiteral("Cancel was selected."));
    sys::setHourglass(true);
    const int first = req.pageRange ? req.fromPage : req.minPage;
    const int last = req.pageRange ? req.toPage : req.maxPage;
    // The chosen pages make one document, in order: one job on the printer, or one file.
    PrintJob job;
    for (int k = first; k <= last && !job.abandoned(); ++k) {
        // A number the list does not hold (0 when no page was current) prints nothing.
        if (k < 1 || k > n)
            continue;
        QWidget *page = pages[k - 1];
        if (auto *rp = qobject_cast<ResultPage *>(page))
            rp->DRUCKEN(job);
        else if (!QMetaObject::invokeMethod(page, "DRUCKEN"))
            vnt::raise(438, QStringLiteral("Object doesn't support this property or method"));
    }
    job.end();
    sys::setHourglass(false);
    // Without a printer the pages went to a file; the user is told which.
    if (!job.pdfFile().isEmpty()) {
        const QString file = QDir::toNativeSeparators(job.pdfFile());
        ui::MsgBox(main.SPRACHE() == 1 ? QStringLiteral("The printout was saved as a PDF file:\n") + file
                                       : QStringLiteral("Der Ausdruck wurde als PDF-Datei gespeichert:\n") + file,
                   ui::vbOKOnly | ui::vbInformation, main.panelCaption(11));
    }
}

void panelCopy(frmMAIN &main)
{
    FileSystemObject fso;
    QString folder = main.PROJEKTSPFAD() + QLatin1Char('/') + main.panelCaption(2) + QStringLiteral("/JPG");
    if (!fso.FolderExists(folder))
        fso.CreateFolder(folder);
    folder += QLatin1Char('/');
    // Record names may hold what a file name cannot; the name offered can always be saved.
    const QString defaultName = safeFileName(main.panelCaption(6)) + QStringLiteral("-1");
    const QString name = ui::InputBox(QString::fromUtf8("Bitte bestätigen oder ändern Sie den Dateinamen. Vorgabe: ")
                                          + folder + defaultName + QStringLiteral(".bmp"),
                                      QStringLiteral("KOPIE"), defaultName);
    if (name.isEmpty())
        return;
    if (std::any_of(name.cbegin(), name.cend(), unsafeInFileName))
        vnt::raise(52, QStringLiteral("Bad file name or number"));
    sys::setHourglass(true);
    sys::printScreen(main.mainWidget());
    sys::DoEvents();
    const QImage picture = QGuiApplication::clipboard()->image();
    if (picture.isNull())
        vnt::raise(481, QStringLiteral("Invalid picture"));
    const QString file = folder + name + QStringLiteral(".bmp");
    if (!picture.save(file, "BMP"))
        vnt::raise(err::PathNotFound, QStringLiteral("Path/File access error: ") + file);
    sys::DoEvents();
    sys::setHourglass(false);
}

void panelWord(frmMAIN &main)
{
    sys::setHourglass(true);
    WordDocument doc;
    QMdiSubWindow *active = main.mdiArea()->currentSubWindow();
    if (!active || !active->widget())
        vnt::raise(91, QStringLiteral("Object variable not set"));
    QWidget *page = active->widget();
    // Only the figures' boxes count: the page's own surface for header and footer is no
    // figure of the page.
    for (PictureBox *box : page->findChildren<PictureBox *>()) {
        if (!box->objectName().startsWith(QLatin1String("pic")) || !box->isVisibleTo(page))
            continue;
        doc.TypeText(box->objectName());
        doc.TypeParagraph();
        QGuiApplication::clipboard()->clear();
        QGuiApplication::clipboard()->setImage(box->image());
        QImage pasted = QGuiApplication::clipboard()->image();
        if (pasted.isNull())
            pasted = box->image();
        // The clipboard keeps the pixels; the picture keeps the size it had on the page.
        pasted.setDevicePixelRatio(box->image().devicePixelRatio());
        pasted.setDotsPerMeterX(box->image().dotsPerMeterX());
        pasted.setDotsPerMeterY(box->image().dotsPerMeterY());
        doc.PastePicture(pasted);
        doc.TypeParagraph();
    }
    // The document is kept in the documents folder, where the user finds it again.
    const QString file = doc.saveNew(sys::documentsFolder(), QStringLiteral("VANT-") + windowName(active));
    if (file.isEmpty())
        vnt::raise(75, QStringLiteral("Path/File access error: ") + sys::documentsFolder());
    const bool shown = shell::openDocument(file);
    sys::setHourglass(false);
    if (!shown) {
        const QString where = QDir::toNativeSeparators(file);
        ui::MsgBox(main.SPRACHE() == 1
                       ? QStringLiteral("No program on this computer opens the document. It was saved as:\n") + where
                       : QStringLiteral("Kein Programm auf diesem Rechner öffnet das Dokument. Es wurde gespeichert als:\n") + where,
                   ui::vbOKOnly | ui::vbInformation, main.panelCaption(13));
    }
}

void panelSchliessen(frmMAIN &main)
{
    sys::setHourglass(true);
    QMdiArea *area = main.mdiArea();
    const QWidget *start = main.startWindow();
    for (QMdiSubWindow *sub : area->subWindowList(QMdiArea::CreationOrder)) {
        if (sub->widget() == start)
            continue;
        // A page's own Esc ends here, inside its key handling: the window leaves the area at
        // once and is destroyed when that handling has returned.
        sub->hide();
        area->removeSubWindow(sub);
        if (QWidget *w = sub->widget())
            w->close();
        sub->deleteLater();
    }
    main.hideCommandPanels({10, 11, 12, 13, 14, 15});
    for (const char *m : {"mnuDATEI", "mnuEXTRAS"})
        if (QAction *a = main.menuItem(QString::fromLatin1(m)))
            a->setEnabled(true);
    sys::setHourglass(false);
}

} // namespace vnt
