// The table object on the recording surface: settings, block frames and rules, spanned head
// cells, cell alignment, symbol cells, title and footnote, the scrolled body on screen and
// paper, its error boxes and its marked-up text output.
#include "drawing/clsTABELLE.h"
#include "platform/NumberFormat.h"
#include "common/TestSupport.h"
#include "test_drawing_support.h"

#include <gtest/gtest.h>
#include <QRegularExpression>
#include <cmath>

using namespace vnt;
using vnt::test::arial;

namespace {

double textH(double size, const QString &s = QStringLiteral("X")) { return measureTextMm(arial(size), s).height(); }
double textW(const FontSpec &f, const QString &s) { return measureTextMm(f, s).width(); }

std::vector<Stroke> textsOf(const RecordingSurface &s, const QString &t)
{
    std::vector<Stroke> out;
    for (const Stroke &k : s.strokes(Primitive::Text))
        if (k.text == t)
            out.push_back(k);
    return out;
}

// A device table as the result page draws it (identifier, comment, cost per hour).
void setUpDeviceTable(clsTABELLE &t, Surface &s, const QString &name = QStringLiteral("picBILD11"))
{
    t.EOBJEKT(&s, name);
    t.ERZ(0.5);
    t.ERL(2);
    t.ERO(7);
    t.ERU(2.5);
    t.ELSB({13.0, 83.0, 15.0});
    t.ELGIT({1, 1});
    t.ELGITLEER({0, 0});
    t.EZA(1);
    t.ELA({0, 0, 2});
    t.ELFORMAT({Variant(), Variant(), QStringLiteral("#,###,##0.00")});
    t.LINIENEINSTELLUNGEN(0, 0, 0);
    t.SCHRIFTEINSTELLUNGEN(QString(), 7, 0, 0, 0, 0);
}

CellArray deviceHead()
{
    return CellArray::fromRows({{QStringLiteral("KENT"), QStringLiteral("Erläuterung"), QStringLiteral("Kosten")},
                                {Variant(), Variant(), QStringLiteral("[E/h]")}});
}

CellArray deviceBody(int rows)
{
    CellArray b(3, rows);
    for (int j = 0; j < rows; ++j) {
        b.set(0, j, QStringLiteral("R%1").arg(j, 2, 10, QLatin1Char('0')));
        b.set(1, j, QStringLiteral("Gerät %1").arg(j));
        b.set(2, j, 100.0 + j);
    }
    return b;
}

QStringList rowKeys(const RecordingSurface &s)
{
    QStringList out;
    static const QRegularExpression key(QStringLiteral("^R\\d\\d$"));
    for (const QString &t : s.texts())
        if (key.match(t).hasMatch())
            out << t;
    return out;
}

} // namespace

TEST(Tabelle, NewObjectAndSettings)
{
    test::Boxes boxes;
    clsTABELLE t;
    EXPECT_DOUBLE_EQ(t.ERO(), 2.5);
    EXPECT_DOUBLE_EQ(t.ERU(), 2.5);
    EXPECT_DOUBLE_EQ(t.ERL(), 2.5);
    EXPECT_DOUBLE_EQ(t.ERZ(), 1.5);
    EXPECT_DOUBLE_EQ(t.EZA(), 1.0);
    EXPECT_DOUBLE_EQ(t.EXDL(), 0);
    EXPECT_DOUBLE_EQ(t.HOEHE(), 0);
    EXPECT_FALSE(t.ELSB().has_value());

    RecordingSurface s(QSizeF(120, 80), 4);
    FontSpec odd = arial(14, true);
    odd.name = QStringLiteral("Times New Roman");
    s.setFont(odd);
    s.setForeColor(Qt::red);
    t.EOBJEKT(&s);
    EXPECT_EQ(s.font(), arial(8));
    EXPECT_EQ(s.foreColor(), QColor(Qt::black));
    EXPECT_DOUBLE_EQ(t.PIXELPROMM(), 4);
    EXPECT_EQ(t.SCHRIFTEN().slot(3).name, QStringLiteral("Symbol"));
    EXPECT_DOUBLE_EQ(t.SCHRIFTEN().slot(4).size, 7);
    EXPECT_DOUBLE_EQ(t.SCHRIFTEN().slot(5).size, 7);

    t.SCHRIFTEINSTELLUNGEN(QString(), 7, -1, 0, -1, -1);
    EXPECT_DOUBLE_EQ(t.SCHRIFTEN().slot(4).size, 6);
    EXPECT_TRUE(t.SCHRIFTEN().slot(5).bold);
    EXPECT_TRUE(t.SCHRIFTEN().slot(2).italic);
    EXPECT_EQ(s.foreColor(), QColor(Qt::black));   // -1 is black for text
    t.SCHRIFTEINSTELLUNGEN(QString(), 9, 0, 0, 0, 0);
    EXPECT_DOUBLE_EQ(t.SCHRIFTEN().slot(4).size, 8);

    auto pen = t.LINIENEINSTELLUNGEN(0, 0, 0);
    EXPECT_DOUBLE_EQ(pen.width, 1);
    EXPECT_EQ(pen.color, 0);
    EXPECT_DOUBLE_EQ(s.drawWidth(), 1);
    EXPECT_EQ(s.drawMode(), 13);
    EXPECT_EQ(s.drawStyle(), 0);
    pen = t.LINIENEINSTELLUNGEN(2, 0.5, -1);
    EXPECT_DOUBLE_EQ(pen.width, 2);    // 0.5 mm at 4 pixels per mm
    EXPECT_EQ(pen.color, -1);          // passed on as given
    EXPECT_EQ(s.drawStyle(), 2);
    pen = t.LINIENEINSTELLUNGEN(0, 0, 255);
    EXPECT_EQ(s.foreColor(), QColor(255, 0, 0));
}

