// The distribution export: Hx, Hy, Hz and |H| of the rectangular grid as four tables laid out
// like the grid, unquoted "0.000E+" numbers, code page 932, CR LF.
#pragma once

#include <optional>
#include <string>

#include "files/file_error.h"
#include "model/element_model.h"
#include "model/notices.h"

namespace tavrine {

// The file's bytes, or an error when the grid shape DivX × DivY reaches points outside the set.
struct ExportBytes {
  std::string bytes;
  std::optional<FileError> error;
};
ExportBytes FormatDistributionExport(const ElementModel& model);

// Writes the export safely: an existing file is replaced only once the new one is complete.
std::optional<FileError> WriteDistributionExport(const ElementModel& model,
                                                 const std::string& path);

// The export command once a path is chosen: sets ModelFilePath, writes, and raises
// CautionFileInOut on failure.
std::optional<FileError> DistributionExportCommand(ElementModel& model,
                                                   const std::string& path,
                                                   Notices& notices);

}  // namespace tavrine
