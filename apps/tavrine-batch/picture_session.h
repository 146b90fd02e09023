// What the picture commands (render, map) share: an offscreen Qt session that writes nothing to
// standard error, and the input model file read whole.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/element_model.h"

namespace tavrine::batch {

// Starts the offscreen QtGui application once, with a private runtime directory when none is
// set, so that Qt has nothing to warn about.
void EnsureGuiSession();

// The model of the file, or nullptr after printing the reason (exit code 1).
std::unique_ptr<ElementModel> ReadPictureModel(const std::string& path);

// "png" or "svg" by the path's suffix (case-insensitive), or empty for neither.
std::string PictureKind(const std::string& path);

// The words every picture command takes: the model file, -o/--output and -h/--help.
struct PictureArgs {
  std::string model_path, picture_path;
  bool help = false;
};

// A command's own option at args[k]: true when taken (k moved past any value it reads), false
// for a word it does not know or a value it refuses.
using PictureOption = std::function<bool(const std::vector<std::string>& args, size_t& k)>;

// Reads a picture command's words; false on a usage error (no model, no .png/.svg output, an
// unknown word or a refused value). --help stops the reading.
bool ReadPictureArgs(const std::vector<std::string>& args,
                     PictureArgs& common,
                     const PictureOption& option);

// Where the words ask for no picture: the help on standard output (0) for --help, the usage
// line on standard error (2) when they could not be read (`common` null); otherwise nullopt.
std::optional<int> HelpOrUsage(const PictureArgs* common, const char* help, const char* usage);

// A build without QtGui cannot draw: says so for `command` (exit code 2).
int WithoutGui(const char* command);

// The picture could not be written (exit code 1).
int PictureWriteFailure(const std::string& path);

}  // namespace tavrine::batch