TEST(Tabelle, BodyHeightFollowsTheRows)
{
    test::Boxes boxes;
    const double h = textH(7);
    struct Case { int rows; double height; };
    for (const Case c : {Case{1, h + 2 * 0.5}, Case{3, h + 2 * 0.5 + 2 * h}}) {
        RecordingSurface s(QSizeF(122.5, 200));
        clsTABELLE t;
        setUpDeviceTable(t, s);
        t.TABELLE(deviceHead(), 0);
        t.TABELLE(deviceBody(c.rows), 1);
        EXPECT_NEAR(t.RUMPFHOEHE(), c.height, 1e-9) << c.rows;
        EXPECT_NEAR(t.KOPFHOEHE(), h + 1 + h, 1e-9);
        EXPECT_NEAR(t.HOEHE(), t.KOPFHOEHE() + t.RUMPFHOEHE(), 1e-9);
        EXPECT_DOUBLE_EQ(t.TABELLENBREITE(), 111);
        EXPECT_EQ(rowKeys(s).size(), c.rows);
        // A foot block goes below the body and leaves the height alone.
        const double before = t.HOEHE();
        t.TABELLE(CellArray::fromRows({{QStringLiteral("Summe"), Variant(), 3.0}}), 2);
        EXPECT_DOUBLE_EQ(t.HOEHE(), before);
        EXPECT_NEAR(t.FUSSHOEHE(), h + 1, 1e-9);
    }
}

TEST(Tabelle, BlockFramesAndRules)
{
    test::Boxes boxes;
    RecordingSurface s(QSizeF(122.5, 200));
    clsTABELLE t;
    setUpDeviceTable(t, s);
    t.TABELLE(deviceHead(), 0);
    t.TABELLE(deviceBody(3), 1);
    const double HK = t.KOPFHOEHE(), HR = t.RUMPFHOEHE();

    const auto rects = s.strokes(Primitive::Rectangle);
    ASSERT_EQ(rects.size(), 4u);
    const QRectF expected[] = {
        QRectF(2, 7, 111, HK), QRectF(1.5, 6.5, 112, HK + 1),                  // head inner, outer
        QRectF(2, 7 + HK + 0.5, 111, HR), QRectF(1.5, 7 + HK, 112, HR + 1),    // body inner, outer
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(rects[i].points[0].x(), expected[i].left(), 1e-9) << i;
        EXPECT_NEAR(rects[i].points[0].y(), expected[i].top(), 1e-9) << i;
        EXPECT_NEAR(rects[i].points[1].x(), expected[i].right(), 1e-9) << i;
        EXPECT_NEAR(rects[i].points[1].y(), expected[i].bottom(), 1e-9) << i;
    }
    // Two single rules through head and body at the column edges 15 and 98.
    const auto lines = s.strokes(Primitive::Line);
    ASSERT_EQ(lines.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(lines[i].points[0].x(), i % 2 ? 98 : 15);
        const double top = i < 2 ? 7 : 7 + HK + 0.5;
        const double len = i < 2 ? HK : HR;
        EXPECT_NEAR(lines[i].points[0].y(), top, 1e-9);
        EXPECT_NEAR(lines[i].points[1].y(), top + len, 1e-9);
    }
    // Head texts centred in their column, 1.5 mm above the text line's lower edge.
    const auto kosten = textsOf(s, QStringLiteral("Kosten"));
    ASSERT_EQ(kosten.size(), 1u);
    EXPECT_NEAR(kosten[0].points[0].x() + textW(arial(7), QStringLiteral("Kosten")) / 2, 98 + 7.5, 1e-9);
    EXPECT_NEAR(kosten[0].points[0].y() + textH(7, QStringLiteral("Kosten")) / 2, 7 + 0.5 + textH(7) - 1.5, 1e-9);

    // Widths beyond the cell array's columns are ignored; any other position draws a head.
    RecordingSurface wide(QSizeF(200, 100));
    clsTABELLE extra;
    setUpDeviceTable(extra, wide);
    extra.ELSB({13.0, 83.0, 15.0, 40.0});
    extra.TABELLE(deviceHead(), 3);
    EXPECT_DOUBLE_EQ(extra.TABELLENBREITE(), 111);
    EXPECT_NEAR(extra.KOPFHOEHE(), HK, 1e-9);
    EXPECT_DOUBLE_EQ(extra.RUMPFHOEHE(), 0);
    EXPECT_EQ(wide.strokes(Primitive::Rectangle).size(), 2u);
    EXPECT_TRUE(textsOf(wide, QStringLiteral("[E/h]")).size() == 1u);
}

