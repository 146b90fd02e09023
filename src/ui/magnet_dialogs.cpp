// Magnet dialogs: widgets bound by objectName to the core's magnet forms; every event goes to the
// form and the widgets then mirror the form's texts, command states and focus.
#include "ui/magnet_dialogs.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "display/element_drawing.h"
#include "model/material_grades.h"
#include "ui/enter_key_filter.h"
#include "ui/main_window.h"
#include "ui/model_events.h"
#include "ui/qt_text.h"
#include "ui/ui_fonts.h"
#include "ui/window_helpers.h"

namespace tavrine {

namespace {

ElementKind KindOf(MagnetTable table) {
  switch (table) {
    case MagnetTable::kRecMag:
      return ElementKind::kRecMag;
    case MagnetTable::kSecMag:
      return ElementKind::kSecMag;
    case MagnetTable::kRhMag:
      return ElementKind::kRhMag;
  }
  return ElementKind::kRecMag;
}

constexpr int kFieldWidth = 90;

}  // namespace

// ---- views ----

MainWindowMagnetViews::MainWindowMagnetViews(ElementModel& model,
                                             std::function<MainWindow*()> main_window)
    : model_(model), main_window_(std::move(main_window)) {}

void MainWindowMagnetViews::RedrawAll() {
  if (MainWindow* window = main_window_()) {
    window->RedrawAll();
  }
}

void MainWindowMagnetViews::Highlight(MagnetTable table, int i) {
  if (MainWindow* window = main_window_()) {
    HighlightElement(model_, window->Display(), KindOf(table), i);
  }
}

void MainWindowMagnetViews::HighlightOnly(MagnetTable table, int i) {
  if (MainWindow* window = main_window_()) {
    tavrine::HighlightOnly(model_, window->Display(), KindOf(table), i);
  }
}

// ---- create/modify dialog ----

MagnetDialog::MagnetDialog(
    MagnetKind kind, ElementModel& model, Notices& notices, MagnetViews& views, QWidget* parent)
    : QDialog(parent), form_(kind, model, notices, views) {
  static constexpr std::array<const char*, 4> kNames = {"CreateRecMag", "CreateSecMag",
                                                        "CreateCylinderMag", "CreateRhMag"};
  setObjectName(kNames[static_cast<size_t>(kind)]);
  setWindowTitle(Utf8(MagnetFormTitle(kind)));
  setModal(false);
  setFont(QFont(kUiFontFamily));
  enter_keys_ = new EnterKeyFilter([this](QWidget* widget) { OnEnterKey(widget); }, this);
  Build();
}

void MagnetDialog::Build() {
  using F = MagnetField;
  const std::vector<MagnetFieldLayout> fields = MagnetFieldsOf(form_.Kind());
  auto* top = BuildFieldBox(fields, {F::kNumber}, {});
  auto* grade_label = new QLabel("磁石材質", this);
  grades_ = new QListWidget(this);
  grades_->setObjectName("List1");
  const auto grades = MaterialGrades();
  for (int p = 0; p < kShownMaterialGrades; ++p) {
    grades_->addItem(QString::fromStdString(grades[static_cast<size_t>(p)].Name));
  }
  grades_->setFixedWidth(120);
  grade_label->setBuddy(grades_);
  auto* materials = BuildFieldBox(fields, {F::kBr, F::kHcj}, {});
  auto* shape = BuildFieldBox(fields, {F::kShape1, F::kShape2, F::kShape3, F::kExtra}, {});
  auto* rotation = BuildFieldBox(fields, {F::kRotX, F::kRotY, F::kRotZ}, "回転角（°)");
  auto* position = BuildFieldBox(fields, {F::kPosX, F::kPosY, F::kPosZ}, "中心位置（mm）");
  enter_ = CommandButton(this, "Command1", "入力");
  modify_ = CommandButton(this, "Command3", "修正");
  close_ = CommandButton(this, "Command2", "閉じる");

  auto* left = new QVBoxLayout;
  left->addWidget(top);
  left->addWidget(grade_label);
  left->addWidget(grades_, 1);
  left->addWidget(materials);
  auto* right = new QVBoxLayout;
  right->addWidget(shape);
  right->addWidget(rotation);
  right->addWidget(position);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* button : {enter_, modify_, close_}) {
    buttons->addWidget(button);
  }
  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addLayout(buttons);

  connect(grades_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { OnGrade(grades_->row(item)); });
  connect(grades_, &QListWidget::currentRowChanged, this, &MagnetDialog::OnGrade);
  connect(enter_, &QPushButton::clicked, this, [this] {
    Commit();
    if (form_.Enter())
      emit edited();
    Sync();
  });
  connect(modify_, &QPushButton::clicked, this, [this] {
    Commit();
    if (form_.Modify())
      emit edited();
    Sync();
  });
  connect(close_, &QPushButton::clicked, this, &QWidget::close);
}

