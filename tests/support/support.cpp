// Anchors the support library; the helpers themselves are header-only.
#include "support/matchers.h"
#include "support/recording_canvas.h"
#include "support/recording_progress.h"
