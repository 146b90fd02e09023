// The file dialogs' shared set-up.
#include "ui/file_dialogs.h"

#include <algorithm>

#include <QHeaderView>
#include <QScreen>
#include <QTreeView>

namespace tavrine {

void UseProgramFileDialog(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // Room for the name, size, type and date columns side by side, within the screen.
  const QRect screen = dialog.screen()->availableGeometry();
  dialog.resize(std::min(900, screen.width() * 9 / 10), std::min(540, screen.height() * 9 / 10));
  auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  if (list == nullptr) {
    return;
  }
  // The name column keeps its share; the others follow their longest text as rows arrive.
  for (int column = 1; column < list->header()->count(); ++column) {
    list->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
}

}  // namespace tavrine
