// The program's file dialogs: Qt's own dialog everywhere, its list columns as wide as their texts.
#pragma once

#include <QFileDialog>

namespace tavrine {

// Qt's dialog looks and behaves the same on every desktop; its size, type and date columns fit
// their Japanese texts instead of cutting them to "フ…ー".
void UseProgramFileDialog(QFileDialog& dialog);

}  // namespace tavrine
