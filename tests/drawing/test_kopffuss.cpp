// The page header and footer on an A4 landscape sheet and on screen: the record line and its
// cut, the project and page number at the right margin, the three footer columns, margins,
// optional lines and user texts that contain braces.
#include "drawing/clsKOPFFUSS.h"
#include "common/TestSupport.h"
#include "test_drawing_support.h"

#include <gtest/gtest.h>
#include <QDateTime>
#include <QWidget>

using namespace vnt;
using vnt::test::arial;

namespace {

QSizeF extent(double size, const QString &s, bool bold = false) { return measureTextMm(arial(size, bold), s); }

const Stroke *find(const RecordingSurface &s, const QString &text)
{
    for (const Stroke &k : s.strokes())
        if (k.kind == Primitive::Text && k.text == text)
            return &k;
    return nullptr;
}

const Stroke *findPrefix(const RecordingSurface &s, const QString &prefix)
{
    for (const Stroke &k : s.strokes())
        if (k.kind == Primitive::Text && k.text.startsWith(prefix))
            return &k;
    return nullptr;
}

void fill(clsKOPFFUSS &k)
{
    k.BEARBEITER(QStringLiteral("Meier"));
    k.COPYRIGHT(QStringLiteral("Copyright (C) Vantrel"));
    k.EBOKFS(true);
    k.KENNZEICHNUNG(Variant(QStringLiteral("B-12")));
    k.DATUM(toDayCount(QDateTime(QDate(2026, 12, 10), QTime(0, 0))));
    k.KOMMENTAR(QStringLiteral("Vortrieb Nord"));
    k.RANDABSTAND(QString(), 15);
    k.SEITE(1);
    k.SEITENANZAHL(2);
    k.PROGRAMMIERER(QStringLiteral("Vantrel Entwicklung"));
    k.PROJEKT(QStringLiteral("TE4711.01"));
    k.UEBERSCHRIFT(QStringLiteral("Vantrel"));
    k.UHRZEIT(toDayCount(QDateTime(QDate(1899, 12, 30), QTime(14, 5, 59))));
}

} // namespace

