// The sample contents of the demo installation: presets, a logger configuration and a
// project of drilling records that the evaluation and every result page can work on.
#pragma once

#include "DemoDatabase.h"

namespace vnt::demo {

void fillPresets(DemoDatabase &db);
void fillProject(DemoDatabase &db);

} // namespace vnt::demo
