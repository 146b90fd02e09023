// What the study commands (force, pc, kt) share: option values, the input model, progress on a
// terminal, the notices raised, and the result text on standard output or in a CP932 file.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/element_model.h"
#include "model/notices.h"

namespace tavrine::batch {

// Exit code 2 with one line on stderr pointing at the command's help.
int StudyUsage(const std::string& command, const std::string& message);

// Whole numbers low..high written as plain digits, and decimal numbers.
std::optional<int> WholeNumber(const std::string& text, int low, int high);
std::optional<double> DecimalNumber(const std::string& text);

// "--threads N" or "-o/--output FILE" at args[i], which every study command takes: nothing when
// args[i] is neither; otherwise 0 with i at the value taken, or the usage error's exit code 2.
std::optional<int> TakeSharedStudyOption(const std::string& command,
                                         const std::vector<std::string>& args,
                                         size_t& i,
                                         int& threads,
                                         std::string& output);

// The model file fully reset and read; exit code 1 with file, line and reason when it fails.
std::unique_ptr<ElementModel> ReadStudyModel(const std::string& path, int& exit_code);

// Each notice raised, once, with its title (unless that says "警告" again) and message, on
// stderr.
void PrintRaisedNotices(const NoticeBoard& notices);

// 17 significant digits: the double itself, read back bit for bit.
std::string FullPrecision(double value);

// The text (UTF-8, LF) on stdout when `output` is empty, otherwise as a CP932 file with CR LF
// that replaces `output` only once complete. 0, or 1 with the reason on stderr.
int WriteStudyResult(const std::string& text, const std::string& output);

}  // namespace tavrine::batch