QWidget* MagnetDialog::BuildFieldBox(const std::vector<MagnetFieldLayout>& fields,
                                     const std::vector<MagnetField>& which,
                                     const QString& title) {
  auto* box = new QGroupBox(title, this);
  auto* grid = new QGridLayout(box);
  int row = 0;
  for (MagnetField wanted : which) {
    for (const MagnetFieldLayout& f : fields) {
      if (f.field != wanted) {
        continue;
      }
      auto* label = new QLabel(Utf8(f.label), box);
      auto* edit = new QLineEdit(box);
      edit->setObjectName(Utf8(f.object_name));
      edit->setFixedWidth(kFieldWidth);
      label->setBuddy(edit);
      grid->addWidget(label, row, 0);
      grid->addWidget(edit, row, 1);
      ++row;
      fields_[static_cast<size_t>(wanted)] = edit;
      enter_keys_->Watch(edit);
      edit->installEventFilter(this);
      connect(edit, &QLineEdit::textChanged, this,
              [this, wanted](const QString& text) { OnTextChanged(wanted, text); });
    }
  }
  return box;
}

void MagnetDialog::Open() {
  if (!isVisible()) {
    form_.Open();
  }
  ShowAgain(this);
  Sync();
}

void MagnetDialog::FollowModel() {
  if (!isVisible())
    return;  // a closed dialog is loaded afresh when it opens
  form_.Refresh();
  Sync();
}

void MagnetDialog::Commit() {
  // A button click moves the focus only after its own press; the entry is committed first.
  if (QWidget* focused = focusWidget())
    CommitField(focused);
}

void MagnetDialog::CommitField(QObject* widget) {
  for (int f = 0; f < kMagnetTextFields; ++f) {
    if (fields_[static_cast<size_t>(f)] == widget)
      form_.Commit(static_cast<MagnetField>(f));
  }
}

bool MagnetDialog::eventFilter(QObject* watched, QEvent* event) {
  // Leaving a field with the mouse or Tab completes its entry; Enter is the key filter's.
  if (event->type() == QEvent::FocusOut && !syncing_) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
        reason == Qt::BacktabFocusReason)
      CommitField(watched);
  }
  return QDialog::eventFilter(watched, event);
}

void MagnetDialog::OnTextChanged(MagnetField field, const QString& text) {
  // The dialog's own writes come back as textChanged; only the user's edits go to the form.
  if (syncing_) {
    return;
  }
  form_.ChangeText(field, text.toStdString());
  Sync();
}

void MagnetDialog::OnEnterKey(QWidget* widget) {
  for (int f = 0; f < kMagnetTextFields; ++f) {
    if (fields_[static_cast<size_t>(f)] == widget) {
      form_.PressEnter(static_cast<MagnetField>(f));
      Sync();
      return;
    }
  }
}

void MagnetDialog::OnGrade(int row) {
  if (syncing_ || row < 0) {
    return;
  }
  form_.ClickGrade(row);
  Sync();
}

void MagnetDialog::Sync() {
  syncing_ = true;
  for (int f = 0; f < kMagnetTextFields; ++f) {
    QLineEdit* edit = fields_[static_cast<size_t>(f)];
    const QString text = QString::fromStdString(form_.Text(static_cast<MagnetField>(f)));
    if (edit != nullptr && edit->text() != text) {
      edit->setText(text);
    }
  }
  if (grades_->currentRow() != form_.SelectedGrade()) {
    grades_->setCurrentRow(form_.SelectedGrade());
  }
  enter_->setEnabled(form_.EnterEnabled());
  modify_->setEnabled(form_.ModifyEnabled());
  syncing_ = false;
  if (const auto focus = form_.TakeFocus()) {
    QWidget* target = focus->field == MagnetField::kGradeList
                          ? static_cast<QWidget*>(grades_)
                          : static_cast<QWidget*>(Field(focus->field));
    if (target != nullptr) {
      target->setFocus(Qt::OtherFocusReason);
      if (auto* edit = qobject_cast<QLineEdit*>(target); edit && focus->select_all) {
        edit->selectAll();
      }
    }
  }
}

void MagnetDialog::closeEvent(QCloseEvent* event) {
  form_.Close();
  event->accept();
}

void MagnetDialog::reject() {
  close();
}

// ---- delete dialog ----