TEST(Tabelle, SpannedGroupHeadingsWithDoubleRules)
{
    test::Boxes boxes;
    RecordingSurface s(QSizeF(177, 200));
    clsTABELLE t;
    t.EOBJEKT(&s, QStringLiteral("picBILD2"));
    t.ERZ(0.5);
    t.ERL(2);
    t.ERO(7);
    t.ELSB({13.0, 37.0, 13.0, 13.0, 13.0, 13.0, 13.0, 13.0, 13.0, 13.0, 13.0});
    t.ELGIT({1, 2, 1, 1, 2, 1, 1, 2, 1, 1});
    t.ELGITLEER({0, 0, 2, 2, 0, 2, 2, 0, 2, 2});
    t.SCHRIFTEINSTELLUNGEN(QString(), 7, 0, 0, 0, 0);
    CellArray head(11, 3);
    head.set(0, 0, QStringLiteral("KENG"));
    head.set(2, 0, QStringLiteral("Einaxiale Druckfestigkeit"));
    head.set(3, 0, QStringLiteral("nicht gezeigt"));
    head.set(2, 1, QStringLiteral("[MPa]"));
    for (int i = 2; i <= 10; i += 3) {
        head.set(i, 2, QStringLiteral("Mittelwert"));
        head.set(i + 1, 2, QStringLiteral("Minimum"));
        head.set(i + 2, 2, QStringLiteral("Maximum"));
    }
    t.TABELLE(head, 0);
    const double h = textH(7), HK = t.KOPFHOEHE();
    EXPECT_NEAR(HK, h + 1 + 2 * h, 1e-9);

    // The group heading is centred over its three columns (x 52 .. 91); the values of the
    // spanned columns are not drawn.
    const auto group = textsOf(s, QStringLiteral("Einaxiale Druckfestigkeit"));
    ASSERT_EQ(group.size(), 1u);
    EXPECT_NEAR(group[0].points[0].x() + textW(arial(7), group[0].text) / 2, 2 + 50 + 19.5, 1e-9);
    EXPECT_TRUE(textsOf(s, QStringLiteral("nicht gezeigt")).empty());
    EXPECT_EQ(textsOf(s, QStringLiteral("Mittelwert")).size(), 3u);
    const auto minimum = textsOf(s, QStringLiteral("Minimum"));
    EXPECT_NEAR(minimum[0].points[0].x() + textW(arial(7), QStringLiteral("Minimum")) / 2, 2 + 63 + 6.5, 1e-9);

    // Double rule after the comment: two full-height lines 0.5 mm apart; an inner rule of a
    // group starts below the two heading rows.
    auto at = [&](double x) {
        std::vector<Stroke> out;
        for (const Stroke &l : s.strokes(Primitive::Line))
            if (std::abs(l.points[0].x() - x) < 1e-9)
                out.push_back(l);
        return out;
    };
    ASSERT_EQ(at(52).size(), 1u);
    ASSERT_EQ(at(52.5).size(), 1u);
    EXPECT_NEAR(at(52.5)[0].points[0].y(), 7, 1e-9);
    EXPECT_NEAR(at(52.5)[0].points[1].y(), 7 + HK, 1e-9);
    const auto inner = at(65);
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_NEAR(inner[0].points[0].y(), 7 + 2 * h + 0.5 + 1, 1e-9);
    EXPECT_NEAR(inner[0].points[1].y(), 7 + HK, 1e-9);
}

