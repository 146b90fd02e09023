// Grid dialogs: fields bound by objectName to the grid forms; "入力" generates, redraws the
// main window and previews the grid there.
#include "ui/grid_dialogs.h"

#include <algorithm>

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "display/views.h"
#include "ui/main_window.h"
#include "ui/model_events.h"
#include "ui/ui_fonts.h"
#include "ui/window_helpers.h"

namespace tavrine {

namespace {

QString FromStd(const std::string& text) {
  return QString::fromStdString(text);
}

QLabel* NamedLabel(const QString& text, int index, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString("Label%1").arg(index));
  return label;
}

// "入力" and "閉じる"; neither is pressed by Enter, which moves between the fields.
QHBoxLayout* CommandRow(QDialog* dialog, QPushButton** input) {
  *input = new QPushButton("入力", dialog);
  (*input)->setObjectName("Input");
  auto* finish = new QPushButton("閉じる", dialog);
  finish->setObjectName("Finish");
  for (QPushButton* button : {*input, finish}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  QObject::connect(finish, &QPushButton::clicked, dialog, &QDialog::close);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(*input);
  row->addWidget(finish);
  return row;
}

void SetUpDialog(QDialog* dialog, const char* name, const char* title) {
  dialog->setObjectName(name);
  dialog->setWindowTitle(title);
  dialog->setModal(false);
  dialog->setFont(QFont(kUiFontFamily));
  // Closing discards the texts: the next opening makes a new dialog.
  dialog->setAttribute(Qt::WA_DeleteOnClose);
}

// The new grid over a fresh drawing of the model, in all four views.
template <class Lines>
void RedrawWithPreview(const WindowContext& context, const Lines& lines) {
  MainWindow* main = context.main_window();
  if (main == nullptr) {
    return;
  }
  main->RedrawAll();
  DrawPreviewLines(context.model, main->Display(), lines);
}

}  // namespace

void EnterCycle::SetFields(std::vector<QLineEdit*> fields) {
  fields_ = std::move(fields);
  for (QLineEdit* field : fields_) {
    field->installEventFilter(this);
  }
}

bool EnterCycle::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) {
    return false;
  }
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Return && key != Qt::Key_Enter) {
    return false;
  }
  const auto at = std::find(fields_.begin(), fields_.end(), watched);
  if (at == fields_.end()) {
    return false;
  }
  QLineEdit* next = std::next(at) == fields_.end() ? fields_.front() : *std::next(at);
  next->setFocus(Qt::TabFocusReason);
  next->selectAll();
  return true;
}

RectGridDialog::RectGridDialog(WindowContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
  SetUpDialog(this, "CreateCalPoint", "四角型分布磁界計算点の作成");
  if (context_.events != nullptr)
    connect(context_.events, &ModelEvents::modelChanged, this, &RectGridDialog::FollowModel);
  auto* magnet_row = new QHBoxLayout;
  magnet_row->addWidget(NamedLabel("選択する磁石番号", 1, this));
  magnet_row->addWidget(AddField(RectGridField::MagN, "MagN"));
  auto* distance_row = new QHBoxLayout;
  distance_row->addWidget(NamedLabel("表面からの距離", 6, this));
  distance_row->addWidget(NamedLabel("Z方向", 7, this));
  distance_row->addWidget(AddField(RectGridField::DisZ, "DisZ"));
  auto* plane = new QGroupBox("選択面", this);
  plane->setObjectName("Frame2");
  auto* xy_plane = new QCheckBox("XY上", plane);
  xy_plane->setObjectName("CheckXYp");
  xy_plane->setChecked(true);
  xy_plane->setEnabled(false);  // the grid plane is always the own XY plane
  (new QHBoxLayout(plane))->addWidget(xy_plane);
  QPushButton* input = nullptr;
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(magnet_row);
  layout->addWidget(BuildRegionGroup());
  layout->addLayout(distance_row);
  layout->addWidget(plane);
  layout->addLayout(CommandRow(this, &input));
  connect(input, &QPushButton::clicked, this, &RectGridDialog::OnInput);
  auto* cycle = new EnterCycle(this);
  cycle->SetFields({fields_.begin(), fields_.end()});
  ShowFormTexts();
}