MagnetDeleteDialog::MagnetDeleteDialog(
    MagnetTable table, ElementModel& model, Notices& notices, MagnetViews& views, QWidget* parent)
    : QDialog(parent), form_(table, model, notices, views) {
  setObjectName(table == MagnetTable::kRecMag ? "EraseRecMag" : "EraseSecMag");
  setWindowTitle(Utf8(form_.Title()));
  setModal(false);
  setFont(QFont(kUiFontFamily));
  auto* label = new QLabel("消去する磁石番号", this);
  field_ = new QLineEdit(Utf8(form_.Text()), this);
  field_->setObjectName("Text1");
  field_->setFixedWidth(kFieldWidth);
  label->setBuddy(field_);
  auto* enter = CommandButton(this, "Command1", "入力");
  auto* cancel = CommandButton(this, "Command2", "ｷｬﾝｾﾙ");
  auto* layout = new QGridLayout(this);
  layout->addWidget(label, 0, 0);
  layout->addWidget(field_, 0, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(enter);
  buttons->addWidget(cancel);
  layout->addLayout(buttons, 1, 0, 1, 2);
  connect(field_, &QLineEdit::textChanged, this, &MagnetDeleteDialog::OnTextChanged);
  connect(enter, &QPushButton::clicked, this, &MagnetDeleteDialog::OnEnter);
  connect(cancel, &QPushButton::clicked, this, &QWidget::hide);
}

void MagnetDeleteDialog::Open() {
  if (!isVisible()) {
    form_.Open();
  }
  ShowAgain(this);
  Sync();
}

void MagnetDeleteDialog::FollowModel() {
  if (!isVisible())
    return;
  form_.Refresh();
  Sync();
}

void MagnetDeleteDialog::OnTextChanged(const QString& text) {
  if (syncing_) {
    return;
  }
  form_.ChangeText(text.toStdString());
  Sync();
}

void MagnetDeleteDialog::OnEnter() {
  if (form_.Enter()) {
    hide();
    emit edited();
  }
  Sync();
}

void MagnetDeleteDialog::Sync() {
  syncing_ = true;
  const QString text = Utf8(form_.Text());
  if (field_->text() != text) {
    field_->setText(text);
  }
  syncing_ = false;
  if (const auto focus = form_.TakeFocus()) {
    field_->setFocus(Qt::OtherFocusReason);
    if (focus->select_all) {
      field_->selectAll();
    }
  }
}

// ---- window group ----

MagnetWindows::MagnetWindows(WindowContext context)
    : context_(std::move(context)), views_(context_.model, context_.main_window) {}

MagnetWindows::~MagnetWindows() {
  for (auto& dialog : dialogs_) {
    delete dialog.data();
  }
  for (auto& dialog : delete_dialogs_) {
    delete dialog.data();
  }
}

bool MagnetWindows::Run(MainCommand command) {
  switch (command) {
    case MainCommand::CreateRecMag:
      Dialog(MagnetKind::kRectangular).Open();
      return true;
    case MainCommand::CreateSecMag:
      Dialog(MagnetKind::kSector).Open();
      return true;
    case MainCommand::CreateCylinderMag:
      Dialog(MagnetKind::kCylinder).Open();
      return true;
    case MainCommand::CreateRhMag:
      Dialog(MagnetKind::kRh).Open();
      return true;
    case MainCommand::EraseRecMag:
      DeleteDialog(MagnetTable::kRecMag).Open();
      return true;
    case MainCommand::EraseSecMag:
      DeleteDialog(MagnetTable::kSecMag).Open();
      return true;
    default:
      return false;
  }
}

template <class Window>
void MagnetWindows::Follow(Window* dialog) {
  if (context_.events == nullptr)
    return;
  QObject::connect(dialog, &Window::edited, context_.events, &ModelEvents::Notify);
  QObject::connect(context_.events, &ModelEvents::modelChanged, dialog, &Window::FollowModel);
}

MagnetDialog& MagnetWindows::Dialog(MagnetKind kind) {
  QPointer<MagnetDialog>& dialog = dialogs_[static_cast<size_t>(kind)];
  if (!dialog) {
    dialog = new MagnetDialog(kind, context_.model, context_.board, views_);
    Follow(dialog.data());
  }
  return *dialog;
}

MagnetDeleteDialog& MagnetWindows::DeleteDialog(MagnetTable table) {
  QPointer<MagnetDeleteDialog>& dialog = delete_dialogs_[table == MagnetTable::kRecMag ? 0 : 1];
  if (!dialog) {
    dialog = new MagnetDeleteDialog(table, context_.model, context_.board, views_);
    Follow(dialog.data());
  }
  return *dialog;
}

}  // namespace tavrine
