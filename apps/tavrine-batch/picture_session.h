// What the picture commands (render, map) share: an offscreen Qt session that writes nothing to
// standard error, and the input model file read whole.
#pragma once

#include <memory>
#include <string>

#include "model/element_model.h"

namespace tavrine::batch {

// Starts the offscreen QtGui application once, with a private runtime directory when none is
// set, so that Qt has nothing to warn about.
void EnsureGuiSession();

// The model of the file, or nullptr after printing the reason (exit code 1).
std::unique_ptr<ElementModel> ReadPictureModel(const std::string& path);

// "png" or "svg" by the path's suffix (case-insensitive), or empty for neither.
std::string PictureKind(const std::string& path);

}  // namespace tavrine::batch
