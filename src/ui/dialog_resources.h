// Registers the pictures and the help guide built into the program (they live in a static
// library, so nothing links them in unless asked).
#pragma once

namespace tavrine {

void InitDialogResources();

}  // namespace tavrine