TEST(Tabelle, BodyCellsAlignedByColumn)
{
    test::Boxes boxes;
    test::LocaleScope de(QLocale::German);
    RecordingSurface s(QSizeF(200, 100));
    clsTABELLE t;
    t.EOBJEKT(&s);
    t.ERL(0);
    t.ERO(0);
    t.ERZ(1);
    t.ELSB({20.0, 20.0, 20.0, 20.0, 20.0});
    t.ELGIT({0, 0, 0, 0});
    t.ELA({0, 1, 2, 3, 4});
    t.ELFORMAT({Variant(), Variant(), QStringLiteral("#0.00"), QStringLiteral("#0.00"), Variant()});
    t.TABELLE(CellArray::fromRows({{QStringLiteral("links"), QStringLiteral("mitte"), 7.0, 123.456, QStringLiteral("leer")}}), 1);

    const FontSpec f = arial(8);
    const double lineBottom = 1 + textH(8);
    const auto left = textsOf(s, QStringLiteral("links"));
    ASSERT_EQ(left.size(), 1u);
    EXPECT_NEAR(left[0].points[0].x(), 1.5, 1e-9);
    EXPECT_NEAR(left[0].points[0].y() + textH(8, QStringLiteral("links")) / 2, lineBottom - 1, 1e-9);
    const auto mid = textsOf(s, QStringLiteral("mitte"));
    EXPECT_NEAR(mid[0].points[0].x() + textW(f, QStringLiteral("mitte")) / 2, 30, 1e-9);
    const auto right = textsOf(s, QStringLiteral("7,00"));
    ASSERT_EQ(right.size(), 1u);
    EXPECT_NEAR(right[0].points[0].x() + textW(f, QStringLiteral("7,00")), 60 - 1.5, 1e-9);
    // On the decimal point: the end of the decimal sign lies F left of the column's centre.
    const auto dec = textsOf(s, QStringLiteral("123,46"));
    ASSERT_EQ(dec.size(), 1u);
    const double F = (2.5 - 3) * (10 - 1.5) / 5;
    EXPECT_NEAR(dec[0].points[0].x() + textW(f, QStringLiteral("123,")), 70 - F, 1e-9);
    // Any other alignment code leaves the cell empty.
    EXPECT_TRUE(textsOf(s, QStringLiteral("leer")).empty());
}

TEST(Tabelle, ATextWiderThanItsColumnIsDrawnNarrowerWithinIt)
{
    test::Boxes boxes;
    RecordingSurface s(QSizeF(200, 100));
    clsTABELLE t;
    setUpDeviceTable(t, s);
    CellArray body(3, 2);
    body.set(0, 0, QStringLiteral("EK-PAUSCH"));   // wider than the 13-mm identifier column
    body.set(1, 0, QStringLiteral("Pauschalsätze"));
    body.set(0, 1, QStringLiteral("EK"));
    t.TABELLE(body, 1);
    const auto wide = textsOf(s, QStringLiteral("EK-PAUSCH"));
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_LT(wide[0].font.stretch, 1);
    const double start = wide[0].points[0].x();
    EXPECT_NEAR(start, 2 + 1.5, 1e-9);   // where the column's texts begin
    EXPECT_LE(start + measureTextMm(wide[0].font, QStringLiteral("EK-PAUSCH")).width(), 2 + 13 - 1.5 + 1e-9);
    EXPECT_DOUBLE_EQ(textsOf(s, QStringLiteral("EK"))[0].font.stretch, 1);
    EXPECT_DOUBLE_EQ(textsOf(s, QString::fromUtf8("Pauschalsätze"))[0].font.stretch, 1);
}

// The combination table's columns: a 5-mm number column, centred, and 13-mm key columns.
void setUpCombinationColumns(clsTABELLE &t, Surface &s)
{
    t.EOBJEKT(&s, QStringLiteral("picBILD160"));
    t.ERZ(0.5);
    t.ERL(0.5);
    t.ERO(7);
    t.ERU(12);
    t.ELSB({5.0, 13.0, 13.0});
    t.ELGIT({2, 1});
    t.ELGITLEER({0, 0});
    t.EZA(1);
    t.ELA({1, 0, 0});
    t.ELFORMAT({QStringLiteral("#0"), Variant(), Variant()});
    t.LINIENEINSTELLUNGEN(0, 0, 0);
    t.SCHRIFTEINSTELLUNGEN(QString(), 7, 0, 0, 0, 0);
}

TEST(Tabelle, NumbersWiderThanTheirRoomStayReadable)
{
    // Up to three digits fit the 5-mm column at full width; longer numbers are drawn narrower,
    // but never so narrow that they no longer read. Every number stays centred in its column.
    const struct {
        int number;
        double stretch;   // 0: narrower than 1 but not below the readable limit
    } cases[] = {{7, 1}, {123, 1}, {499, 1}, {4567, 0}, {32767, 0}};
    test::Boxes boxes;
    RecordingSurface s(QSizeF(200, 100));
    clsTABELLE t;
    setUpCombinationColumns(t, s);
    CellArray body(3, 5);
    for (int j = 0; j < 5; ++j)
        body.set(0, j, int16_t(cases[j].number));
    t.TABELLE(body, 1);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.number);
        const auto drawn = textsOf(s, QString::number(c.number));
        ASSERT_EQ(drawn.size(), 1u);
        const FontSpec &f = drawn[0].font;
        if (c.stretch == 1)
            EXPECT_DOUBLE_EQ(f.stretch, 1);
        else
            EXPECT_LT(f.stretch, 1);
        EXPECT_GE(f.stretch, 0.85);
        const double w = measureTextMm(f, QString::number(c.number)).width();
        EXPECT_NEAR(drawn[0].points[0].x() + w / 2, 0.5 + 2.5, 1e-6);
    }
}

