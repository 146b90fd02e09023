// Hands the picture commands to the separate program that holds QtGui.
#pragma once

namespace tavrine::batch {

// Replaces this process by tavrine-batch-picture (beside this executable) with the same
// arguments. Returns only if it cannot be started, after printing why; the result is then the
// exit code.
int ExecPictureProgram(char** argv);

}  // namespace tavrine::batch
