// One synthetic figure drawn the way the result pages draw theirs, rendered on screen (PNG)
// and on an A4 sheet (PDF): the same geometry on both, offset by the sheet placement.
// With VANTREL_SCREENSHOTS set, the picture and the sheet are left there to be looked at.
#include "test_grafik_support.h"
#include "TestSupport.h"

#include <QDir>
#include <QProcess>

using namespace vnt;

namespace {

void tabellen(test::FigurDb &db) {
    db.exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'B 7', 1)"));
    db.frame(1, 11, 1, 0, 22, 8, 14, 10, 0, 0, 0, 0);   // depth figure: y grows downwards
    db.exec(QStringLiteral(
        "INSERT INTO G1 (ID,IDOBJEKT,KEN,LFDNR,SA,SG,SF,SU,SK,FB,XP,YP,TXT,WI,ARX,ARY) VALUES "
        "(1,11,0,1,'Times New Roman',8,0,0,1,4,62,4,'Fels {g,1}s{t,1}D = 45 MN/m{h,1}2',0,0,2),"
        "(1,11,0,2,'',7,0,0,0,2,8,22,'Grundwasser',30,0,2)"));
    db.exec(QStringLiteral(
        "INSERT INTO G2_1 (ID,IDOBJEKT,KEN,LFDNR,TXT,LA,FB,LB,PSTYP,PSIT,PNR,LAGETEXT,LAGEPFEIL) VALUES "
        "(1,11,0,1,'Soll',2,12,0.25,2,-2,0,3,1)"));
    db.exec(QStringLiteral("INSERT INTO G2_2 (ID,IDOBJEKT,KEN,LFDNR,PKTNR,PX,PY) VALUES "
                           "(1,11,'W',1,0,5,2),(1,11,'W',1,1,25,14),(1,11,'W',1,2,55,20)"));
    db.exec(QStringLiteral("INSERT INTO G3 (ID,IDOBJEKT,KEN,LFDNR,LA,FB,LB,MPX,MPY,PX1,PY1,WI) VALUES "
                           "(1,11,0,1,0,5,0.2,70,24,82,24,150)"));
}

// Figure 11-like: depth downwards, time to the right; every kind of drawing member once.
void zeichne(const RunContext &ctx, Surface &target, double xdl, double ydo) {
    clsGRAFIK g(ctx);
    g.setEID(1);
    g.setEIDOBJEKT(11);
    g.setEOBJEKT(&target);
    if (target.isPrinter() || xdl != 0) {
        g.setEXDL(xdl);
        g.setEYDO(ydo);
        g.setELX(170);
        g.setELY(120);
    }
    g.setEBOXMIN(0);
    g.setEBOXMAX(-1);
    g.setELXMIN({0, 20, 40, 60, 80, 100});
    g.setELXDIFF({50, 100});
    g.setELXIT({5, 10});
    g.setELXGIT({5, 10});
    g.setELXZL({5, 5});
    g.setETEXTX(QStringLiteral("Zeit t{t,1}B [h]"));
    g.setEBOYMAX(-1);
    g.setELYMIN({0, 10, 20, 30, 40});
    g.setELYDIFF({20, 30, 40});
    g.setELYIT({4, 6, 8});
    g.setELYGIT({4, 6, 8});
    g.setELYZL({2, 3, 4});
    g.setETEXTY(QStringLiteral("Tiefe z [10{h,2}-1 m]"));
    const std::vector<double> x{0, 12, 31, 47, 66, 78}, y{0, 4.5, 9, 16, 22, 27.5};
    g.SKALEN(-1, &x, &y);

    g.SCHRIFTEINSTELLUNGEN(QString(), 9, -1, 0, 0, 0);
    g.TEXT(1, 1, QStringLiteral("Bild 11: Profil mit {g,1}a-Kurve, V = 3 m{h,1}3"), 2, 0, 0, 0);
    g.SCHRIFTEINSTELLUNGEN(QString(), 7, 0, 0, 0, 0);
    g.TEXT(168, 1, QStringLiteral("2,5E+03"), 2, 0, 2, 0);

    g.LINIENEINSTELLUNGEN(0, 0.3, paletteRgb(9));
    g.setEPTYP(5);
    g.POLYGON(x, y, 0, 0, 0, QString(), -1, 0, 0);
    g.LINIENEINSTELLUNGEN(0, 0.2, paletteRgb(4));
    g.setEPTYP(0);
    g.POLYGON(x, {2, 6, 8, 19, 20, 25}, -2, 3, 2, QStringLiteral("Messung {s,1}4"), 0, 1, 0);
    g.LINIENEINSTELLUNGEN(0, 0, 0);
    g.KREISBOGEN(30, 24, -120, 38, 24, 3);
    g.TEXT(88, 4, QStringLiteral("gedreht {h,1}2"), 1, 60, 0, 0);
    g.KOTENDREIECK(90, 5, 1.5 * g.MY(), 0, 1, 1);
}

QString ausgabeOrdner(QTemporaryDir &tmp) {
    const QString dir = QString::fromLocal8Bit(qgetenv("VANTREL_SCREENSHOTS"));
    return dir.isEmpty() ? tmp.path() : dir;
}

} // namespace

TEST(Figur, SameGeometryOnScreenAndPaper) {
    test::FigurDb db;
    tabellen(db);
    QTemporaryDir tmp;
    const QString out = ausgabeOrdner(tmp);

    // Screen: the picture box's image, 170 x 120 mm.
    const double k = 6;   // pixels per millimetre, fine enough to look at
    QImage image(int(170 * k), int(120 * k), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        ImageSurface screen(&image, k);
        zeichne(db.ctx, screen, 0, 0);
    }
    ASSERT_TRUE(image.save(out + QStringLiteral("/figure.png")));
    int ink = 0;
    for (int yy = 0; yy < image.height(); yy += 3)
        for (int xx = 0; xx < image.width(); xx += 3) ink += qGray(image.pixel(xx, yy)) < 160;
    EXPECT_GT(ink, 300);

    // Paper: one A4 sheet, the figure 20 mm from the left and 30 mm from the top.
    const QString pdf = out + QStringLiteral("/figure.pdf");
    {
        PrinterSurface paper(pdf);
        zeichne(db.ctx, paper, 20, 30);
    }
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("/Count 1"));

    // The same drawing recorded for both targets matches stroke for stroke.
    RecordingSurface onScreen(QSizeF(170, 120), k);
    zeichne(db.ctx, onScreen, 0, 0);
    RecordingSurface onPaper(QSizeF(210, 297), 1200 / 25.4);
    onPaper.setPrinter(true);
    zeichne(db.ctx, onPaper, 20, 30);
    const auto &a = onScreen.strokes();
    const auto &b = onPaper.strokes();
    ASSERT_EQ(a.size(), b.size());
    ASSERT_GT(a.size(), 100u);
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].kind, b[i].kind) << i;
        EXPECT_EQ(a[i].text, b[i].text) << i;
        ASSERT_EQ(a[i].points.size(), b[i].points.size()) << i;
        for (int p = 0; p < a[i].points.size(); ++p)
            EXPECT_TRUE(test::nearPoint(a[i].points[p] + QPointF(20, 30), b[i].points[p], 1e-6)) << i;
    }
    // Everything drawn lies within the figure, except the arc's unclipped end marks.
    const QStringList texts = onScreen.texts();
    for (const char *t : {"Bild 11: Profil mit ", "Fels ", "Grundwasser", "Soll", "Messung ", "gedreht ", "2,5*10", "+03"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
}
