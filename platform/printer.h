// The printer. With no system printer, or when VANTREL_PRINT_PDF=<file> is set, it prints
// to a PDF file (the tests always do). With no file named, each document goes to a new file
// "VANT-Ausdruck-<date>-<time>.pdf" in the user's documents folder.
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>

class QPrinter;

namespace vnt {

class Printer {
public:
    static Printer &instance();
    QPrinter &qprinter();              // created on first use, A4 landscape unless set otherwise
    bool printsToPdf() const;
    QString pdfFile() const;
    void setPdfFile(const QString &path);   // for tests and for the "no printer" case
    void reset();                           // forget the printer (next use starts a new one)
    void StartDoc();                        // a document begins: a file the printer names itself is named now
    // The print dialog shows the file the next document goes to: named now, it is the file that
    // document is written to however long the dialog stays open. Without a document after it
    // (the dialog cancelled) the name is forgotten, and a later document is named when it begins.
    void nameNextDocument();
    void forgetNamedDocument();
    void EndDoc();                          // finishes the document the painter is on
    // The clock that dates the files the printer names itself; none: the system's.
    void setClock(std::function<QDateTime()> now);
private:
    Printer() = default;
    std::unique_ptr<QPrinter> printer_;
    QString pdf_;
    std::function<QDateTime()> now_;
    QString autoPdf_;            // the file chosen for the document when none is named
    bool autoPdfShown_ = false;  // autoPdf_ was shown to the user for the next document
    void aimAtPdf();
    QString nextAutoPdf() const;
};

} // namespace vnt
