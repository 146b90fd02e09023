// Current-element dialogs: widgets laid out from the core form's field list, every edit and
// command forwarded to the form, and the form's texts, commands and focus mirrored back.
#include "ui/coil_dialogs.h"

#include <string_view>

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "display/element_drawing.h"
#include "ui/main_window.h"
#include "ui/model_events.h"
#include "ui/qt_text.h"
#include "ui/ui_fonts.h"
#include "ui/window_helpers.h"

namespace tavrine {

namespace {

ElementKind ToElementKind(CoilKind kind) {
  switch (kind) {
    case CoilKind::kStrRec:
      return ElementKind::kStrRecCoil;
    case CoilKind::kSecCyl:
      return ElementKind::kSecCylCoil;
    case CoilKind::kSecRec:
      return ElementKind::kSecRecCoil;
    case CoilKind::kStrCyl:
      break;
  }
  return ElementKind::kStrCylCoil;
}

// The window names of the dialogs, by CoilKind.
constexpr std::array<const char*, 4> kDialogNames = {
    "CreateStraightCylCoil", "CreateStraightRecCoil", "CreateSectorCylCoil", "CreateSectorRecCoil"};

constexpr std::array<const char*, 4> kOptionCaptions = {"円柱直線", "角柱直線", "円柱円弧",
                                                        "角柱円弧"};

void SetTextQuietly(QLineEdit* edit, const QString& text) {
  if (edit->text() != text)
    edit->setText(text);
}

}  // namespace

// ---- MainWindowCoilDisplay ----

void MainWindowCoilDisplay::RedrawAll() {
  if (MainWindow* window = context_.main_window())
    window->RedrawAll();
}

void MainWindowCoilDisplay::HighlightElement(CoilKind kind, int i, int segments) {
  if (MainWindow* window = context_.main_window())
    tavrine::HighlightElement(context_.model, window->Display(), ToElementKind(kind), i, segments);
}

void MainWindowCoilDisplay::HighlightOnly(CoilKind kind, int i) {
  if (MainWindow* window = context_.main_window())
    tavrine::HighlightOnly(context_.model, window->Display(), ToElementKind(kind), i);
}

// ---- CoilDialog ----

CoilDialog::CoilDialog(CoilKind kind, WindowContext context, CoilDisplay& display, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), display_(display), form_(kind) {
  setObjectName(kDialogNames[static_cast<size_t>(kind)]);
  setWindowTitle(Utf8(form_.Title()));
  setModal(false);
  setFont(QFont(kUiFontFamily));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildFields());
  layout->addWidget(BuildCommands());
  Sync();
}

QWidget* CoilDialog::BuildFields() {
  auto* area = new QWidget(this);
  auto* grid = new QGridLayout(area);
  grid->setContentsMargins(0, 0, 0, 0);
  auto* rotation = new QGroupBox("回転角（°)", area);
  auto* centre = new QGroupBox("中心位置（mm）", area);
  auto* rotation_grid = new QGridLayout(rotation);
  auto* centre_grid = new QGridLayout(centre);
  int row = 0;
  for (const CoilFieldSpec& entry : form_.Fields()) {
    const int field = static_cast<int>(edits_.size());
    auto* edit = new QLineEdit(Utf8(entry.initial_text), area);
    edit->setObjectName(Utf8(entry.name));
    edit->setMinimumWidth(110);
    edit->installEventFilter(this);
    auto* label = new QLabel(Utf8(entry.label), area);
    label->setBuddy(edit);
    if (entry.role == CoilRole::kAngle || entry.role == CoilRole::kCentre) {
      QGridLayout* box = entry.role == CoilRole::kAngle ? rotation_grid : centre_grid;
      const int box_row = box->rowCount();
      box->addWidget(label, box_row, 0);
      box->addWidget(edit, box_row, 1);
    } else {
      grid->addWidget(label, row, 0);
      grid->addWidget(edit, row, 1);
      ++row;
    }
    connect(edit, &QLineEdit::textChanged, this,
            [this, field](const QString& text) { OnTextChanged(field, text); });
    edits_.push_back(edit);
  }
  grid->addWidget(rotation, row, 0, 1, 2);
  grid->addWidget(centre, row + 1, 0, 1, 2);
  return area;
}

QWidget* CoilDialog::BuildCommands() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  enter_ = CommandButton(row, "Command1", "入力");
  modify_ = CommandButton(row, "Command3", "修正");
  QPushButton* close_button = CommandButton(row, "Command2", "閉じる");
  for (QPushButton* button : {enter_, modify_, close_button})
    layout->addWidget(button);
  connect(enter_, &QPushButton::clicked, this, [this] {
    form_.Enter(context_.model, context_.board, display_);
    NotifyEdited(context_);
    Sync();
  });
  connect(modify_, &QPushButton::clicked, this, [this] {
    form_.Modify(context_.model, context_.board, display_);
    NotifyEdited(context_);
    Sync();
  });
  connect(close_button, &QPushButton::clicked, this, &QDialog::close);
  return row;
}

void CoilDialog::FollowModel() {
  if (!isVisible())
    return;  // a closed dialog is filled afresh when it opens
  form_.Refresh(context_.model, display_);
  Sync();
}

void CoilDialog::Open() {
  form_.Open(context_.model);
  ShowAgain(this);
  Sync();
}

