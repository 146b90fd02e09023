// The model file: every element table and both calculation-point sets with their results, as
// comma-separated code page 932 text with CR LF line ends. Angles in degrees, currents in A.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "files/file_error.h"
#include "model/element_model.h"
#include "model/notices.h"

namespace tavrine {

// The file's bytes, or an error when the model's counts lie outside its capacity.
struct ModelFileBytes {
  std::string bytes;
  std::optional<FileError> error;
};
ModelFileBytes FormatModelFile(const ElementModel& model);

// Writes the file safely: an existing file is replaced only once the new one is complete. The
// text is built in `buffer`'s storage first (the bytes of a file just read, say, whose memory
// is already in place), whatever it holds.
std::optional<FileError> WriteModelFile(const ElementModel& model,
                                        const std::string& path,
                                        std::string buffer = {});

// A model read whole from a file, or the line and reason it could not be.
struct ModelReadResult {
  std::unique_ptr<ElementModel> model;  // set only when the whole file was read
  std::optional<FileError> error;
  // The file's bytes as read, for a caller to build its output in (see WriteModelFile).
  std::string bytes;
  bool ok() const { return model != nullptr; }
};
// `current` provides what the file does not hold and a read keeps (material indices, Hcj of
// unloaded slots, MagN when the file does not name the grid magnets, grid extents, the Kt
// state, the view settings, ModelFilePath); the result starts as a copy of it after
// ModelReset. The rectangular points' own-frame positions are derived on magnet MagN.
ModelReadResult ParseModelFile(std::string_view bytes, const ElementModel& current);
// Reads a regular file of at most kMaxModelFileBytes; anything else, or a lack of memory, is
// an error and never ends the program.
ModelReadResult ReadModelFile(const std::string& path, const ElementModel& current);
// As ReadModelFile over the start-up model (FullReset), built in place instead of copied: a
// model is megabytes, and a one-off command should not pay for two.
ModelReadResult ReadModelFileAfterStartUp(const std::string& path);

// The largest model file read: the fullest model, every number at its longest, comes to about
// 20 MB; the rest leaves room for hand-edited files.
inline constexpr size_t kMaxModelFileBytes = size_t{64} << 20;

// Reads the file's content over `model`, which the caller has ModelReset. Writes only slots
// within the model's capacity, also on malformed input; on an error `model` is partly filled.
std::optional<FileError> ParseModelFileInto(std::string_view bytes, ElementModel& model);

// The save and read commands once a path is chosen. Both set ModelFilePath first. Saving
// never changes anything else; reading replaces the model only when the whole file was read.
// On failure both raise CautionFileInOut and return the error.
std::optional<FileError> SaveModelFileCommand(ElementModel& model,
                                              const std::string& path,
                                              Notices& notices);
std::optional<FileError> ReadModelFileCommand(ElementModel& model,
                                              const std::string& path,
                                              Notices& notices);

}  // namespace tavrine
