// The table of sweep studies and their result readers.
#include "sweep_studies.h"

#include <memory>

#include "batch/sweep_variants.h"
#include "files/model_file.h"
#include "files/safe_write.h"

namespace tavrine::batch {

namespace {

// The value of "--name VALUE" or "--name=VALUE" among the options, if given.
std::optional<std::string> OptionValue(const std::vector<std::string>& options,
                                       std::string_view name) {
  std::optional<std::string> value;
  for (size_t i = 0; i < options.size(); ++i) {
    if (options[i] == name && i + 1 < options.size()) {
      value = options[++i];
    } else if (options[i].starts_with(std::string(name) + "=")) {
      value = options[i].substr(name.size() + 1);
    }
  }
  return value;
}

// A run's result model: the largest field of each set the run computed (both by default).
StudyResult ReadRunResult(const std::string& path, const std::vector<std::string>& options) {
  ModelReadResult read = ReadModelFileAfterStartUp(path);
  if (!read.ok()) {
    return {{}, "結果を読めません: " + DescribeFileError(path, *read.error)};
  }
  const std::string sets = OptionValue(options, "--sets").value_or("rect,sector");
  const bool rect = sets.find("rect") != std::string::npos;
  const bool sect = sets.find("sector") != std::string::npos;
  return {sweep::RunFigures(*read.model, rect, sect), std::nullopt};
}

// A study's CSV result file (code page 932) read by `figures`.
template <std::optional<sweep::Figures> (*figures)(const std::vector<sweep::CsvRow>&)>
StudyResult ReadStudyFile(const std::string& path, const std::vector<std::string>&) {
  FileBytes file = ReadWholeFile(path);
  if (file.error) {
    return {{}, "結果を読めません: " + path + ": " + *file.error};
  }
  auto rows = sweep::ReadCsvRows(file.bytes);
  if (auto* error = std::get_if<std::string>(&rows)) {
    return {{}, "結果を読めません: " + path + ": " + *error};
  }
  if (auto read = figures(std::get<std::vector<sweep::CsvRow>>(rows))) {
    return {*read, std::nullopt};
  }
  return {{}, "結果に数値の行がありません: " + path};
}

}  // namespace

StudyResult ReadResultFileOnly(const std::string& path, const std::vector<std::string>&) {
  FileBytes file = ReadWholeFile(path);
  return {{}, file.error ? std::optional<std::string>(path + ": " + *file.error) : std::nullopt};
}

const std::vector<SweepStudy>& SweepStudies() {
  static const std::vector<SweepStudy> kStudies = {
      {"run", "run", ".run.csv", true, ReadRunResult},
      {"force", "force", ".force.csv", true, ReadStudyFile<sweep::HeadlineFigures>},
      {"pc", "pc", ".pc.csv", true, ReadStudyFile<sweep::PcFigures>},
      {"kt", "kt", ".kt.csv", true, ReadStudyFile<sweep::KtFigures>, "--model"},
  };
  return kStudies;
}

const SweepStudy* FindSweepStudy(std::string_view name) {
  for (const SweepStudy& study : SweepStudies()) {
    if (study.name == name) {
      return &study;
    }
  }
  return nullptr;
}

}  // namespace tavrine::batch