TEST(Tabelle, TextsThatRunOnAreDrawnAtFullLengthOverTheNextColumnsRule)
{
    test::Boxes boxes;
    RecordingSurface s(QSizeF(200, 100));
    clsTABELLE t;
    setUpCombinationColumns(t, s);
    t.setRunOnTexts(true);
    CellArray body(3, 2);
    body.set(0, 0, int16_t(0));
    body.set(1, 0, QStringLiteral("SANDSTEIN-FEST"));   // far wider than its 13-mm column
    body.set(0, 1, int16_t(1));
    body.set(1, 1, QStringLiteral("KI"));
    t.TABELLE(body, 1);

    const auto drawn = textsOf(s, QStringLiteral("SANDSTEIN-FEST"));
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_DOUBLE_EQ(drawn[0].font.stretch, 1);
    EXPECT_NEAR(drawn[0].points[0].x(), 0.5 + 5 + 1.5, 1e-9);
    const QRectF text(drawn[0].points[0], measureTextMm(drawn[0].font, drawn[0].text));
    const double rule = 0.5 + 5 + 13;   // the rule after the key column
    ASSERT_GT(text.right(), rule + 1);

    // The rule is cleared where the text runs over it, after the rules and before the text.
    const std::vector<Stroke> &log = s.strokes();
    const auto at = [&](const Stroke &k) { return int(&k - log.data()); };
    const Stroke *fill = nullptr;
    for (const Stroke &k : log)
        if (k.kind == Primitive::FillRect)
            fill = &k;
    ASSERT_NE(fill, nullptr);
    const QRectF cleared = QRectF(fill->points[0], fill->points[1]).normalized();
    EXPECT_EQ(fill->fillColor, s.backColor());
    EXPECT_LT(cleared.left(), rule);
    EXPECT_GE(cleared.left(), rule - 0.5);
    EXPECT_GE(cleared.right(), text.right());
    EXPECT_LT(cleared.top(), text.center().y() - 0.5);
    EXPECT_GT(cleared.bottom(), text.center().y() + 0.5);
    for (const Stroke &k : log)
        if (k.kind == Primitive::Line && std::abs(k.points[0].x() - rule) < 1e-9)
            EXPECT_LT(at(k), at(*fill));
    int textIndex = -1;
    for (const Stroke &k : log)
        if (k.kind == Primitive::Text && k.text == QLatin1String("SANDSTEIN-FEST"))
            textIndex = at(k);
    EXPECT_LT(at(*fill), textIndex);

    // A text that fits its column clears nothing.
    EXPECT_EQ(s.strokes(Primitive::FillRect).size(), 1u);
    EXPECT_DOUBLE_EQ(textsOf(s, QStringLiteral("KI"))[0].font.stretch, 1);
}

