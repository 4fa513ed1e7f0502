// One print command's document on the printer or a PDF file.
#include "pages/common/PrintJob.h"

#include "drawing/Surface.h"
#include "platform/errors.h"
#include "platform/printer.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

namespace vnt {

PrintJob::PrintJob() = default;

PrintJob::PrintJob(std::shared_ptr<Surface> target) : sheet_(std::move(target)), external_(true)
{
    paper_ = dynamic_cast<PrinterSurface *>(sheet_.get());
}

PrintJob::~PrintJob() { end(); }

std::shared_ptr<Surface> PrintJob::newSheet()
{
    if (ended_ || abandoned_)
        return nullptr;
    if (!external_) {
        if (!printer_)
            printer_ = &Printer::instance().qprinter();
        // Every surface measures in millimetres, so the unit needs no switch of its own.
        printer_->setPageSize(QPageSize(QPageSize::A4));
        printer_->setPageOrientation(QPageLayout::Landscape);
        if (!sheet_) {
            auto paper = std::make_shared<PrinterSurface>(*printer_);
            paper_ = paper.get();
            sheet_ = std::move(paper);
        }
    }
    if (paper_) {
        if (sheets_ == 0 && printer_)
            Printer::instance().StartDoc();
        // A sheet is a page of the document even when nothing gets drawn on it.
        if (!paper_->begin()) {
            const QString where = printer_ && printer_->outputFormat() == QPrinter::PdfFormat
                                      ? printer_->outputFileName()
                                      : QStringLiteral("printer");
            vnt::raise(err::PathNotFound, QStringLiteral("Path/File access error: ") + where);
        }
        if (sheets_ > 0)
            paper_->newPage();
    }
    ++sheets_;
    return sheet_;
}

void PrintJob::end()
{
    if (ended_ || abandoned_)
        return;
    ended_ = true;
    if (paper_)
        paper_->endDoc();
    if (!printer_)
        return;
    if (sheets_ > 0 && printer_->outputFormat() == QPrinter::PdfFormat && QFileInfo(printer_->outputFileName()).isFile())
        pdfFile_ = printer_->outputFileName();
    // A file the program named itself takes one document; the next gets a name of its own.
    Printer::instance().EndDoc();
}

void PrintJob::abandon()
{
    if (ended_ || abandoned_)
        return;
    abandoned_ = true;
    if (!printer_) {
        if (paper_)
            paper_->endDoc();
        return;
    }
    const bool begun = printer_->paintingActive();
    const bool toFile = printer_->outputFormat() == QPrinter::PdfFormat;
    const QString file = printer_->outputFileName();
    if (begun && !toFile)
        printer_->abort();
    if (paper_)
        paper_->endDoc();
    // A file that was begun is removed rather than left half-written.
    if (begun && toFile && !file.isEmpty())
        QFile::remove(file);
    Printer::instance().EndDoc();
}

} // namespace vnt
