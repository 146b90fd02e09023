// What a Kt sweep shows and saves: the force and torque graphs against the angle in degrees,
// and the step-totals file (code page 932, CR LF; values in N and N·m).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "files/file_error.h"
#include "model/element_model.h"
#include "model/notices.h"
#include "studies/kt_sweep.h"

namespace tavrine {

struct KtGraphSeries {
  std::string name;
  std::vector<std::pair<double, double>> points;  // (angle in degrees, value)
};

struct KtGraphData {
  std::string caption, title, x_title, y_title;
  std::array<KtGraphSeries, 3> series;
};

// The force in newtons, and the torque in mN·m, at every angle of the model's sweep, as their
// axis titles say.
KtGraphData ForceGraphData(const KtState& kt, const KtStepTotals& totals);
KtGraphData TorqueGraphData(const KtState& kt, const KtStepTotals& totals);

// The file's text in UTF-8; one line per angle of the model's current sweep, zeros for steps
// the totals do not hold. Forces in N and torques in N·m, as the headings say.
std::string FormatKtExportText(const KtState& kt, const KtStepTotals& totals);
// Sets ModelFilePath, writes the file so that an existing one is replaced only once the new one
// is complete, and raises CautionFileInOut on failure.
std::optional<FileError> KtExportCommand(ElementModel& model,
                                         const KtStepTotals& totals,
                                         const std::string& path,
                                         Notices& notices);

}  // namespace tavrine
