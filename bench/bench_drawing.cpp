// What one figure costs to draw on the screen's picture image: the frame row read from the
// figure tables, full axes (ticks, grid lines, numbers, titles with markup) and one
// 10,000-point polyline, beside the same drawing on the recording surface (the layout alone,
// without painting pixels) and beside a plain QPainter drawing of the same frame, grid,
// numbers, titles and polyline on the same image. The ratio to the plain drawing is the
// price of the figure engine. The frame row is unchanged after the first run, so the figure
// writes and commits nothing; BM_FigureWritingFrame measures the same figure when its scales
// have to be worked out and written back (one commit, the disk's sync included).
#include "BenchRun.h"
#include "drawing/Surface.h"
#include "drawing/clsGRAFIK.h"
#include "platform/RunContext.h"
#include "platform/system.h"
#include "platform/db/Database.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
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
        QFile schema(QStringLiteral(VANTREL_SOURCE_DIR "/schema/project.sql"));
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

// The stored scales cleared before every run: the figure works them out and writes them back.
void BM_FigureWritingFrame(benchmark::State &state) {
    QImage image(int(170 * 96 / 25.4), int(120 * 96 / 25.4), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        state.PauseTiming();
        projekt().ctx.cnn->Execute(QStringLiteral("UPDATE G0 SET MX=0, MY=0 WHERE ID=1 AND IDOBJEKT=11"));
        state.ResumeTiming();
        image.fill(Qt::white);
        vnt::ImageSurface screen(&image, 96 / 25.4);
        figur(screen);
        screen.flush();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_FigureWritingFrame)->Unit(benchmark::kMillisecond);

void BM_FigureRecorded(benchmark::State &state) {
    for (auto _ : state) {
        vnt::RecordingSurface rec(QSizeF(170, 120));
        figur(rec);
        benchmark::DoNotOptimize(rec.strokes().size());
    }
}
BENCHMARK(BM_FigureRecorded)->Unit(benchmark::kMillisecond);

// The same picture drawn by hand: a frame, a grid of 10 by 10 lines with their numbers, two
// titles and the polyline, each through QPainter at once.
void BM_PlainPainter(benchmark::State &state) {
    QImage image(int(170 * 96 / 25.4), int(120 * 96 / 25.4), QImage::Format_ARGB32_Premultiplied);
    const double px = 96 / 25.4;
    const QRectF plot(20 * px, 10 * px, (170 - 28) * px, (120 - 25) * px);
    // The figure draws a series as clipped segments with a one-pixel pen: so does this.
    std::vector<QLineF> line;
    line.reserve(xs().size());
    auto at = [&](size_t i) { return QPointF(plot.left() + xs()[i] / 100 * plot.width(), plot.bottom() - ys()[i] / 100 * plot.height()); };
    for (size_t i = 1; i < xs().size(); ++i)
        line.emplace_back(at(i - 1), at(i));
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setFont(QFont(QStringLiteral("Arial"), 8));
        p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.drawRect(plot);
        for (int k = 0; k <= 10; ++k) {
            const double x = plot.left() + k * plot.width() / 10, y = plot.bottom() - k * plot.height() / 10;
            p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
            p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
            p.drawText(QPointF(x - 2 * px, plot.bottom() + 4 * px), QString::number(k * 10));
            p.drawText(QPointF(plot.left() - 8 * px, y + 1 * px), QString::number(k * 10));
        }
        p.drawText(QPointF(plot.center().x(), plot.bottom() + 9 * px), QStringLiteral("Zeit t [h]"));
        p.drawText(QPointF(plot.left(), plot.top() - 2 * px), QStringLiteral("Weg s [10-3 m]"));
        p.setPen(QPen(QColor::fromRgb(QRgb(vnt::paletteRgb(9))), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.drawLines(line.data(), int(line.size()));
        p.drawText(line.back().p2() + QPointF(1 * px, 0), QStringLiteral("Messung"));
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PlainPainter)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vnt::sys::setLocale(QLocale(QLocale::German, QLocale::Germany));
    const auto results = vnt::bench::runBenchmarks(argc, argv);
    const auto image = results["BM_FigureOnImage"];
    const auto recorded = results["BM_FigureRecorded"];
    const auto plain = results["BM_PlainPainter"];
    const auto writing = results["BM_FigureWritingFrame"];
    if (image.real > 0 && plain.real > 0)
        std::printf("figure on the image, frame unchanged / plain QPainter: %.2f ms vs %.2f ms, ratio %.2f (aim none)\n",
                    image.real, plain.real, image.real / plain.real);
    if (recorded.real > 0 && plain.real > 0)
        std::printf("figure layout alone / plain QPainter: %.2f ms vs %.2f ms, ratio %.2f (aim none)\n", recorded.real,
                    plain.real, recorded.real / plain.real);
    if (writing.real > 0 && plain.real > 0)
        std::printf("figure on the image writing its frame / plain QPainter: %.2f ms vs %.2f ms, ratio %.2f (aim none)\n",
                    writing.real, plain.real, writing.real / plain.real);
    return 0;
}
