// The main window's file commands: model file save and read, distribution export, through one
// file dialog with the CSV filter.
#include <QFileDialog>
#include <QFileInfo>

#include "files/distribution_export.h"
#include "files/model_file.h"
#include "ui/file_dialogs.h"
#include "ui/main_window.h"

namespace tavrine {

QString MainWindow::ChooseFileWithDialog(bool save, const QString& title) {
  QFileDialog dialog(this, title);
  dialog.setObjectName("CommonDialog1");
  dialog.setNameFilter(QStringLiteral("CSVﾌｧｲﾙ (*.csv)"));
  UseProgramFileDialog(dialog);
  if (save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    // The program asks about an existing file itself, with its own notice.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().constFirst();
}

void MainWindow::SaveModel() {
  const QString path =
      choose_file_(true, QStringLiteral("磁石データ、計算結果データのファイルへの保存"));
  if (path.isEmpty())
    return;
  model_.ModelFilePath = path.toStdString();
  if (QFileInfo::exists(path)) {
    // "はい" on the notice writes the model as it is then to ModelFilePath as it is then.
    notices_.Raise(NoticeId::CautionFileExist);
    return;
  }
  SaveModelFileCommand(model_, model_.ModelFilePath, notices_);
}

void MainWindow::ReadModel() {
  // The model is left as it is when the user cancels or the file cannot be read whole.
  const QString path = choose_file_(false, QStringLiteral("ファイルからデータの読み込み"));
  if (path.isEmpty())
    return;
  if (!ReadModelFileCommand(model_, path.toStdString(), notices_)) {
    RedrawAll();
    emit modelChanged();
  }
}

void MainWindow::ExportDistribution() {
  const QString path =
      choose_file_(true, QStringLiteral("3D分布用計算結果データのファイルへの保存"));
  if (path.isEmpty())
    return;
  DistributionExportCommand(model_, path.toStdString(), notices_);
}

}  // namespace tavrine
