// Printing without a system printer: a PDF file on A4 that holds what was drawn.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include "platform/printer.h"
#include "common/TestSupport.h"

using vnt::Printer;

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void printLine(Printer &p)
{
    QPainter painter(&p.qprinter());
    painter.drawLine(QPointF(100, 100), QPointF(2000, 1500));
    painter.drawText(QPointF(100, 200), "Bohrzeit");
    p.EndDoc();
}

// The page size of the first page, in points.
QSizeF mediaBox(const QByteArray &pdf)
{
    const auto m = QRegularExpression(R"(/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+)\s*\])").match(QString::fromLatin1(pdf));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

} // namespace

TEST(Printer, PrintsALineToAValidA4LandscapePdf)
{
    QTemporaryDir tmp;
    const QString file = tmp.path() + "/seite.pdf";
    Printer &p = Printer::instance();
    p.reset();
    p.setPdfFile(file);
    EXPECT_TRUE(p.printsToPdf());
    EXPECT_EQ(p.pdfFile(), file);
    EXPECT_EQ(p.qprinter().resolution(), QPrinter(QPrinter::HighResolution).resolution());
    printLine(p);
    const QByteArray pdf = contents(file);
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    const QSizeF page = mediaBox(pdf);
    EXPECT_NEAR(page.width(), 842, 1);    // A4 landscape: 297 mm x 210 mm
    EXPECT_NEAR(page.height(), 595, 1);
    p.setPdfFile(QString());
    p.reset();
}

TEST(Printer, WithoutANamedFileEachDocumentGetsItsOwnInTheDocumentsFolder)
{
    // A home of the test's own, so that the documents folder is one the test may fill.
    QTemporaryDir home;
    vnt::test::EnvScope env;
    env.set("HOME", home.path().toLocal8Bit());
    env.set("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
    env.set("VANTREL_PRINT_PDF", std::nullopt);
    Printer &p = Printer::instance();
    p.reset();
    if (!p.printsToPdf())
        GTEST_SKIP() << "this machine has a system printer";
    printLine(p);
    printLine(p);
    p.reset();
    const QStringList pdfs = QDir(home.path() + "/Documents").entryList({"VANT-Ausdruck-*.pdf"}, QDir::Files);
    EXPECT_EQ(pdfs.size(), 2) << pdfs.join(", ").toStdString();
    for (const QString &name : pdfs)
        EXPECT_TRUE(contents(home.path() + "/Documents/" + name).startsWith("%PDF-"));
}
