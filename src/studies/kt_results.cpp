// Graph series and the export lines, both walking the same angle loop as the sweep.
#include "studies/kt_results.h"

#include "files/cp932.h"
#include "files/safe_write.h"
#include "model/text_rules.h"

namespace tavrine {

namespace {

using Column = std::vector<double> KtStepTotals::*;

double At(const KtStepTotals& totals, Column column, int s) {
  const std::vector<double>& values = totals.*column;
  return s >= 1 && static_cast<size_t>(s) < values.size() ? values[static_cast<size_t>(s)] : 0.0;
}

KtGraphData Graph(const KtState& kt,
                  const KtStepTotals& totals,
                  const std::array<Column, 3>& columns,
                  double factor) {
  KtGraphData graph;
  const KtAngles angles = KtSweepAngles(kt);
  for (size_t c = 0; c < 3; ++c) {
    for (double phi : angles.phi) {
      const int s = KtStepNumber(phi, kt.StartAngle, kt.StepAngle);
      graph.series[c].points.emplace_back(RadToDeg(phi), factor * At(totals, columns[c], s));
    }
  }
  return graph;
}

std::string Number(double value) {
  return ShortestDecimal(value + 0.0);
}

std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted.push_back('"');
  quoted.append(text);
  quoted.push_back('"');
  return quoted;
}

}  // namespace

KtGraphData ForceGraphData(const KtState& kt, const KtStepTotals& totals) {
  KtGraphData graph =
      Graph(kt, totals, {&KtStepTotals::ForceX, &KtStepTotals::ForceY, &KtStepTotals::ForceZ}, 1);
  graph.caption = "ForceGraph";
  graph.title = "力の分布";
  graph.x_title = "Angle(deg.)";
  graph.y_title = "Force(N)";
  graph.series[0].name = "ForceX";
  graph.series[1].name = "ForceY";
  graph.series[2].name = "ForceZ";
  return graph;
}

KtGraphData TorqueGraphData(const KtState& kt, const KtStepTotals& totals) {
  KtGraphData graph = Graph(
      kt, totals, {&KtStepTotals::TorqueX, &KtStepTotals::TorqueY, &KtStepTotals::TorqueZ}, 1000);
  graph.caption = "TorqueGraph";
  graph.title = "トルクの分布";
  graph.x_title = "Angle(deg.)";
  graph.y_title = "Torque(mNm)";
  graph.series[0].name = "TorqueX";
  graph.series[1].name = "TorqueY";
  graph.series[2].name = "TorqueZ";
  return graph;
}

std::string FormatKtExportText(const KtState& kt, const KtStepTotals& totals) {
  std::string text = "\r\n";
  for (std::string_view line :
       {"    --------------------------------------", " 　　　         力のデータ(N, Nm)",
        "    ______________________________________"}) {
    text += Quoted(line);
    text += "\r\n";
  }
  text += "\r\n";
  const char* headings[] = {
      "番号",         "角度(deg.)",        "X方向の力(N)",      "Y方向の力(N)",
      "Z方向の力(N)", "X方向のトルク(Nm)", "Y方向のトルク(Nm)", "Z方向のトルク(Nm)"};
  for (size_t h = 0; h < 8; ++h) {
    if (h > 0) {
      text += ',';
    }
    text += Quoted(headings[h]);
  }
  text += "\r\n";
  const Column columns[] = {&KtStepTotals::ForceX,  &KtStepTotals::ForceY,  &KtStepTotals::ForceZ,
                            &KtStepTotals::TorqueX, &KtStepTotals::TorqueY, &KtStepTotals::TorqueZ};
  for (double phi : KtSweepAngles(kt).phi) {
    const int s = KtStepNumber(phi, kt.StartAngle, kt.StepAngle);
    text += std::to_string(s);
    text += ',';
    text += Number(RadToDeg(phi));
    for (Column column : columns) {
      text += ',';
      text += Number(At(totals, column, s));
    }
    text += "\r\n";
  }
  return text;
}

std::optional<FileError> KtExportCommand(ElementModel& model,
                                         const KtStepTotals& totals,
                                         const std::string& path,
                                         Notices& notices) {
  model.ModelFilePath = path;
  std::optional<FileError> error;
  const std::optional<std::string> bytes = Utf8ToCp932(FormatKtExportText(model.Kt, totals));
  if (!bytes) {
    error = FileError{0, "文字コードの変換に失敗しました"};
  } else if (auto failure = ReplaceFileContents(path, *bytes)) {
    error = FileError{0, *failure};
  }
  if (error) {
    RaiseFileError(notices, path, *error);
  }
  return error;
}

}  // namespace tavrine
