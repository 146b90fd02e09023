// A sweep folder: one model file per variant, manifest.txt (one tavrine-batch command per
// variant), variants.csv (the keys' values per variant), sweep.txt (the study and its options),
// and the results, logs and summary.csv beside them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch/sweep_variants.h"

namespace tavrine::batch {

struct SweepPlan {
  std::string study;
  std::vector<std::string> options;  // the study's own options
  sweep::VariantTable variants;
};

inline const char* const kManifestName = "manifest.txt";
inline const char* const kVariantsName = "variants.csv";
inline const char* const kPlanName = "sweep.txt";
inline const char* const kSummaryName = "summary.csv";

std::string InFolder(const std::string& dir, const std::string& name);
// The word quoted for /bin/sh when it holds anything but plain path characters.
std::string ShellWord(const std::string& word);

// Writes sweep.txt and variants.csv; the text of what failed, if anything.
std::optional<std::string> WritePlan(const std::string& dir, const SweepPlan& plan);
std::optional<std::string> ReadPlan(const std::string& dir, SweepPlan& plan);

// Gathers summary.csv from whatever results exist; returns the exit code (1 when a variant
// has no result or the summary cannot be written).
int CollectSweep(const std::string& dir);

}  // namespace tavrine::batch