QWidget* RectGridDialog::BuildRegionGroup() {
  auto* group = new QGroupBox("計算領域", this);
  group->setObjectName("Frame1");
  auto* grid = new QGridLayout(group);
  grid->addWidget(NamedLabel("X辺倍率", 2, group), 0, 0);
  grid->addWidget(AddField(RectGridField::XL, "XL"), 0, 1);
  grid->addWidget(NamedLabel("分割数", 3, group), 0, 2);
  grid->addWidget(AddField(RectGridField::DivX, "DivX"), 0, 3);
  grid->addWidget(NamedLabel("Y辺倍率", 4, group), 1, 0);
  grid->addWidget(AddField(RectGridField::YL, "YL"), 1, 1);
  grid->addWidget(NamedLabel("分割数", 5, group), 1, 2);
  grid->addWidget(AddField(RectGridField::DivY, "DivY"), 1, 3);
  half_x_ = new QCheckBox("1/2 領域", group);
  half_x_->setObjectName("CheckXY2");
  half_y_ = new QCheckBox("1/2 領域", group);
  half_y_->setObjectName("CheckYZ2");
  grid->addWidget(half_x_, 0, 4);
  grid->addWidget(half_y_, 1, 4);
  connect(half_x_, &QCheckBox::toggled, this, [this](bool on) { form_.SetHalfX(on); });
  connect(half_y_, &QCheckBox::toggled, this, [this](bool on) { form_.SetHalfY(on); });
  return group;
}

QLineEdit* RectGridDialog::AddField(RectGridField field, const char* name) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(name);
  edit->setMinimumWidth(80);
  fields_[static_cast<size_t>(field)] = edit;
  connect(edit, &QLineEdit::textChanged, this,
          [this, field](const QString& text) { OnTextChanged(field, text); });
  return edit;
}

void RectGridDialog::ShowFormTexts() {
  restoring_ = true;
  for (int i = 0; i < kRectGridFieldCount; ++i) {
    fields_[static_cast<size_t>(i)]->setText(FromStd(form_.Text(static_cast<RectGridField>(i))));
  }
  half_x_->setChecked(form_.HalfX());
  half_y_->setChecked(form_.HalfY());
  restoring_ = false;
}

void RectGridDialog::FollowModel() {
  if (!isVisible())
    return;
  // Only settings that really changed (a file read, a reset) replace what the user is typing.
  RectGridForm stored;
  stored.FillFromSettings(context_.model.RectCalPointSet);
  if (stored.Text(RectGridField::DivX) == filled_.Text(RectGridField::DivX) &&
      stored.Text(RectGridField::DivY) == filled_.Text(RectGridField::DivY) &&
      stored.Text(RectGridField::XL) == filled_.Text(RectGridField::XL) &&
      stored.Text(RectGridField::YL) == filled_.Text(RectGridField::YL) &&
      stored.Text(RectGridField::DisZ) == filled_.Text(RectGridField::DisZ) &&
      stored.HalfX() == filled_.HalfX() && stored.HalfY() == filled_.HalfY())
    return;
  form_.FillFromSettings(context_.model.RectCalPointSet);
  filled_ = stored;
  ShowFormTexts();
}

void RectGridDialog::Open() {
  form_.FillFromSettings(context_.model.RectCalPointSet);
  filled_.FillFromSettings(context_.model.RectCalPointSet);
  ShowFormTexts();
  ShowAgain(this);
}

