// A whole printed sheet: header, footer and three preset tables (one with group headings that
// span their columns) on one A4 landscape PDF page, laid out as the result page prints them.
// VANTREL_TABLE_PAGE_PDF names the file to keep for looking at; otherwise it goes to a
// temporary folder.
#include "drawing/clsKOPFFUSS.h"
#include "drawing/clsTABELLE.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>
#include <QDateTime>
#include <QFile>
#include <QRegularExpression>

using namespace vnt;

namespace {

void drawTable(Surface &paper, double exdl, double eydo, const VariantList &widths, const VariantList &grid,
               const VariantList &leer, const VariantList &align, const VariantList &format, const CellArray &head,
               const CellArray &body, const QString &title, const QString &note = QString())
{
    // The bar was hidden on screen because the whole body fitted its box.
    auto bar = std::make_shared<TableScrollBarState>();
    bar->visible = false;
    bar->height = 5;
    clsTABELLE t;
    t.EOBJEKT(&paper);
    t.EXDL(exdl);
    t.EYDO(eydo);
    t.EYBALKEN(bar);
    t.ERZ(0.5);
    t.ERL(2);
    t.ERO(7);
    t.ERU(note.isEmpty() ? 2.5 : 10);
    t.ELSB(widths);
    t.ELGIT(grid);
    t.ELGITLEER(leer);
    t.EZA(1);
    t.ELA(align);
    t.ELFORMAT(format);
    t.LINIENEINSTELLUNGEN(0, 0, 0);
    t.SCHRIFTEINSTELLUNGEN(QString(), 7, 0, 0, 0, 0);
    t.TABELLE(head, 0);
    t.TABELLE(body, 1);
    t.SCHRIFTEINSTELLUNGEN(QString(), 0, -1, 0, 0, 0);
    t.TITEL(title);
    t.SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0);
    if (!note.isEmpty())
        t.FUSSNOTE(note);
}

} // namespace

TEST(TabellePage, OneA4SheetWithHeaderFooterAndTables)
{
    test::Boxes boxes;
    test::LocaleScope de(QLocale::German);
    QTemporaryDir dir;
    const QString file = qEnvironmentVariableIsEmpty("VANTREL_TABLE_PAGE_PDF")
                             ? dir.filePath(QStringLiteral("table-page.pdf"))
                             : qEnvironmentVariable("VANTREL_TABLE_PAGE_PDF");
    QFile::remove(file);
    {
        PrinterSurface paper(file, true);
        EXPECT_NEAR(paper.sizeMm().width(), 297, 0.5);

        clsKOPFFUSS k;
        k.AUSGABEOBJEKT(paper, paper);
        k.BEARBEITER(QStringLiteral("Meier"));
        k.COPYRIGHT(QStringLiteral("Copyright (C) 2026 Vantrel"));
        k.EBOKFS(true);
        k.KENNZEICHNUNG(Variant(QString()));
        k.DATUM(toDayCount(QDateTime(QDate(2026, 12, 10), QTime(0, 0))));
        k.KOMMENTAR(QStringLiteral("Allgemeine Legende"));
        k.RANDABSTAND(QString(), 15);
        k.SEITE(2);
        k.SEITENANZAHL(2);
        k.PROGRAMMIERER(QStringLiteral("Vantrel"));
        k.PROJEKT(QStringLiteral("TE4711.01"));
        k.UEBERSCHRIFT(QStringLiteral("Vantrel"));
        k.UHRZEIT(toDayCount(QDateTime(QDate(1899, 12, 30), QTime(9, 41))));
        k.KOPFFUSSZEILE();

        CellArray head = CellArray::fromRows({{"KENT", "Erläuterung", "Kosten"}, {Variant(), Variant(), "[E/h]"}});
        CellArray body(3, 6);
        const char *rigs[] = {"TG-100", "TG-250", "TG-400", "Bohrwagen", "TG-900", "Sonderg..."};
        for (int j = 0; j < 6; ++j) {
            body.set(0, j, rigs[j]);
            body.set(1, j, QStringLiteral("Trägergerät mit %1 kN Vorschubkraft, Q{t,1}max").arg(100 * (j + 1)));
            body.set(2, j, 85.5 * (j + 1) + (j == 5 ? 1000 : 0));
        }
        drawTable(paper, 14, 36, {13.0, 83.0, 15.0}, {1, 1}, {0, 0}, {0, 0, 2},
                  {Variant(), Variant(), "#,###,##0.00"}, head, body, QStringLiteral("Trägergeräte"));

        CellArray rockHead(11, 3);
        rockHead.set(0, 0, "KENG");
        rockHead.set(1, 0, "Erläuterung");
        const char *groups[] = {"Einaxiale Druckfestigkeit", "Quarzgehalte", "Cercharindices"};
        const char *units[] = {"[MPa]", "[%]", "[-]"};
        for (int g = 0; g < 3; ++g) {
            rockHead.set(2 + 3 * g, 0, groups[g]);
            rockHead.set(2 + 3 * g, 1, units[g]);
            rockHead.set(2 + 3 * g, 2, "Mittelwert");
            rockHead.set(3 + 3 * g, 2, "Minimum");
            rockHead.set(4 + 3 * g, 2, "Maximum");
        }
        CellArray rocks(11, 4);
        const char *names[] = {"Granit", "Sandstein", "Kalkstein", "Gneis"};
        for (int j = 0; j < 4; ++j) {
            rocks.set(0, j, QString::fromLatin1(names[j]).left(3).toUpper());
            rocks.set(1, j, names[j]);
            for (int i = 2; i <= 10; ++i)
                rocks.set(i, j, 10.0 * (j + 1) + i * 1.25);
        }
        VariantList w{13.0, 37.0}, fmt{Variant(), Variant()}, align{0, 0};
        for (int i = 0; i < 9; ++i) {
            w << 13.0;
            fmt << "#0.00";
            align << 2;
        }
        drawTable(paper, 14, 116, w, {1, 2, 1, 1, 2, 1, 1, 2, 1, 1}, {0, 0, 2, 2, 0, 2, 2, 0, 2, 2}, align, fmt,
                  rockHead, rocks, QStringLiteral("Gesteine"));

        CellArray costHead = CellArray::fromRows({{"Kenn-", "Erläuterung", "Kosten"}, {"zeichnung", Variant(), "[E/h]"}});
        CellArray costs = CellArray::fromRows({{"K-1", "Tarif Tiefbau", 48.2}, {"K-2", "Tarif {Sonder}", "*"}});
        drawTable(paper, 191, 116, {13.0, 29.0, 15.0}, {1, 1}, {0, 0}, {0, 0, 2},
                  {Variant(), Variant(), "#,###,##0.00"}, costHead, costs, QStringLiteral("Personalkosten"),
                  QStringLiteral("* Kosten sind in den Gerätekosten inkludiert"));
        paper.endDoc();
    }

    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << file.toStdString();
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    EXPECT_EQ(QString::fromLatin1(bytes).count(page), 1);
}