TEST(Kopffuss, A4LandscapeSheet)
{
    test::Boxes boxes;
    test::LocaleScope de(QLocale::German);
    RecordingSurface paper(QSizeF(297, 210));
    paper.setPrinter(true);
    clsKOPFFUSS k;
    EXPECT_EQ(k.PROJEKT(), QStringLiteral("TE0000.00"));
    EXPECT_EQ(k.RANDABSTAENDE().top, 0);
    k.AUSGABEOBJEKT(paper, paper);
    EXPECT_DOUBLE_EQ(k.RANDABSTAENDE().left, 15);
    EXPECT_DOUBLE_EQ(k.MMPROX(), 1);
    fill(k);
    k.KOPFFUSSZEILE();

    const double h16 = extent(16, QStringLiteral("Vantrel"), true).height();
    const double h10 = extent(10, QStringLiteral("B-12")).height();
    const double h7 = extent(7, QStringLiteral("Vantrel Entwicklung")).height();

    const Stroke *title = find(paper, QStringLiteral("Vantrel"));
    ASSERT_TRUE(title);
    EXPECT_EQ(title->font, arial(16, true));
    EXPECT_EQ(title->points[0], QPointF(15, 15));

    const Stroke *record = find(paper, QStringLiteral("Datensatz B-12"));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->font, arial(10));
    EXPECT_EQ(record->points[0], QPointF(15, 24));
    const Stroke *comment = find(paper, QStringLiteral("Vortrieb Nord"));
    ASSERT_TRUE(comment);
    EXPECT_NEAR(comment->points[0].y(), 24 + 1.5 * h10, 1e-9);

    // Project text ends at the right margin, its line level with the bottom of the title.
    const QString project = QStringLiteral("Projekt TE4711.01");
    const Stroke *proj = find(paper, project);
    ASSERT_TRUE(proj);
    const double xp = 297 - 15 - extent(10, project).width();
    EXPECT_NEAR(proj->points[0].x(), xp, 1e-9);
    EXPECT_NEAR(proj->points[0].y(), 15 + h16 - h10, 1e-9);
    const Stroke *page = find(paper, QStringLiteral("Seite 1/2"));
    ASSERT_TRUE(page);
    EXPECT_NEAR(page->points[0].x(), xp - extent(10, QString(15, ' ') + "Seite 1/2").width(), 1e-9);
    EXPECT_NEAR(page->points[0].y(), proj->points[0].y(), 1e-9);

    // Footer: bottom-anchored on the margin line, the second lines below it.
    const double yb = 210 - 15;
    const QString author = QStringLiteral("Programmentwicklung: Vantrel Entwicklung");
    const Stroke *auth = find(paper, author);
    const Stroke *copy = find(paper, QStringLiteral("Copyright (C) Vantrel"));
    ASSERT_TRUE(auth && copy);
    EXPECT_EQ(auth->font, arial(7));
    EXPECT_NEAR(auth->points[0].x() + extent(7, author).width(), 282, 1e-9);   // the longer line ends at the margin
    EXPECT_NEAR(copy->points[0].x(), auth->points[0].x(), 1e-9);
    EXPECT_NEAR(auth->points[0].y() + extent(7, author).height(), yb, 1e-9);
    EXPECT_NEAR(copy->points[0].y() + extent(7, copy->text).height(), yb + h7, 1e-9);

    const Stroke *date = find(paper, QStringLiteral("10.12.2026"));
    const Stroke *time = find(paper, QStringLiteral("14:05"));
    ASSERT_TRUE(date && time);
    EXPECT_NEAR(date->points[0].x() + extent(7, date->text).width() / 2, 148.5, 1e-9);
    EXPECT_NEAR(time->points[0].x() + extent(7, time->text).width() / 2, 148.5, 1e-9);
    EXPECT_NEAR(time->points[0].y() + extent(7, time->text).height(), yb + h7, 1e-9);

    const Stroke *editor = find(paper, QStringLiteral("Bearbeiter: Meier"));
    ASSERT_TRUE(editor);
    EXPECT_NEAR(editor->points[0].x(), 15, 1e-9);
    EXPECT_NEAR(editor->points[0].y() + extent(7, editor->text).height(), yb, 1e-9);

    // Texts only, and the same block again on a second call.
    EXPECT_EQ(paper.strokes().size(), paper.strokes(Primitive::Text).size());
    const QStringList once = paper.texts();
    paper.reset();
    k.KOPFFUSSZEILE();
    EXPECT_EQ(paper.texts(), once);
    EXPECT_EQ(paper.font(), arial(7));
}

TEST(Kopffuss, RecordLineCutAtTheRightMargin)
{
    test::Boxes boxes;
    RecordingSurface paper(QSizeF(297, 210));
    paper.setPrinter(true);
    clsKOPFFUSS k;
    k.AUSGABEOBJEKT(paper, paper);
    VariantList ids;
    for (int i = 1; i <= 60; ++i)
        ids << Variant(QStringLiteral("Bohrung-%1").arg(i, 2, 10, QLatin1Char('0')));
    k.KENNZEICHNUNG(ids);
    k.KOPFFUSSZEILE();

    const Stroke *line = findPrefix(paper, QStringLiteral("Datensätze Bohrung-01, Bohrung-02, "));
    ASSERT_TRUE(line);
    ASSERT_TRUE(line->text.endsWith(QStringLiteral(", ...")));
    const QString kept = line->text.mid(QStringLiteral("Datensätze ").size()).chopped(5);
    const QStringList names = kept.split(QStringLiteral(", "));
    ASSERT_LT(names.size(), 60);
    // The next identifier would not have fitted the room beside the label.
    const double room = 297 - 30 - extent(10, QStringLiteral("Datensätze")).width();
    EXPECT_GT(extent(10, kept + ids[names.size()].toString() + ",").width(), room);
    EXPECT_LE(extent(10, names.mid(0, names.size() - 1).join(", ") + names.last() + ",").width(), room);

    // One identifier is never cut, however long.
    paper.reset();
    const QString longName(300, QLatin1Char('W'));
    k.KENNZEICHNUNG(Variant(longName));
    k.KOPFFUSSZEILE();
    EXPECT_TRUE(find(paper, QStringLiteral("Datensatz ") + longName));
}