void RectGridDialog::OnTextChanged(RectGridField field, const QString& text) {
  // Putting a stored value back fires textChanged again; that echo is not a user edit.
  if (restoring_) {
    return;
  }
  const FieldText shown = form_.OnTextChanged(field, text.toStdString(),
                                              context_.model.RectCalPointSet, context_.board);
  if (!shown.restored) {
    return;
  }
  QLineEdit* edit = fields_[static_cast<size_t>(field)];
  restoring_ = true;
  edit->setText(FromStd(shown.text));
  edit->selectAll();
  restoring_ = false;
}

void RectGridDialog::OnInput() {
  if (form_.Input(context_.model, context_.board) != GridOutcome::kGenerated) {
    return;
  }
  RedrawWithPreview(context_, RectGridPreviewLines(context_.model));
  emit gridEntered();
}

SectGridDialog::SectGridDialog(WindowContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
  SetUpDialog(this, "CreateSectorCalPoint", "扇型分布磁界計算点の作成");
  if (context_.events != nullptr)
    connect(context_.events, &ModelEvents::modelChanged, this, &SectGridDialog::FollowModel);
  auto* magnet_row = new QHBoxLayout;
  magnet_row->addWidget(NamedLabel("選択する磁石番号", 1, this));
  magnet_row->addWidget(AddField(SectGridField::MagN, "MagN"));
  auto group = [this](const char* title, const char* name,
                      std::initializer_list<std::pair<const char*, QLineEdit*>> rows) {
    auto* box = new QGroupBox(title, this);
    box->setObjectName(name);
    auto* grid = new QGridLayout(box);
    int row = 0;
    for (const auto& [caption, field] : rows) {
      grid->addWidget(new QLabel(caption, box), row, 0);
      grid->addWidget(field, row++, 1);
    }
    return box;
  };
  auto* radial = group("径方向", "Frame1",
                       {{"分割数", AddField(SectGridField::DivR, "DivR")},
                        {"Ri(mm)", AddField(SectGridField::CalPointRi, "CalPointRi")},
                        {"Ro(mm)", AddField(SectGridField::CalPointRo, "CalPointRo")}});
  auto* angular = group("角度方向", "Frame2",
                        {{"分割数", AddField(SectGridField::DivT, "DivT")},
                         {"開始角", AddField(SectGridField::TStart, "TStart")},
                         {"ｽｲｰﾌﾟ角", AddField(SectGridField::TSweep, "TSweep")}});
  auto* distance =
      group("表面からの距離（mm）", "Frame3", {{"Z方向", AddField(SectGridField::DisZ, "DisZ")}});
  auto* groups = new QHBoxLayout;
  groups->addWidget(radial);
  groups->addWidget(angular);
  QPushButton* input = nullptr;
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(magnet_row);
  layout->addLayout(groups);
  layout->addWidget(distance);
  layout->addLayout(CommandRow(this, &input));
  connect(input, &QPushButton::clicked, this, &SectGridDialog::OnInput);
  auto* cycle = new EnterCycle(this);
  cycle->SetFields({fields_.begin(), fields_.end()});
}

QLineEdit* SectGridDialog::AddField(SectGridField field, const char* name) {
  auto* edit = new QLineEdit(FromStd(form_.Text(field)), this);
  edit->setObjectName(name);
  edit->setMinimumWidth(80);
  fields_[static_cast<size_t>(field)] = edit;
  connect(edit, &QLineEdit::textChanged, this,
          [this, field](const QString& text) { form_.SetText(field, text.toStdString()); });
  return edit;
}

void SectGridDialog::Open() {
  ShowAgain(this);
}

void SectGridDialog::FollowModel() {
  form_.FollowModel(context_.model);
  QLineEdit* number = fields_[static_cast<size_t>(SectGridField::MagN)];
  const QString text = FromStd(form_.Text(SectGridField::MagN));
  if (number->text() != text)
    number->setText(text);
}

void SectGridDialog::OnInput() {
  if (form_.Input(context_.model, context_.board) != GridOutcome::kGenerated) {
    return;
  }
  RedrawWithPreview(context_, SectGridPreviewLines(context_.model));
  emit gridEntered();
}

}  // namespace tavrine
