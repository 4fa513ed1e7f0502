// The data step of the multiple evaluation: reads the combinations, the cost set and the
// sections of the active records through the column accessor, aggregates them, and stores the
// sums and statistics of every combination in M3 and M4 as one unit.
#pragma once

#include "pages/multiple/Aggregation.h"
#include "platform/RunContext.h"

#include <vector>

namespace vnt::multiple {

struct AggregationInput {
    CostSet costs;
    std::vector<Combination> combinations;   // numbers 0..N; a number without an M2 row matches all
    std::vector<Section> sections;           // the active records in name order, each by section
};

// False when a read failed; the accessor has shown its message.
bool readAggregationInput(RunContext &ctx, AggregationInput &in);

// Writes a row of M3 and of M4 for every combination. Either every value is written or, after
// the accessor's message, the tables keep the previous run's rows untouched.
bool writeAggregation(RunContext &ctx, const std::vector<CombinationResult> &results);

// Reads, aggregates and writes; tells the user when no section fitted any combination.
// False when reading or writing failed; the results are then those computed, if any.
bool DATENEINGABE(RunContext &ctx, AggregationInput &in, std::vector<CombinationResult> &results);

} // namespace vnt::multiple
