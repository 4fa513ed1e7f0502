// The data step of the multiple evaluation: reads the combinations, the cost set and the
// sections of the active records through the column accessor, aggregates them, and stores the
// sums and statistics of every combination in M3 and M4 as one unit.
#pragma once

#include "pages/multiple/Aggregation.h"
#include "platform/RunContext.h"

#include "drawing/TabelleCells.h"

#include <vector>

namespace vnt {
class MultipleRun;
}

namespace vnt::multiple {

struct AggregationInput {
    CostSet costs;
    // Numbers 0..N; a number without an M2 row matches all. Empty until every key was read.
    std::vector<Combination> combinations;
    std::vector<Section> sections;           // the active records in name order, each by section
};

// False when a read failed; the accessor has shown its message.
bool readAggregationInput(RunContext &ctx, AggregationInput &in);

// Writes a row of M3 and of M4 for every combination. Either every value is written or, after
// the accessor's message, the tables keep the previous run's rows untouched.
bool writeAggregation(RunContext &ctx, const std::vector<CombinationResult> &results);

// Reads, aggregates and writes; tells the user (once in the run) when no section fitted any
// combination. False when reading or writing failed; the results are then those computed, if any.
bool DATENEINGABE(RunContext &ctx, MultipleRun &run, AggregationInput &in, std::vector<CombinationResult> &results);

// What the first page draws: this run's sums (and statistics), and the table of the combinations.
struct PageSums {
    std::vector<Sums> sums;   // by combination number
    std::vector<Stats> stats;  // likewise
    CellArray KOMBKOPF, KOMBTAB;

    int NKOMB() const { return int(sums.size()) - 1; }
    std::vector<bool> found() const;
    std::vector<double> depths() const;   // SDEZ in metres
};

// The first page's data step: aggregates and stores, and keeps this run's sums. When they
// could not be stored (or not computed, after a failed read), the run keeps what the page
// shows, for the pages after it.
PageSums pageSums(RunContext &ctx, MultipleRun &run);

} // namespace vnt::multiple
