// What one figure costs to draw on the screen's picture image: the frame row read from the
// figure tables, full axes (ticks, grid lines, numbers, titles with markup) and one
// 10,000-point polyline, beside the same drawing on the recording surface (the layout alone,
// without painting pixels).
#include "drawing/Surface.h"
#include "drawing/clsGRAFIK.h"
#include "platform/RunContext.h"
#include "platform/system.h"
#include "platform/db/Database.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>
#include <vector>

namespace {

struct Projekt {
    QTemporaryDir dir;
    vnt::SimpleRunContext ctx;
    Projekt() {
        const QString path = dir.filePath(QStringLiteral("VANT.mdb"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.close();
        ctx.cnn = vnt::db::openDatabase(path);
        QFile schema(QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../schema/project.sql"));
        schema.open(QIODevice::ReadOnly);
        ctx.cnn->Execute(QString::fromUtf8(schema.readAll()));
        ctx.cnn->Execute(QStringLiteral("INSERT INTO G0 (ID,IDOBJEKT,OX,OY,RL,RR,RO,RU,MYMX,XMIN,XMAX,YMIN,YMAX,MX,MY) "
                                        "VALUES (1,11,1,1,20,8,10,15,0,0,0,0,0,0,0)"));
    }
};

Projekt &projekt() {
    static Projekt p;
    return p;
}

const std::vector<double> &xs() {
    static std::vector<double> v = [] {
        std::vector<double> x(10000);
        for (size_t i = 0; i < x.size(); ++i) x[i] = double(i) / 100;
        return x;
    }();
    return v;
}

const std::vector<double> &ys() {
    static std::vector<double> v = [] {
        std::vector<double> y(10000);
        for (size_t i = 0; i < y.size(); ++i) y[i] = 50 + 40 * std::sin(double(i) / 300) + 5 * std::sin(double(i) / 7);
        return y;
    }();
    return v;
}

void figur(vnt::Surface &target) {
    vnt::clsGRAFIK g(projekt().ctx);
    g.setEID(1);
    g.setEIDOBJEKT(11);
    g.setEOBJEKT(&target);
    g.setEBOXMIN(-1);
    g.setEBOXMAX(-1);
    g.setELXMIN({0, 25, 50, 75, 100});
    g.setELXDIFF({50, 100});
    g.setELXIT({10, 20});
    g.setELXGIT({10, 20});
    g.setELXZL({5, 10});
    g.setETEXTX(QStringLiteral("Zeit t{t,1}B [h]"));
    g.setEBOYMIN(-1);
    g.setEBOYMAX(-1);
    g.setELYMIN({0, 50, 100});
    g.setELYDIFF({100});
    g.setELYIT({10});
    g.setELYGIT({10});
    g.setELYZL({5});
    g.setETEXTY(QStringLiteral("Weg s [10{h,2}-3 m]"));
    g.SKALEN(-1, &xs(), &ys());
    g.LINIENEINSTELLUNGEN(0, 0.3, vnt::paletteRgb(9));
    g.POLYGON(xs(), ys(), 0, 0, 0, QStringLiteral("Messung"), 3, 1, 0);
}

void BM_FigureOnImage(benchmark::State &state) {
    QImage image(int(170 * 96 / 25.4), int(120 * 96 / 25.4), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::white);
        vnt::ImageSurface screen(&image, 96 / 25.4);
        figur(screen);
        screen.flush();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_FigureOnImage)->Unit(benchmark::kMillisecond);

void BM_FigureRecorded(benchmark::State &state) {
    for (auto _ : state) {
        vnt::RecordingSurface rec(QSizeF(170, 120));
        figur(rec);
        benchmark::DoNotOptimize(rec.strokes().size());
    }
}
BENCHMARK(BM_FigureRecorded)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vnt::sys::setLocale(QLocale(QLocale::German, QLocale::Germany));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
