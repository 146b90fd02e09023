// Initial values of the model: full reset, model reset (before a file is read) and the clears.
#pragma once

#include "model/element_model.h"

namespace tavrine {

void FullReset(ElementModel& model);
void ModelReset(ElementModel& model);
void ClearRectResults(ElementModel& model);
void ClearSectResults(ElementModel& model);
void ClearKtResults(ElementModel& model);

}  // namespace tavrine
