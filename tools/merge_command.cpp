#include <ostream>
#include <utility>
#include <vector>

#include "model/teravo.h"
#include "play/multi_play.h"
#include "results/csv_export.h"
#include "results/json_writer.h"
#include "tools/sim_commands.h"
#include "tools/sim_host.h"
#include "tools/sim_output.h"
#include "tools/sim_parts.h"
#include "tools/sim_runner.h"

namespace teravo::sim {

namespace {

int MergeSeries(std::vector<Part>& parts, const SimOptions& options, std::ostream& out,
                std::ostream& err) {
  const Part& first = parts.front();
  if (options.csvFolder && !first.keptPoints) {
    err << "teravo-sim: merge: the parts were run with --no-points: their CSV files cannot be "
           "formed again\n";
    return kExitRefused;
  }
  // The same steps as the whole run after its plays.
  TTeravo model;
  model.Parameters() = first.parameters;
  SimHost host;
  const PlayContext context{first.timeText, first.separator, LocalDateTimeNow};
  SeriesPlays plays;
  plays.total = first.total;
  plays.withPoints = first.keptPoints;
  for (Part& part : parts) {
    for (auto& record : part.plays) plays.records.push_back(std::move(record));
  }
  const CommandOutcome opened = Guarded([&] {
    return OpenSeries(model, host, context, SeriesStart{0, first.seed, {}}, std::move(plays));
  });
  return FinishRun(host, opened, RunEnding{first.moment, first.keptPoints, options.csvFolder}, out,
                   err);
}

int MergeSweep(std::vector<Part>& parts, const SimOptions& options, std::ostream& out,
               std::ostream& err) {
  const Part& first = parts.front();
  SweepTable table{first.edit, first.values, first.seed, first.separator, {}};
  bool refused = false;
  for (Part& part : parts) {
    for (SweepPoint& point : part.points) {
      // The whole run told these on stderr; the merge tells them again, so that its exit
      // status does not come unexplained.
      if (point.refused) {
        refused = true;
        err << table.edit << " = " << point.value << ": " << *point.refused << '\n';
      }
      table.points.push_back(std::move(point));
    }
  }
  if (const int status = WriteCsvFolder(options.csvFolder, {{"sweep.csv", SweepCsv(table)}}, err);
      status != kExitSuccess) {
    return status;
  }
  WriteSweepJson(table, out);
  return FinishDocument(out, err, refused ? kExitRefused : kExitSuccess);
}

}  // namespace

int RunMergeCommand(const SimOptions& options, const CommandIo& io) {
  std::vector<Part> parts;
  try {
    parts = ReadParts(options.parts);
  } catch (const MergeRefusal& refusal) {
    io.err << "teravo-sim: merge: " << refusal.text << '\n';
    return kExitRefused;
  }
  return parts.front().series ? MergeSeries(parts, options, io.out, io.err)
                              : MergeSweep(parts, options, io.out, io.err);
}

}  // namespace teravo::sim
