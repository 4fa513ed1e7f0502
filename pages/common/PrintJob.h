// One print command's document. Every result page printed while the job is open adds its
// sheet to it, in the order the pages are printed, so that a range of pages reaches the printer
// as one job, or one PDF file holds all of them. The command that owns the job ends it.
#pragma once

#include <QString>
#include <memory>

class QPrinter;

namespace vnt {

class Surface;
class PrinterSurface;

class PrintJob {
public:
    // On the program's printer: a system printer, or a PDF file when the machine has none or
    // one is named.
    PrintJob();
    // Every sheet drawn into the caller's target (previews, tests). A sheet of paper as the
    // target gets a new page for every sheet after the first.
    explicit PrintJob(std::shared_ptr<Surface> target);
    // A job nobody ended is ended: what was printed is kept.
    ~PrintJob();
    PrintJob(const PrintJob &) = delete;
    PrintJob &operator=(const PrintJob &) = delete;

    // Begins the next sheet, A4 landscape in millimetres, and returns its surface; the first
    // sheet begins the document. Nothing after the end or abandoning of the job.
    std::shared_ptr<Surface> newSheet();
    // The sheet being drawn; null before the first one.
    std::shared_ptr<Surface> sheet() const { return sheet_; }
    int sheets() const { return sheets_; }

    // The document is complete: the sheets go to the printer, the PDF file is closed.
    void end();
    // Throws the document away: a printer's job is aborted, a begun PDF file removed.
    void abandon();
    bool ended() const { return ended_; }
    bool abandoned() const { return abandoned_; }

    // The PDF file the ended document was written to; empty for a printer or the caller's target.
    QString pdfFile() const { return pdfFile_; }

private:
    QPrinter *printer_ = nullptr;               // the program's printer, when the job is on it
    std::shared_ptr<Surface> sheet_;
    PrinterSurface *paper_ = nullptr;           // the sheet as paper, when it is
    bool external_ = false;                     // the caller's target rather than the printer
    int sheets_ = 0;
    bool ended_ = false;
    bool abandoned_ = false;
    QString pdfFile_;
};

} // namespace vnt
