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
#include <algorithm>

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

// The sheet: header and footer, the rig table at the left top, the rock table with its group
// headings below it and the staff-cost table with its note beside that.
void drawSheet(Surface &paper)
{
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
}

// The middle of what a stroke covers (a text's by its reference point and measured size).
QPointF strokeCentre(const Stroke &s)
{
    if (s.kind == Primitive::Text)
        return s.points[0] + QPointF(measureTextMm(s.font, s.text).width(), measureTextMm(s.font, s.text).height()) / 2;
    QRectF r;
    for (const QPointF &p : s.points)
        r |= QRectF(p, QSizeF(0, 0));
    return r.center();
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
        drawSheet(paper);
        paper.endDoc();
    }

    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << file.toStdString();
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    EXPECT_EQ(QString::fromLatin1(bytes).count(page), 1);
}

// Each table of the sheet on the recording surface, checked against what its widths, grid and
// margins put where: the column rules, the outer frame, every cell text inside its column (left
// texts 1.5 mm after the rule, numbers 1.5 mm before the next one), group headings centred over
// the columns they span, the rows in order at one pitch, and the title above the table.
TEST(TabellePage, CellsAndRulesStandWhereTheWidthsAndGridPutThem)
{
    test::LocaleScope de(QLocale::German);
    RecordingSurface paper;
    paper.setPrinter(true);
    drawSheet(paper);

    struct Table {
        const char *title;
        double left, top;             // the table's left and top: its offsets plus the left and top margins
        QList<double> widths;
        QList<int> grid;              // rules between the columns: 1 single, 2 double (0.5 mm apart)
        QStringList firstColumn;      // the body's first column, top to bottom
        QList<std::pair<QString, int>> headings;   // group headings and their first column (three wide)
    } tables[] = {
        {"Trägergeräte", 14 + 2, 36 + 7, {13, 83, 15}, {1, 1},
         {"TG-100", "TG-250", "TG-400", "Bohrwagen", "TG-900", "Sonderg..."}, {}},
        {"Gesteine", 14 + 2, 116 + 7, {13, 37, 13, 13, 13, 13, 13, 13, 13, 13, 13}, {1, 2, 1, 1, 2, 1, 1, 2, 1, 1},
         {"GRA", "SAN", "KAL", "GNE"},
         {{"Einaxiale Druckfestigkeit", 2}, {"Quarzgehalte", 5}, {"Cercharindices", 8}}},
        {"Personalkosten", 191 + 2, 116 + 7, {13, 29, 15}, {1, 1}, {"K-1", "K-2"}, {}},
    };
    const std::vector<Stroke> all = paper.strokes();
    for (const Table &t : tables) {
        SCOPED_TRACE(t.title);
        QList<double> edges{t.left};
        for (double w : t.widths)
            edges << edges.last() + w;
        const double right = edges.last();
        const QRectF area(t.left - 1, t.top - 8, right - t.left + 2, 40);   // the table, its title and note
        std::vector<Stroke> mine;
        for (const Stroke &s : all)
            if (s.kind != Primitive::Clear && area.contains(strokeCentre(s)))
                mine.push_back(s);

        // The rules between the columns.
        QList<double> expectedRules, rules;
        for (int i = 0; i < t.grid.size(); ++i) {
            expectedRules << edges[i + 1];
            if (t.grid[i] == 2)
                expectedRules << edges[i + 1] + 0.5;
        }
        for (const Stroke &s : mine)
            if (s.kind == Primitive::Line && qFuzzyCompare(s.points[0].x(), s.points[1].x()) && !rules.contains(s.points[0].x()))
                rules << s.points[0].x();
        std::sort(rules.begin(), rules.end());
        EXPECT_EQ(rules, expectedRules);

        // The outer frame of the head, half a millimetre outside the inner one.
        const auto frame = std::find_if(mine.begin(), mine.end(), [&](const Stroke &s) {
            return s.kind == Primitive::Rectangle && qAbs(s.points[0].x() - (t.left - 0.5)) < 1e-6
                   && qAbs(s.points[1].x() - (right + 0.5)) < 1e-6 && qAbs(s.points[0].y() - (t.top - 0.5)) < 1e-6;
        });

        ASSERT_NE(frame, mine.end()) << "no outer frame";
        double bottom = 0;   // of the body's frame, the lowest of the outer ones
        for (const Stroke &s : mine)
            if (s.kind == Primitive::Rectangle && qAbs(s.points[0].x() - (t.left - 0.5)) < 1e-6
                && qAbs(s.points[1].x() - (right + 0.5)) < 1e-6)
                bottom = std::max(bottom, s.points[1].y());

        QList<double> rowTops;
        for (const Stroke &s : mine) {
            if (s.kind != Primitive::Text || s.text == QString::fromUtf8(t.title))
                continue;
            if (s.points[0].y() > bottom) {   // the note, under the frame
                EXPECT_NEAR(s.points[0].x(), t.left + 1.5, 0.05) << s.text.toStdString();
                continue;
            }
            const double x0 = s.points[0].x(), x1 = x0 + measureTextMm(s.font, s.text).width();
            const auto heading = std::find_if(t.headings.begin(), t.headings.end(), [&](const auto &h) { return h.first == s.text; });
            if (heading != t.headings.end()) {
                const double from = edges[heading->second], to = edges[heading->second + 3];
                EXPECT_NEAR((x0 + x1) / 2, (from + to) / 2, 0.5) << s.text.toStdString() << " is not centred over its columns";
                continue;
            }
            int column = 0;
            while (column + 1 < edges.size() - 1 && x0 >= edges[column + 1])
                ++column;
            EXPECT_GE(x0, edges[column]) << s.text.toStdString();
            EXPECT_LE(x1, edges[column + 1]) << s.text.toStdString() << " runs out of column " << column;
            const bool number = QRegularExpression(QStringLiteral("^[0-9.,*]+$")).match(s.text).hasMatch();
            if (number && s.points[0].y() > t.top + 5)
                EXPECT_NEAR(x1, edges[column + 1] - 1.5, 0.05) << s.text.toStdString() << " is not set right";
            if (column == 0 && t.firstColumn.contains(s.text)) {
                EXPECT_NEAR(x0, edges[0] + 1.5, 0.05) << s.text.toStdString();
                EXPECT_EQ(t.firstColumn.indexOf(s.text), rowTops.size()) << s.text.toStdString() << " out of order";
                rowTops << s.points[0].y();
            }
        }
        ASSERT_EQ(rowTops.size(), t.firstColumn.size());
        for (int j = 2; j < rowTops.size(); ++j)
            EXPECT_NEAR(rowTops[j] - rowTops[j - 1], rowTops[1] - rowTops[0], 0.05) << "row " << j;
        EXPECT_LT(rowTops.last() + 2.5, bottom) << "the last row leaves the frame";

        // The title at the table's left edge, above it.
        const auto title = std::find_if(mine.begin(), mine.end(), [&](const Stroke &s) { return s.text == QString::fromUtf8(t.title); });
        ASSERT_NE(title, mine.end());
        EXPECT_DOUBLE_EQ(title->points[0].x(), t.left);
        EXPECT_LE(title->points[0].y() + measureTextMm(title->font, title->text).height(), t.top);
    }
    // The numbers as the German locale writes them, thousands grouped.
    const QStringList texts = paper.texts();
    for (const char *n : {"85,50", "1.513,00", "12,50", "48,20"})
        EXPECT_TRUE(texts.contains(QString::fromLatin1(n))) << n;
}