TEST(Tabelle, SymbolCells)
{
    test::Boxes boxes;
    RecordingSurface s(QSizeF(100, 200));
    clsTABELLE t;
    t.EOBJEKT(&s);
    t.ELSB({10.0});
    t.ELA({1});
    t.ELFORMAT({QStringLiteral("SYMBOL")});
    CellArray body(1, 9);
    for (int v = 0; v <= 8; ++v)
        body.set(0, v, v == 3 ? Variant(QStringLiteral("3")) : Variant(int16_t(v)));   // a text "3" counts as 3
    s.setForeColor(QColor(1, 2, 3));
    t.TABELLE(body, 1);

    // Every primitive after the two frames belongs to a symbol; group them by colour.
    struct Expect { QColor color; Primitive kind; size_t count; };
    const Expect expect[] = {
        {QColor(0, 0, 255), Primitive::Line, 4},       // 0 diagonal cross
        {QColor(0, 255, 0), Primitive::FillRect, 1},   // 1 filled square
        {QColor(0, 255, 255), Primitive::Rectangle, 1},// 2 square outline
        {QColor(255, 0, 0), Primitive::Ellipse, 1},    // 3 filled circle
        {QColor(255, 0, 255), Primitive::Ellipse, 1},  // 4 circle outline
        {QColor(0, 180, 0), Primitive::Line, 3},       // 5 triangle
        {QColor(0, 0, 180), Primitive::Line, 6},       // 6 star
        {QColor(0, 0, 0), Primitive::Point, 1},        // 7 point
    };
    std::vector<Stroke> symbols(s.strokes().begin() + 2, s.strokes().end());
    size_t at = 0;
    for (const Expect &e : expect) {
        for (size_t k = 0; k < e.count; ++k, ++at) {
            ASSERT_LT(at, symbols.size());
            EXPECT_EQ(symbols[at].color, e.color) << at;
            EXPECT_EQ(symbols[at].kind, e.kind) << at;
        }
    }
    EXPECT_EQ(at, symbols.size()) << "the value 8 draws nothing";
    const auto ellipses = s.strokes(Primitive::Ellipse);
    EXPECT_TRUE(ellipses[0].filled);
    EXPECT_EQ(ellipses[0].fillColor, QColor(255, 0, 0));
    EXPECT_FALSE(ellipses[1].filled);
    EXPECT_DOUBLE_EQ(ellipses[0].rx, 0.7);
    EXPECT_EQ(s.fillStyle(), 1);
    EXPECT_EQ(s.foreColor(), QColor(1, 2, 3));
    EXPECT_TRUE(s.strokes(Primitive::Text).empty());

    // In a foot block "SYMBOL" is only a format pattern: text, no symbol.
    s.reset();
    t.TABELLE(CellArray::fromRows({{3.0}}), 2);
    EXPECT_TRUE(s.strokes(Primitive::Ellipse).empty());
    EXPECT_EQ(s.strokes(Primitive::Text).size(), 1u);
}

TEST(Tabelle, TitleAboveAndFootnoteBelow)
{
    test::Boxes boxes;
    RecordingSurface s(QSizeF(68, 200));
    clsTABELLE t;
    setUpDeviceTable(t, s, QStringLiteral("picBILD3"));
    t.ELSB({13.0, 29.0, 15.0});
    t.TITEL(QStringLiteral("Personalkosten"));   // before any block: uses no block height
    t.TABELLE(deviceHead(), 0);
    t.TABELLE(deviceBody(2), 1);
    t.SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0);
    const QString note = QStringLiteral("* Kosten sind in den Gerätekosten inkludiert");
    t.FUSSNOTE(note);

    const auto title = textsOf(s, QStringLiteral("Personalkosten"));
    ASSERT_EQ(title.size(), 1u);
    EXPECT_NEAR(title[0].points[0].x(), 2, 1e-9);
    EXPECT_NEAR(title[0].points[0].y() + textH(7, title[0].text), 7 - 0.5 - 1.5, 1e-9);
    const auto foot = textsOf(s, note);
    ASSERT_EQ(foot.size(), 1u);
    EXPECT_NEAR(foot[0].points[0].x(), 3.5, 1e-9);
    EXPECT_NEAR(foot[0].points[0].y(), 7 + t.KOPFHOEHE() + t.RUMPFHOEHE() + 0.5 + 1.5, 1e-9);
    EXPECT_EQ(foot[0].font, arial(8));
}

