// Reading the logger file cycle by cycle into grid rows, in each of the three layouts a
// configuration describes: line blocks, one line per cycle, all cycles in one line.
#include "grid/LoggerImport_Shared.h"

#include "grid/GridText.h"
#include "platform/ui.h"

#include <cmath>

namespace vnt::loggerimport_shared {

namespace {

std::optional<double> numberOf(const QString &line) { return gridtext::readNumber(line.trimmed()); }

bool isNumber(const QString &line, double n)
{
    const auto v = numberOf(line);
    return v && *v == n;
}

int ask(const QString &text, int buttons)
{
    return ui::MsgBox(text, buttons | ui::vbExclamation, kTitle);
}

} // namespace

void Importer::countUpTo(const QString &line)
{
    refuseOutOfRange(line);
    const auto v = numberOf(line);
    if (!v || *v < double(n_) || *v != std::floor(*v))
        throw Abort{};
    n_ = static_cast<long long>(*v);
}

void Importer::refuseOutOfRange(const QString &line)
{
    const auto v = numberOf(line);
    if (!v || *v <= double(kLastCycle))
        return;
    ui::MsgBox(QStringLiteral("ZyklusNr. ") + line.trimmed() + QStringLiteral(" der Elektronikdatei liegt außerhalb des Bereichs von 0 bis ")
                   + whole(kLastCycle) + QStringLiteral("!"),
               ui::vbOKOnly | ui::vbExclamation, kTitle);
    throw Abort{};
}

void Importer::place(int position, const QString &text)
{
    for (const LoggerValue &v : cfg_.values) {
        if (!v.position || *v.position != position || v.column < 0)
            continue;
        if (row_ == grid_.Rows())
            grid_.setRows(grid_.Rows() + 1);
        grid_.setTextMatrix(row_, v.column, text.trimmed());
    }
}

void Importer::lineBlocks(Lines &in)
{
    const int zl = cfg_.zl;
    if (zl <= 0)
        throw Abort{};   // a cycle without lines could never advance through the file
    int k = 0;
    firstRow_ = grid_.Rows() - 1;
    row_ = firstRow_;
    try {
        if (!cfg_.kenz1nr.isEmpty()) {
            const long long m = cfg_.kenz1nr.trimmed().toLongLong();
            for (long long i = 0; i < m * zl; ++i)
                in.read();
            n_ = m;
        } else if (!cfg_.kenz1kz.isEmpty()) {
            long long count = 0;
            for (;;) {
                const QString line = in.read();
                if (line.trimmed() == cfg_.kenz1kz)
                    break;
                ++count;
                if (zl != 0 && count % zl == 0) {
                    ++n_;
                    k = 0;
                } else {
                    ++k;
                }
            }
            ++k;
        }

        bool first = true;
        while (!in.atEnd()) {
            if (!first)
                k = 0;
            first = false;
            while (k < zl) {
                QString line = in.read();
                if (k == 0 && !isNumber(line, zl - 1)) {
                    const QString text = row_ == firstRow_
                                             ? QStringLiteral("Elektronikvorgaben passen nicht zur Struktur der Elektronikdatei!")
                                             : QStringLiteral("ZyklusNr. ") + whole(n_ - 1)
                                                   + QStringLiteral(" der Elektronikdatei ist beschädigt!");
                    if (ask(text, ui::vbOKCancel) == ui::vbCancel)
                        throw Abort{};
                    ++n_;
                    // The damaged cycle's row is filled again, but never a row above the import.
                    if (row_ > firstRow_)
                        --row_;
                    do
                        line = in.read();
                    while (!isNumber(line, zl - 1));
                    k = 1;
                    line = in.read();
                    countUpTo(line);
                } else if (k == 1 && !isNumber(line, double(n_))) {
                    refuseOutOfRange(line);
                    if (ask(QStringLiteral("Es fehlen ein oder mehrere Zyklen nach ZyklusNr. ") + whole(n_ - 1)
                                + QStringLiteral(" !"),
                            ui::vbOKCancel)
                        == ui::vbCancel)
                        throw Abort{};
                    countUpTo(line);
                }
                place(k, line);
                ++k;
            }
            ++row_;
            ++n_;
        }
    } catch (const EndOfFile &) {
        // the end of the file ends reading, even inside a cycle
    }
}

void Importer::linePerCycle(Lines &in)
{
    const QString &sep = cfg_.tzs;
    const int zl = cfg_.zl;
    try {
        if (!cfg_.kenz1nr.isEmpty()) {
            const long long m = cfg_.kenz1nr.trimmed().toLongLong();
            for (long long i = 0; i < m; ++i)
                in.read();
        } else if (!cfg_.kenz1kz.isEmpty()) {
            while (!in.read().contains(cfg_.kenz1kz)) {
            }
        }
        n_ = 0;
        firstRow_ = grid_.Rows() == 2 ? 1 : grid_.Rows();
        row_ = firstRow_;
        while (!in.atEnd()) {
            const QString line = in.read();
            qsizetype p = 0;
            bool damaged = false;
            for (int k = 0; k < zl && !damaged; ++k) {
                QString field;
                if (k == zl - 1) {
                    if (k == 0)
                        p = sep.size();
                    const qsizetype len = line.size() - 2 - p;
                    if (p > line.size() || len < 0)
                        throw Abort{};   // a line too short for its last field
                    field = line.mid(p, len);
                } else if (k == 0) {
                    const qsizetype q = line.indexOf(sep);
                    if (q < 0)
                        throw Abort{};
                    field = line.left(q);
                    p = q + sep.size();
                } else {
                    const qsizetype q = line.indexOf(sep, p);
                    if (q < 0) {
                        if (ask(QStringLiteral("ZyklusNr. ") + whole(n_) + QStringLiteral(" ist beschädigt!"), ui::vbOKCancel)
                            == ui::vbCancel)
                            throw Abort{};
                        damaged = true;   // the next line fills the same row
                        break;
                    }
                    field = line.mid(p, q - p);
                    p = q + sep.size();
                }
                place(k, field);
            }
            if (damaged)
                continue;
            ++row_;
            ++n_;
        }
    } catch (const EndOfFile &) {
    }
}

void Importer::singleLine(Lines &in)
{
    const QString &sep = cfg_.tzs, &end = cfg_.tzz;
    const int zl = cfg_.zl;
    QString line;
    try {
        line = in.read();
    } catch (const EndOfFile &) {
        return;
    }
    qsizetype start = -1;
    if (!cfg_.kenz1nr.isEmpty()) {
        const long long m = cfg_.kenz1nr.trimmed().toLongLong();
        n_ = m;
        if (m == 0) {
            start = end.size();
        } else {
            qsizetype at = -end.size();
            for (long long i = 0; i < m; ++i) {
                at = line.indexOf(end, at + end.size());
                if (at < 0)
                    throw Abort{};
            }
            start = at + end.size();
        }
    } else if (!cfg_.kenz1kz.isEmpty()) {
        n_ = 0;
        const qsizetype at = line.indexOf(cfg_.kenz1kz);
        if (at < 0)
            throw Abort{};
        start = at + cfg_.kenz1kz.size();
    }
    firstRow_ = grid_.Rows() == 2 ? 1 : grid_.Rows();
    row_ = firstRow_;
    for (;;) {
        const qsizetype stop = line.indexOf(end, start + 1);
        if (stop < 0)
            return;
        if (start < 0)
            throw Abort{};
        const QString record = line.mid(start, stop - start);
        qsizetype p = 0;
        for (int k = 0; k < zl; ++k) {
            QString field;
            if (k == zl - 1 && k > 0) {
                const qsizetype len = record.size() - 2 - p;
                if (len < 0)
                    throw Abort{};
                field = record.mid(p, len);
            } else {
                const qsizetype q = record.indexOf(sep, p);
                if (q < 0) {
                    ask(QStringLiteral("ZyklusNr. ") + whole(n_) + QStringLiteral(" ist beschädigt!"), ui::vbOKCancel);
                    throw Abort{};
                }
                field = record.mid(p, q - p);
                p = q + sep.size();
            }
            place(k, field);
        }
        start = stop + end.size();
        ++n_;
        ++row_;
    }
}

} // namespace vnt::loggerimport_shared
