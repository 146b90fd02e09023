// The studies a sweep can run on each variant: the batch command, where its result goes and how
// the summary reads it. A further study is one more row of the table.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/sweep_summary.h"

namespace tavrine::batch {

struct StudyResult {
  sweep::Figures figures;
  std::optional<std::string> failure;
};

struct SweepStudy {
  std::string_view name;     // the word after --study
  std::string_view command;  // the tavrine-batch command each variant runs
  std::string_view suffix;   // the result file: the variant's stem and this
  bool writes_output;        // the command writes the result with -o; else its standard output
  // The headline figures of one result file; `options` are the study's own options.
  StudyResult (*read)(const std::string& path, const std::vector<std::string>& options);
  // The option naming the variant's model, for a command whose own argument is another file
  // (kt takes its set-up file); empty when the model is the command's argument.
  std::string_view model_option = {};
};

// For a study whose result has no headline figures (a picture, say): the state only.
StudyResult ReadResultFileOnly(const std::string& path, const std::vector<std::string>& options);

const std::vector<SweepStudy>& SweepStudies();
const SweepStudy* FindSweepStudy(std::string_view name);

}  // namespace tavrine::batch