TEST(Tabelle, ScrolledBodyOnScreenAndPaper)
{
    test::Boxes boxes;
    auto bar = std::make_shared<TableScrollBarState>();
    const CellArray head = deviceHead(), body = deviceBody(20);

    // Screen: a box too low for twenty rows puts the bar beside the table.
    RecordingSurface screen(QSizeF(122.5, 60));
    clsTABELLE t;
    setUpDeviceTable(t, screen);
    t.EYBALKEN(bar);
    t.TABELLE(head, 0);
    t.TABELLE(body, 1);
    const double HK = t.KOPFHOEHE(), h = textH(7);
    EXPECT_TRUE(bar->visible);
    EXPECT_NEAR(bar->top, 7 + HK + 0.5, 1e-9);
    EXPECT_DOUBLE_EQ(bar->left, 2 + 111 + 1.5);
    EXPECT_DOUBLE_EQ(bar->width, 5);
    EXPECT_NEAR(bar->height, 60 - bar->top - 2.5 + 0.5, 1e-9);
    EXPECT_EQ(bar->max, 10000);
    EXPECT_EQ(bar->largeChange, 2000);
    EXPECT_EQ(bar->smallChange, 300);
    // The rows whose text line stays above the lower margin line.
    int fit = 0;
    while (fit < 20 && 7 + HK + 0.5 + h + fit * h <= 60 - 2.5)
        ++fit;
    const int L = fit - 1;
    ASSERT_GT(L, 2);
    ASSERT_LT(L, 19);
    EXPECT_EQ(t.EEZ(), 0);
    EXPECT_EQ(t.ELZ(), L);
    EXPECT_EQ(rowKeys(screen).size(), L + 1);

    // Scrolled half way: a new object (as the page makes one) shows the middle rows...
    bar->value = 5000;
    const int first = int(RoundHalfEven(0.5 * (19 - L)));
    QStringList expected;
    for (int j = first; j <= first + L; ++j)
        expected << QStringLiteral("R%1").arg(j, 2, 10, QLatin1Char('0'));
    screen.reset();
    clsTABELLE t2;
    setUpDeviceTable(t2, screen);
    t2.EYBALKEN(bar);
    t2.TABELLE(head, 0);
    t2.TABELLE(body, 1);
    EXPECT_EQ(rowKeys(screen), expected);

    // ...and the paper shows the same rows, at the page's offsets.
    RecordingSurface paper(QSizeF(297, 210));
    paper.setPrinter(true);
    clsTABELLE p;
    setUpDeviceTable(p, paper, QString());
    p.EXDL(14);
    p.EYDO(36);
    p.EYBALKEN(bar);
    p.TABELLE(head, 0);
    p.TABELLE(body, 1);
    EXPECT_EQ(rowKeys(paper), expected);
    EXPECT_NEAR(paper.strokes(Primitive::Rectangle)[0].points[0].x(), 16, 1e-9);
    EXPECT_NEAR(paper.strokes(Primitive::Rectangle)[0].points[0].y(), 43, 1e-9);

    // A box that holds the whole body hides the bar; printing then shows every row, however
    // low the bar was left by the earlier drawing.
    bar->value = 0;
    RecordingSurface tall(QSizeF(122.5, 200));
    clsTABELLE t3;
    setUpDeviceTable(t3, tall);
    t3.EYBALKEN(bar);
    t3.TABELLE(head, 0);
    t3.TABELLE(body, 1);
    EXPECT_FALSE(bar->visible);
    EXPECT_EQ(rowKeys(tall).size(), 20);
    paper.reset();
    clsTABELLE p2;
    setUpDeviceTable(p2, paper, QString());
    p2.EYBALKEN(bar);
    p2.TABELLE(head, 0);
    p2.TABELLE(body, 1);
    EXPECT_EQ(rowKeys(paper).size(), 20);
}

TEST(Tabelle, RefusesMissingWidthsAndCells)
{
    RecordingSurface s(QSizeF(100, 100));
    {
        test::Boxes boxes;
        boxes.answer(ui::vbOK);
        clsTABELLE t;
        t.EOBJEKT(&s, QStringLiteral("picBILD11"));
        t.TABELLE(deviceHead(), 0);
        ASSERT_EQ(boxes.records().size(), 1u);
        EXPECT_EQ(boxes.records()[0].text, QStringLiteral("Angabe der Spaltenbreiten in Objekt picBILD11 fehlt !"));
        EXPECT_EQ(boxes.records()[0].title, QStringLiteral("Tabelle"));
        EXPECT_EQ(boxes.records()[0].style, ui::vbOKOnly + ui::vbExclamation);
        EXPECT_TRUE(s.strokes().empty());
        EXPECT_DOUBLE_EQ(t.TABELLENBREITE(), 0);
    }
    {
        // A cell block the page never filled: one box, nothing drawn, no box per cell.
        test::Boxes boxes;
        boxes.answer(ui::vbOK);
        clsTABELLE t;
        t.EOBJEKT(&s);
        t.ELSB({10.0, 10.0});
        t.TABELLE(CellArray(), 1);
        ASSERT_EQ(boxes.records().size(), 1u);
        EXPECT_TRUE(boxes.records()[0].text.startsWith(QStringLiteral("VB-Fehler: 9\n")));
        EXPECT_EQ(boxes.records()[0].title, QStringLiteral("Tabelle"));
        EXPECT_TRUE(s.strokes().empty());
    }
    {
        // A rule list shorter than the separators: the box, then the rest of the block.
        test::Boxes boxes;
        boxes.answer(ui::vbOK);
        clsTABELLE t;
        t.EOBJEKT(&s);
        t.ELSB({10.0, 10.0, 10.0});
        t.ELGIT({1});
        t.ELA({0, 0, 0});
        t.ELFORMAT({Variant(), Variant(), Variant()});
        t.TABELLE(CellArray::fromRows({{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}}), 1);
        EXPECT_EQ(boxes.records().size(), 1u);
        EXPECT_EQ(s.strokes(Primitive::Line).size(), 1u);
        EXPECT_EQ(s.texts(), (QStringList{"a", "b", "c"}));
    }
}

