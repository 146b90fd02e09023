// Force dialog: binds the magnet choice, the number fields, Command1 and Label2 to ForceForm, and
// runs the study off the UI thread through the main window's run controller.
#include "ui/force_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QMessageBox>
#include <QVBoxLayout>

#include "display/element_drawing.h"
#include "display/views.h"
#include "ui/field_run_controller.h"
#include "ui/main_window.h"
#include "ui/model_events.h"
#include "ui/qt_text.h"
#include "ui/ui_fonts.h"

namespace tavrine {

namespace {

void ShowBlockingMessage(const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, title, text);
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.exec();
}

// The drawn element kind of each magnet choice.
ElementKind DrawnKind(ForceShape shape) {
  switch (shape) {
    case ForceShape::kRecMag:
      return ElementKind::kRecMag;
    case ForceShape::kRhMag:
      return ElementKind::kRhMag;
    default:
      return ElementKind::kSecMag;
  }
}

}  // namespace

ForceCaluculationDialog::ForceCaluculationDialog(const WindowContext& context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      study_(std::make_shared<ForceStudy>()),
      message_box_(ShowBlockingMessage) {
  setObjectName("ForceCaluculation");
  setWindowTitle("力の計算");
  setModal(false);
  setFont(QFont(kUiFontFamily));
  BuildWidgets();
  form_.Load();
  ShowForm();
}

void ForceCaluculationDialog::BuildWidgets() {
  auto* frame = new QGroupBox("磁石の選択", this);
  frame->setObjectName("Frame1");
  auto* grid = new QGridLayout(frame);
  auto* label = new QLabel("磁石番号", frame);
  label->setObjectName("Label1");
  grid->addWidget(label, 0, 1);
  const std::array<const char*, kForceShapes> captions = {"角柱磁石", "扇形磁石", "弓形磁石",
                                                          "RH型磁石"};
  for (int i = 0; i < kForceShapes; ++i) {
    auto* option = new QRadioButton(captions[static_cast<size_t>(i)], frame);
    option->setObjectName(QStringLiteral("Option%1").arg(i + 1));
    auto* field = new QLineEdit(frame);
    field->setObjectName(QStringLiteral("Text%1").arg(i + 1));
    field->setMaximumWidth(90);
    grid->addWidget(option, i + 1, 0);
    grid->addWidget(field, i + 1, 1);
    options_[static_cast<size_t>(i)] = option;
    fields_[static_cast<size_t>(i)] = field;
    connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
      if (on)
        OnChoice(static_cast<ForceShape>(i));
    });
    connect(field, &QLineEdit::textChanged, this,
            [this, i](const QString& text) { OnTextChanged(i, text); });
  }
  start_ = new QPushButton("計算開始", this);
  start_->setObjectName("Command1");
  // A long computation starts only from the button, never from Enter in a field.
  start_->setAutoDefault(false);
  connect(start_, &QPushButton::clicked, this, &ForceCaluculationDialog::OnStart);
  result_ = new QLabel(this);
  result_->setObjectName("Label2");
  // Room for the nine result lines from the start: the dialog keeps the size it opened with.
  result_->setMinimumSize(260, result_->fontMetrics().lineSpacing() * 10);
  result_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addWidget(start_, 0, Qt::AlignRight);
  layout->addWidget(result_);
  options_[0]->setChecked(true);
}

void ForceCaluculationDialog::Open() {
  // Shown again after a hidden spell: the model may have changed meanwhile.
  FollowModel();
  show();
  raise();
  activateWindow();
}

void ForceCaluculationDialog::FollowModel() {
  form_.Refresh(context_.model);
  ShowForm();
}

void ForceCaluculationDialog::ShowForm() {
  for (int i = 0; i < kForceShapes; ++i) {
    fields_[static_cast<size_t>(i)]->setEnabled(form_.FieldEnabled(i));
    SetFieldText(i, form_.Text(i));
  }
  start_->setEnabled(form_.StartEnabled());
  QString text = Utf8(form_.ResultText());
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  result_->setText(text);
}

void ForceCaluculationDialog::SetFieldText(int field, const std::string& text) {
  QLineEdit* edit = fields_[static_cast<size_t>(field)];
  if (edit->text().toStdString() == text)
    return;
  // The form has already judged the text it gives back; its echo is no user edit.
  restoring_ = true;
  edit->setText(Utf8(text));
  restoring_ = false;
}

void ForceCaluculationDialog::OnTextChanged(int field, const QString& text) {
  if (restoring_)
    return;
  const ForceForm::Action action =
      form_.OnTextChanged(field, text.toStdString(), context_.model, context_.board);
  ShowForm();
  Act(action);
}

void ForceCaluculationDialog::OnChoice(ForceShape shape) {
  form_.Choose(shape);
  ShowForm();
  if (isVisible())
    HighlightChoice();
}

// Everything drawn anew first, so the highlight of an earlier choice or number goes away.
void ForceCaluculationDialog::HighlightChoice() {
  MainWindow* main = context_.main_window();
  if (!main)
    return;
  main->RedrawAll();
  const ForceShape shape = form_.Shape();
  if (form_.StartEnabled())
    HighlightElement(context_.model, main->Display(), DrawnKind(shape), form_.MagnetNumber(shape));
}

void ForceCaluculationDialog::OnStart() {
  const ForceForm::Action action = form_.OnStart(context_.model);
  ShowForm();
  Act(action);
}

void ForceCaluculationDialog::Act(ForceForm::Action action) {
  switch (action) {
    case ForceForm::Action::kHighlight:
      HighlightChoice();
      return;
    case ForceForm::Action::kNoSuchMagnet:
      NoSuchMagnet();
      return;
    case ForceForm::Action::kCompute:
      Compute();
      return;
    case ForceForm::Action::kNone:
      return;
  }
}

void ForceCaluculationDialog::NoSuchMagnet() {
  const ForceShape shape = form_.ActedShape();
  message_box_(Utf8(ForceForm::NoMagnetTitle(shape)), Utf8(ForceForm::NoMagnetText(shape)));
  if (MainWindow* main = context_.main_window())
    main->RedrawAll();
}

void ForceCaluculationDialog::Compute() {
  MainWindow* main = context_.main_window();
  if (!main)
    return;
  ElementModel& model = context_.model;
  NoticeBoard& board = context_.board;
  // The run owns its share of the study, so the thread never outlives what it writes into.
  std::shared_ptr<ForceStudy> study = study_;
  const ForceTarget target = form_.Target();
  auto result = std::make_shared<std::optional<ForceResult>>();
  QPointer<ForceCaluculationDialog> self(this);
  main->Runs().Start(
      [&model, &board, study, target, result](Progress& progress) {
        *result = study->Run(model, target, progress, board);
      },
      [self, result] {
        if (!self || !result->has_value())
          return;
        self->form_.ShowResult(**result);
        self->ShowForm();
        emit self->computed();
      });
}

ForceWindowGroup::~ForceWindowGroup() {
  delete dialog_.data();
}

bool ForceWindowGroup::Run(MainCommand command) {
  if (command != MainCommand::ForceDialog)
    return false;
  if (!dialog_) {
    dialog_ = new ForceCaluculationDialog(context_);
    if (context_.events != nullptr)
      QObject::connect(context_.events, &ModelEvents::modelChanged, dialog_.data(),
                       &ForceCaluculationDialog::FollowModel);
  }
  dialog_->Open();
  return true;
}

}  // namespace tavrine
