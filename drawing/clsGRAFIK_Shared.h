// What the source files of the drawing object share: the prefix of its error boxes and the
// test that keeps values which are not finite from reaching the target.
#pragma once

#include <QPointF>
#include <QString>
#include <cmath>

namespace vnt::grafik_shared {

inline const QString kFehler = QStringLiteral("VB-Fehler: ");

inline bool finite(double v) { return std::isfinite(v); }
inline bool finite(QPointF p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

} // namespace vnt::grafik_shared
