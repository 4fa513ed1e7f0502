// A figure's row in the figure table G0, read and written through the page's accessor of
// the record's G0 rows, keyed by the figure number; and the target its drawing object draws on.
#pragma once

#include <QRectF>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace vnt {

class clsDATEN;
class clsGRAFIK;
class PictureBox;
class Surface;

// OX and OY are written as Integers, every other column as a Single. Raises 91 without an
// accessor; a failed write has shown the accessor's message and the next value follows.
void writeFigureFrame(clsDATEN *g0, int figure, const std::vector<std::pair<const char *, double>> &values);
float readFigureFrame(clsDATEN *g0, int figure, const char *column);
// True when each of the record's figures has its row and the row holds what the figure draws
// by: directions, margins and limits. Errors of the query are thrown.
bool figureFramesComplete(clsDATEN *g0, int32_t id, std::initializer_list<int> figures);

// Binds the drawing object of figure `figure`: OBJ 0 its picture box, OBJ 1 the sheet at the
// box's place `mm` plus XDL, YDO millimetres, with the box's size; other values change nothing.
void bindFigureTarget(clsGRAFIK &g, int figure, PictureBox *box, int OBJ, float XDL, float YDO, const QRectF &mm,
                      Surface *sheet);

} // namespace vnt