TEST(Kopffuss, OptionalLines)
{
    test::Boxes boxes;
    RecordingSurface paper(QSizeF(297, 210));
    paper.setPrinter(true);
    clsKOPFFUSS k;
    k.AUSGABEOBJEKT(paper, paper);
    fill(k);
    k.KENNZEICHNUNG(Variant(QString()));
    k.KOMMENTAR(QStringLiteral("Allgemeine Legende"));
    k.EBOKFS(false);
    k.KOPFFUSSZEILE();
    EXPECT_FALSE(findPrefix(paper, QStringLiteral("Datensatz")));
    EXPECT_FALSE(findPrefix(paper, QStringLiteral("Seite")));
    // The comment keeps its place, measured on the empty record text.
    const Stroke *comment = find(paper, QStringLiteral("Allgemeine Legende"));
    ASSERT_TRUE(comment);
    EXPECT_NEAR(comment->points[0].y(), 24 + 1.5 * extent(10, QString()).height(), 1e-9);
    EXPECT_NEAR(find(paper, QStringLiteral("Projekt TE4711.01"))->points[0].x(),
                282 - extent(10, QStringLiteral("Projekt TE4711.01")).width(), 1e-9);

    paper.reset();
    k.KOMMENTAR(QString());
    k.KOPFFUSSZEILE();
    EXPECT_FALSE(find(paper, QString()));
    EXPECT_EQ(paper.texts().size(), 7);   // title, project, two lines in two footer columns, editor
}

TEST(Kopffuss, ScreenMargins)
{
    test::Boxes boxes;
    RecordingSurface form(QSizeF(300, 200));
    clsKOPFFUSS k;
    // The block spans the main window's inner area, not the page form.
    k.AUSGABEOBJEKT([] { return QSizeF(400, 250); }, form);
    fill(k);
    k.RANDABSTAND(QStringLiteral("oben"), 7.5);
    k.RANDABSTAND(QStringLiteral("unten"), 7.5);
    EXPECT_DOUBLE_EQ(k.RANDABSTAENDE().left, 15);
    k.KOPFFUSSZEILE();
    EXPECT_EQ(find(form, QStringLiteral("Vantrel"))->points[0], QPointF(15, 7.5));
    const Stroke *editor = find(form, QStringLiteral("Bearbeiter: Meier"));
    EXPECT_NEAR(editor->points[0].y() + extent(7, editor->text).height(), 250 - 7.5, 1e-9);
    const Stroke *proj = find(form, QStringLiteral("Projekt TE4711.01"));
    EXPECT_NEAR(proj->points[0].x() + extent(10, proj->text).width(), 385, 1e-9);

    // Positions are compared exactly: "Oben" is no known side and sets all four.
    k.RANDABSTAND(QStringLiteral("Oben"), 5);
    EXPECT_DOUBLE_EQ(k.RANDABSTAENDE().top, 5);
    EXPECT_DOUBLE_EQ(k.RANDABSTAENDE().bottom, 5);
    EXPECT_DOUBLE_EQ(k.RANDABSTAENDE().left, 5);
    EXPECT_DOUBLE_EQ(k.RANDABSTAENDE().right, 5);

    // The main window as frame: its pixels in the target's millimetres.
    QWidget mainWindow;
    mainWindow.resize(800, 600);
    RecordingSurface box(QSizeF(100, 100), 4);
    clsKOPFFUSS onScreen;
    onScreen.AUSGABEOBJEKT(mainWindow, box);
    onScreen.KOPFFUSSZEILE();
    const Stroke *project = find(box, QStringLiteral("Projekt TE0000.00"));
    ASSERT_TRUE(project);
    EXPECT_NEAR(project->points[0].x() + extent(10, project->text).width(), 200 - 15, 1e-9);

    // A margin before the target is bound has nothing to be measured against.
    clsKOPFFUSS unbound;
    EXPECT_THROW(unbound.RANDABSTAND(QString(), 15), VbError);
}