TEST(Tabelle, MarkedUpText)
{
    test::Boxes boxes;   // no box for any of these texts
    RecordingSurface s(QSizeF(200, 100));
    clsTABELLE t;
    t.EOBJEKT(&s);
    t.ERL(0);
    t.ERO(50);
    t.ERZ(0);
    t.SCHRIFTEINSTELLUNGEN(QString(), 7, 0, 0, 0, 0);
    const FontSpec normal = arial(7), small = arial(6);
    FontSpec symbol = normal;
    symbol.name = QStringLiteral("Symbol");

    // A power of ten: plain, raised in the small font, plain again, each part where the last ended.
    t.TITEL(QStringLiteral(" [10{h,2}-3 E]"));
    auto parts = s.strokes(Primitive::Text);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0].text, QStringLiteral(" [10"));
    EXPECT_EQ(parts[1].text, QStringLiteral("-3"));
    EXPECT_EQ(parts[2].text, QStringLiteral(" E]"));
    EXPECT_EQ(parts[0].font, normal);
    EXPECT_EQ(parts[1].font, small);
    EXPECT_EQ(parts[2].font, normal);
    // Aligned by the markup-free text in the normal font; the raised part a quarter of its own height up.
    const double top = 50 - 1.5 - textH(7, QStringLiteral(" [10-3 E]"));
    EXPECT_NEAR(parts[0].points[0].y(), top, 1e-9);
    EXPECT_NEAR(parts[1].points[0].y(), top - 0.25 * measureTextMm(small, QStringLiteral("-3")).height(), 1e-9);
    EXPECT_NEAR(parts[2].points[0].y(), top, 1e-9);
    EXPECT_NEAR(parts[1].points[0].x(), textW(normal, QStringLiteral(" [10")), 1e-9);
    EXPECT_NEAR(parts[2].points[0].x(), parts[1].points[0].x() + textW(small, QStringLiteral("-3")), 1e-9);
    EXPECT_EQ(s.font(), normal);   // the target's font is back

    struct Case { QString text; QStringList parts; };
    const Case cases[] = {
        {QStringLiteral("5{c,176}C"), {"5", QString(QChar(0xB0)), "C"}},          // a character by code
        {QStringLiteral("{g,1}ab"), {"a", "b"}},                                  // Greek, then plain
        {QStringLiteral("m{t,9}x"), {"m", "x"}},                                  // count beyond the end
        {QStringLiteral("Bohrung {A"), {"Bohrung {A"}},                           // user braces, as typed
        {QStringLiteral("a{b}c{"), {"a{b}c{"}},
        {QStringLiteral("{h,x}y"), {"{h,x}y"}},                                   // count not a number
    };
    for (const Case &c : cases) {
        s.reset();
        t.TITEL(c.text);
        EXPECT_EQ(s.texts(), c.parts) << c.text.toStdString();
    }
    s.reset();
    t.TITEL(QStringLiteral("{g,1}ab"));
    parts = s.strokes(Primitive::Text);
    EXPECT_EQ(parts[0].font, symbol);
    EXPECT_NEAR(parts[1].points[0].y() - parts[0].points[0].y(), 0.1 * measureTextMm(symbol, QStringLiteral("g")).height(), 1e-9);

    // A group of an unknown code keeps the target's own font only when it opens the text;
    // after another group it draws in the normal font, not in that group's small one.
    s.reset();
    const FontSpec own = arial(9, true);
    s.setFont(own);
    t.TITEL(QStringLiteral("{x,1}a{h,1}2{y,1}b"));
    parts = s.strokes(Primitive::Text);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0].font, own);
    EXPECT_EQ(parts[1].font, small);
    EXPECT_EQ(parts[2].font, normal);
    EXPECT_NEAR(parts[2].points[0].y(), parts[0].points[0].y(), 1e-9);
    EXPECT_EQ(s.font(), own);
    s.setFont(normal);

    // Null and the empty text draw nothing.
    s.reset();
    t.TITEL(Variant::null());
    t.TITEL(QString());
    EXPECT_TRUE(s.strokes().empty());
}

TEST(Tabelle, PageScrollBarKeepsWhatTheTableSet)
{
    QWidget box;                       // the page is built hidden
    auto *vsc = new QScrollBar(Qt::Vertical, &box);
    {
        QtTableScrollBar bar(vsc, 4);
        bar.setTop(10);
        bar.setLeft(115.5);
        bar.setWidth(5);
        bar.setHeight(12.3);
        bar.setVisible(true);
        EXPECT_EQ(vsc->geometry(), QRect(462, 40, 20, 49));
        EXPECT_TRUE(bar.Visible()) << "shown as far as the table is concerned, though its page is hidden";
    }
    // The page wraps the control anew for the printout: the height is the one the table set,
    // not its whole-pixel rounding.
    QtTableScrollBar again(vsc, 4);
    EXPECT_DOUBLE_EQ(again.Height(), 12.3);
    again.setVisible(false);
    EXPECT_FALSE(again.Visible());

    QScrollBar horizontal(Qt::Horizontal);
    EXPECT_THROW(QtTableScrollBar(&horizontal, 4), VbError);
}