bool CoilDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    for (size_t i = 0; i < edits_.size(); ++i) {
      if (edits_[i] == watched && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        form_.OnEnterKey(static_cast<int>(i));
        Sync();
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CoilDialog::OnTextChanged(int field, const QString& text) {
  // The form's own texts coming back through setText are not user edits.
  if (syncing_)
    return;
  form_.OnTextChanged(field, text.toStdString(), context_.model, context_.board, display_);
  Sync();
}

void CoilDialog::Sync() {
  syncing_ = true;
  for (size_t i = 0; i < edits_.size(); ++i)
    SetTextQuietly(edits_[i], QString::fromStdString(form_.Text(static_cast<int>(i))));
  syncing_ = false;
  enter_->setEnabled(form_.EnterEnabled());
  modify_->setEnabled(form_.ModifyEnabled());
  if (const std::optional<int> focus = form_.TakeFocusRequest()) {
    QLineEdit* edit = edits_[static_cast<size_t>(*focus)];
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
  }
}

// ---- DeleteCoilDialog ----

DeleteCoilDialog::DeleteCoilDialog(WindowContext context, CoilDisplay& display, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), display_(display) {
  setObjectName("DeleteCoil");
  setWindowTitle(Utf8(DeleteCoil::kTitle));
  setModal(false);
  setFont(QFont(kUiFontFamily));
  auto* kinds = new QGroupBox("ｺｲﾙﾀｲﾌﾟ", this);
  auto* kinds_layout = new QVBoxLayout(kinds);
  auto* group = new QButtonGroup(this);
  for (size_t k = 0; k < options_.size(); ++k) {
    options_[k] = new QRadioButton(kOptionCaptions[k], kinds);
    options_[k]->setObjectName(QString("Option%1").arg(k + 1));
    group->addButton(options_[k], static_cast<int>(k));
    kinds_layout->addWidget(options_[k]);
  }
  auto* label = new QLabel("消去する磁石番号", this);
  number_ = new QLineEdit(this);
  number_->setObjectName("Text1");
  label->setBuddy(number_);
  QPushButton* enter = CommandButton(this, "Command1", "入力");
  QPushButton* cancel = CommandButton(this, "Command2", "ｷｬﾝｾﾙ");
  auto* layout = new QGridLayout(this);
  layout->addWidget(kinds, 0, 0, 1, 2);
  layout->addWidget(label, 1, 0);
  layout->addWidget(number_, 1, 1);
  layout->addWidget(enter, 2, 0);
  layout->addWidget(cancel, 2, 1);
  connect(group, &QButtonGroup::idClicked, this, [this](int id) {
    form_.OnKindChosen(static_cast<CoilKind>(id), context_.model, context_.board, display_);
    Sync();
  });
  connect(number_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (syncing_)
      return;
    form_.OnTextChanged(text.toStdString(), context_.model, context_.board, display_);
    Sync();
  });
  connect(enter, &QPushButton::clicked, this, [this] {
    const bool deleted = form_.Enter(context_.model, context_.board, display_);
    Sync();
    if (deleted) {
      close();
      NotifyEdited(context_);
    }
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
  Sync();
}

void DeleteCoilDialog::Open() {
  if (!isVisible())
    form_.Reset();
  Sync();
  ShowAgain(this);
  number_->setFocus(Qt::OtherFocusReason);
  number_->selectAll();
}

void DeleteCoilDialog::FollowModel() {
  if (!isVisible())
    return;
  form_.FollowModel(context_.model, display_);
  Sync();
}

void DeleteCoilDialog::Sync() {
  syncing_ = true;
  SetTextQuietly(number_, QString::fromStdString(form_.Text()));
  options_[static_cast<size_t>(form_.Kind())]->setChecked(true);
  syncing_ = false;
}

// ---- CoilWindows ----

CoilWindows::CoilWindows(WindowContext context) : context_(context), display_(context) {}

CoilWindows::~CoilWindows() {
  for (const QPointer<CoilDialog>& dialog : dialogs_)
    delete dialog.data();
  delete delete_.data();
}

bool CoilWindows::Run(MainCommand command) {
  switch (command) {
    case MainCommand::CreateStrCylCoil:
      OpenCoil(CoilKind::kStrCyl);
      return true;
    case MainCommand::CreateStrRecCoil:
      OpenCoil(CoilKind::kStrRec);
      return true;
    case MainCommand::CreateSecCylCoil:
      OpenCoil(CoilKind::kSecCyl);
      return true;
    case MainCommand::CreateSecRecCoil:
      OpenCoil(CoilKind::kSecRec);
      return true;
    case MainCommand::EraseCoil:
      OpenDelete();
      return true;
    default:
      return false;
  }
}

void CoilWindows::OpenCoil(CoilKind kind) {
  QPointer<CoilDialog>& dialog = dialogs_[static_cast<size_t>(kind)];
  if (!dialog) {
    dialog = new CoilDialog(kind, context_, display_);
    if (context_.events != nullptr)
      QObject::connect(context_.events, &ModelEvents::modelChanged, dialog.data(),
                       &CoilDialog::FollowModel);
  }
  dialog->Open();
}

void CoilWindows::OpenDelete() {
  if (!delete_) {
    delete_ = new DeleteCoilDialog(context_, display_);
    if (context_.events != nullptr)
      QObject::connect(context_.events, &ModelEvents::modelChanged, delete_.data(),
                       &DeleteCoilDialog::FollowModel);
  }
  delete_->Open();
}

}  // namespace tavrine