TEST(Kopffuss, UserTextsWithBraces)
{
    test::Boxes boxes;   // a brace in user data shows no box
    RecordingSurface paper(QSizeF(297, 210));
    paper.setPrinter(true);
    clsKOPFFUSS k;
    k.AUSGABEOBJEKT(paper, paper);
    fill(k);
    k.KENNZEICHNUNG(Variant(QStringLiteral("Los {3")));
    k.KOMMENTAR(QStringLiteral("Abschnitt {A} mit {Fels"));
    k.PROJEKT(QStringLiteral("m{h,1}2"));
    k.KOPFFUSSZEILE();
    EXPECT_TRUE(find(paper, QStringLiteral("Datensatz Los {3")));
    EXPECT_TRUE(find(paper, QStringLiteral("Abschnitt {A} mit {Fels")));
    // A well-formed group is still markup: the "2" raised in the small font.
    const Stroke *power = find(paper, QStringLiteral("2"));
    ASSERT_TRUE(power);
    EXPECT_DOUBLE_EQ(power->font.size, 9);
    EXPECT_LT(power->points[0].y(), find(paper, QStringLiteral("Projekt m"))->points[0].y());
}

TEST(Kopffuss, DateWithTimeAndCharacterCodes)
{
    test::Boxes boxes;
    test::LocaleScope de(QLocale::German);
    RecordingSurface paper(QSizeF(297, 210));
    paper.setPrinter(true);
    clsKOPFFUSS k;
    k.AUSGABEOBJEKT(paper, paper);
    fill(k);
    k.DATUM(toDayCount(QDateTime(QDate(2026, 12, 10), QTime(14, 30))));
    k.KOMMENTAR(QStringLiteral("Neigung 5{c,176} Ost"));
    k.KOPFFUSSZEILE();
    EXPECT_TRUE(find(paper, QStringLiteral("10.12.2026 14:30:00")));
    // On paper a character by code moves the rest of the line right by a third of its height.
    const Stroke *deg = find(paper, QString(QChar(0xB0)));
    const Stroke *rest = find(paper, QStringLiteral(" Ost"));
    ASSERT_TRUE(deg && rest);
    const double shift = 0.35 * extent(10, QString(QChar(0xB0))).height();
    EXPECT_NEAR(deg->points[0].x(), 15 + extent(10, QStringLiteral("Neigung 5")).width() + shift, 1e-9);
    EXPECT_NEAR(rest->points[0].x(), deg->points[0].x() + extent(10, deg->text).width(), 1e-9);
}

// A comment longer than the header is wide ends inside it with "…": at the right margin, or
// before the first area the page keeps clear (a figure that rises into the comment's line).
TEST(Kopffuss, ALongCommentEndsInsideTheHeader)
{
    test::Boxes boxes;
    RecordingSurface paper(QSizeF(297, 210));
    paper.setPrinter(true);
    clsKOPFFUSS k;
    k.AUSGABEOBJEKT(paper, paper);
    fill(k);
    QString comment;
    while (comment.size() < 231)
        comment += QStringLiteral("Vortrieb {h,1}Nord mit Kies und Findlingen, ");
    comment.truncate(231);
    k.KOMMENTAR(comment);
    k.KOPFFUSSZEILE();

    const auto commentStroke = [&] { return findPrefix(paper, QStringLiteral("Vortrieb ")); };
    const auto rightEnd = [&](const Stroke *s) { return s->points[0].x() + measureTextMm(s->font, s->text).width(); };
    // The markup group splits the comment into runs: the first run and the last one drawn.
    const auto lastRun = [&] {
        const Stroke *last = nullptr;
        for (const Stroke &s : paper.strokes())
            if (s.kind == Primitive::Text && std::abs(s.points[0].y() - commentStroke()->points[0].y()) < 2)
                last = &s;
        return last;
    };
    ASSERT_TRUE(commentStroke());
    ASSERT_TRUE(lastRun());
    EXPECT_TRUE(lastRun()->text.endsWith(QStringLiteral("…"))) << lastRun()->text.toStdString();
    EXPECT_LE(rightEnd(lastRun()), 282 + 1e-6);
    EXPECT_GT(rightEnd(lastRun()), 282 - 10);   // the room is used, not given away

    // A short comment is drawn as it is.
    paper.reset();
    k.KOMMENTAR(QStringLiteral("Vortrieb Nord"));
    k.KOPFFUSSZEILE();
    EXPECT_TRUE(find(paper, QStringLiteral("Vortrieb Nord")));
}
