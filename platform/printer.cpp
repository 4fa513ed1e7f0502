// The one printer of the program: the system's default printer, or a PDF file when the
// machine has none or a file is named for it.
#include "printer.h"
#include "system.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <utility>

namespace vnt {

namespace {

QString pdfFromEnvironment()
{
    return qEnvironmentVariable("VANTREL_PRINT_PDF");
}

} // namespace

Printer &Printer::instance()
{
    // Never destroyed: a printer torn down after the application object is gone can crash.
    static Printer *printer = new Printer;
    return *printer;
}

QPrinter &Printer::qprinter()
{
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageSize(QPageSize(QPageSize::A4));
        printer_->setPageOrientation(QPageLayout::Landscape);
        printer_->setFullPage(false);
        aimAtPdf();
    }
    return *printer_;
}

bool Printer::printsToPdf() const
{
    return !pdf_.isEmpty() || !pdfFromEnvironment().isEmpty() || QPrinterInfo::availablePrinters().isEmpty();
}

QString Printer::pdfFile() const
{
    if (!pdf_.isEmpty())
        return pdf_;
    const QString env = pdfFromEnvironment();
    if (!env.isEmpty())
        return env;
    return autoPdf_.isEmpty() ? nextAutoPdf() : autoPdf_;
}

void Printer::setPdfFile(const QString &path)
{
    pdf_ = path;
    if (printer_)
        aimAtPdf();
}

void Printer::reset()
{
    printer_.reset();
    autoPdf_.clear();
    autoPdfShown_ = false;
}

void Printer::nameNextDocument()
{
    qprinter();
    if (autoPdf_.isEmpty() || printer_->paintingActive() || printer_->outputFormat() != QPrinter::PdfFormat
        || printer_->outputFileName() != autoPdf_)
        return;
    autoPdf_ = nextAutoPdf();
    printer_->setOutputFileName(autoPdf_);
    autoPdfShown_ = true;
}

void Printer::forgetNamedDocument()
{
    autoPdfShown_ = false;
}

void Printer::StartDoc()
{
    if (!printer_ || printer_->paintingActive())
        return;
    // Named now rather than when the previous document ended, so that the name tells when
    // this one was printed; a file the user chose in the print dialog keeps its name, and so
    // does the one the dialog showed, unless another document has taken it meanwhile.
    const bool shown = std::exchange(autoPdfShown_, false);
    if (shown && !QFileInfo::exists(autoPdf_))
        return;
    if (!autoPdf_.isEmpty() && printer_->outputFormat() == QPrinter::PdfFormat
        && printer_->outputFileName() == autoPdf_) {
        autoPdf_ = nextAutoPdf();
        printer_->setOutputFileName(autoPdf_);
    }
}

void Printer::EndDoc()
{
    autoPdfShown_ = false;
    if (!printer_)
        return;
    if (printer_->paintingActive()) {
        if (QPaintEngine *engine = printer_->paintEngine()) {
            if (QPainter *painter = engine->painter())
                painter->end();
        }
    }
    // A file chosen by the program is used for one document only; the next one gets its own
    // rather than overwriting the pages just printed, even when it is begun without StartDoc.
    if (!autoPdf_.isEmpty() && printer_->outputFormat() == QPrinter::PdfFormat
        && printer_->outputFileName() == autoPdf_) {
        autoPdf_ = nextAutoPdf();
        printer_->setOutputFileName(autoPdf_);
    }
}

void Printer::setClock(std::function<QDateTime()> now)
{
    now_ = std::move(now);
}

void Printer::aimAtPdf()
{
    if (!printsToPdf()) {
        if (printer_->outputFormat() == QPrinter::PdfFormat)
            printer_->setOutputFileName(QString());   // back to the system printer
        return;
    }
    QString file = pdf_.isEmpty() ? pdfFromEnvironment() : pdf_;
    if (file.isEmpty()) {
        if (autoPdf_.isEmpty())
            autoPdf_ = nextAutoPdf();
        file = autoPdf_;
    }
    QDir().mkpath(QFileInfo(file).absolutePath());
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(file);
}

QString Printer::nextAutoPdf() const
{
    const QString stem = sys::documentsFolder() + QStringLiteral("/VANT-Ausdruck-")
        + (now_ ? now_() : QDateTime::currentDateTime()).toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString file = stem + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(file); ++n)
        file = stem + QLatin1Char('-') + QString::number(n) + QStringLiteral(".pdf");
    return file;
}

} // namespace vnt
