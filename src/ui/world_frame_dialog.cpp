// World-frame dialog: binds one field and one command to the core's WorldFrameForm.
#include "ui/world_frame_dialog.h"

#include <QGridLayout>
#include <QLabel>

namespace tavrine {

WorldFrameDialog::WorldFrameDialog(ElementModel& model, Notices& notices, QWidget* parent)
    : QDialog(parent), model_(model), notices_(notices) {
  setObjectName("frmWorldFrame");
  setWindowTitle("全体座標系の定義");
  setModal(false);
  setFont(QFont("Noto Sans CJK JP"));
  auto* label = new QLabel("全体座標系の基本長さ(mm)", this);
  label->setObjectName("Label1");
  field_ = new QLineEdit(
      QString::fromUtf8(WorldFrameForm::kDefaultText.data(), WorldFrameForm::kDefaultText.size()),
      this);
  field_->setObjectName("Text1");
  field_->setMinimumWidth(120);
  label->setBuddy(field_);
  enter_ = new QPushButton("入力", this);
  enter_->setObjectName("Command1");
  // Enter in the field enters the length, as the only command of the dialog.
  enter_->setDefault(true);
  auto* layout = new QGridLayout(this);
  layout->addWidget(label, 0, 0);
  layout->addWidget(field_, 0, 1);
  layout->addWidget(enter_, 1, 1, Qt::AlignRight);
  connect(field_, &QLineEdit::textChanged, this, &WorldFrameDialog::OnTextChanged);
  connect(enter_, &QPushButton::clicked, this, &WorldFrameDialog::OnEnter);
}

void WorldFrameDialog::Open() {
  show();
  raise();
  activateWindow();
  field_->setFocus(Qt::OtherFocusReason);
  field_->selectAll();
}

void WorldFrameDialog::OnTextChanged(const QString& text) {
  // Putting the remembered text back fires textChanged again; that echo is not a user edit.
  if (restoring_) {
    return;
  }
  const std::string typed = text.toStdString();
  const std::string shown = form_.OnTextChanged(typed, notices_);
  if (shown != typed) {
    restoring_ = true;
    field_->setText(QString::fromStdString(shown));
    restoring_ = false;
  }
}

void WorldFrameDialog::OnEnter() {
  form_.Enter(model_);
  close();
  emit entered();
}

}  // namespace tavrine
