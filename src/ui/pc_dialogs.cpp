// The Pc shape selector and the Pc dialogs: widgets bound by name to PcForm, the run behind the
// modal progress window, and the hand-over of results to the chart windows.
#include "ui/pc_dialogs.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

#include "display/element_drawing.h"
#include "model/material_grades.h"
#include "studies/pc_drawing.h"
#include "ui/field_run_controller.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/ui_fonts.h"

namespace tavrine {

namespace {}  // namespace

PcMagnetSelectDialog::PcMagnetSelectDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("PcMagnetSelect");
  setWindowTitle("Pc計算の磁石形状の選択");
  setModal(false);
  setFont(QFont(kUiFontFamily));
  auto* group = new QGroupBox("磁石の種類", this);
  group->setObjectName("Frame1");
  rect_ = new QRadioButton("角柱磁石", group);
  rect_->setObjectName("Option1");
  sect_ = new QRadioButton("円柱・扇型磁石", group);
  sect_->setObjectName("Option2");
  // The rectangular analysis is the one asked for most; it is chosen when the selector opens.
  rect_->setChecked(true);
  auto* choices = new QVBoxLayout(group);
  choices->addWidget(rect_);
  choices->addWidget(sect_);
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("Command1");
  ok->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(ok, 0, Qt::AlignRight);
  connect(ok, &QPushButton::clicked, this, &PcMagnetSelectDialog::OnOk);
}

void PcMagnetSelectDialog::OnOk() {
  std::optional<PcShape> shape;
  if (rect_->isChecked())
    shape = PcShape::kRect;
  else if (sect_->isChecked())
    shape = PcShape::kSect;
  close();
  if (shape)
    emit shapeChosen(*shape);
}

PcCalculationDialog::PcCalculationDialog(PcShape shape,
                                         ElementModel& model,
                                         NoticeBoard& notices,
                                         MainWindowLookup main_window,
                                         QWidget* parent)
    : QDialog(parent),
      shape_(shape),
      model_(model),
      notices_(notices),
      main_window_(std::move(main_window)),
      form_(shape) {
  setObjectName(Utf8(PcDialogName(shape)));
  setWindowTitle(Utf8(PcDialogTitle(shape)));
  setModal(false);
  setFont(QFont(kUiFontFamily));
  Build();
  runs_ = new FieldRunController(this);
  form_.Load(model_);
}

PcCalculationDialog::~PcCalculationDialog() = default;

QLineEdit* PcCalculationDialog::AddField(PcField field) {
  const PcFieldInfo& info = PcFieldOf(shape_, field);
  auto* edit = new QLineEdit(Utf8(form_.Text(field)), this);
  edit->setObjectName(Utf8(info.name));
  edit->setMinimumWidth(90);
  edit->installEventFilter(this);
  fields_[static_cast<size_t>(field)] = edit;
  connect(edit, &QLineEdit::textChanged, this,
          [this, field](const QString& text) { OnTextChanged(field, text); });
  return edit;
}

void PcCalculationDialog::Build() {
  auto* menu = new QMenuBar(this);
  // Entries kept from the dialog's layout; they have no action.
  menu->addAction("ﾌｧｲﾙ読込み")->setObjectName("mnuFileRead");
  menu->addAction("ﾌｧｲﾙ書込み")->setObjectName("mnuFileWrite");
  auto* grid = new QGridLayout;
  auto add_row = [&](PcField field, int row, int column) {
    QLineEdit* edit = AddField(field);
    auto* label = new QLabel(Utf8(PcFieldOf(shape_, field).label), this);
    label->setObjectName(QStringLiteral("Label_%1").arg(edit->objectName()));
    label->setBuddy(edit);
    grid->addWidget(label, row, column);
    grid->addWidget(edit, row, column + 1);
  };
  add_row(PcField::kMagNumber, 0, 0);
  add_row(PcField::kNDivZ, 1, 0);
  add_row(PcField::kText3, 2, 0);
  add_row(PcField::kOuterDiv, 3, 0);
  add_row(PcField::kInnerDiv, 4, 0);
  add_row(PcField::kText1, 5, 0);
  add_row(PcField::kTextTemp, 6, 0);
  add_row(PcField::kTextHcj20, 7, 0);
  add_row(PcField::kTextBr, 5, 2);
  add_row(PcField::kTextHcj, 6, 2);
  add_row(PcField::kTextMr, 7, 2);
  Field(PcField::kText1)->setReadOnly(true);

  auto* grade_label = new QLabel("磁石材質", this);
  grade_label->setObjectName("Label_List1");
  grades_ = new QListWidget(this);
  grades_->setObjectName("List1");
  const auto grades = MaterialGrades();
  for (int p = 0; p < kShownMaterialGrades; ++p) {
    grades_->addItem(QString::fromStdString(grades[static_cast<size_t>(p)].Name));
  }
  grades_->setMaximumHeight(150);
  grid->addWidget(grade_label, 0, 2, 1, 2);
  grid->addWidget(grades_, 1, 2, 4, 2);
  connect(grades_, &QListWidget::currentRowChanged, this, &PcCalculationDialog::OnGradeClicked);
  connect(grades_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { OnGradeClicked(grades_->row(item)); });

  auto* buttons = new QHBoxLayout;
  struct Command {
    const char* name;
    const char* caption;
    void (PcCalculationDialog::*action)();
  };
  for (const Command& c :
       {Command{"Command1", "パーミアンス分布計算開始", &PcCalculationDialog::Calculate},
        Command{"Command2", "ﾊﾟｰﾐｱﾝｽ分布関数計算", &PcCalculationDialog::Distribute},
        Command{"BIrrFluxLoss", "熱減磁率の計算", &PcCalculationDialog::EstimateLoss}}) {
    auto* button = new QPushButton(c.caption, this);
    button->setObjectName(c.name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, c.action);
    buttons->addWidget(button);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menu);
  layout->addLayout(grid);
  layout->addLayout(buttons);
}

void PcCalculationDialog::SetGraphs(ShowDistribution distribution, ShowLoss loss) {
  show_distribution_ = std::move(distribution);
  show_loss_ = std::move(loss);
}

void PcCalculationDialog::PrepareAndShow() {
  show();
  raise();
  activateWindow();
  form_.Prepare(model_, notices_);
  Sync();
}

void PcCalculationDialog::FollowModel() {
  if (!isVisible() || runs_->Running())
    return;
  form_.Refresh(model_, notices_);
  Sync();
}

void PcCalculationDialog::OnTextChanged(PcField field, const QString& text) {
  // The form's own replacements come back through textChanged; they are not user edits.
  if (syncing_)
    return;
  form_.Edit(field, text.toStdString(), model_, notices_);
  Sync();
}

void PcCalculationDialog::OnGradeClicked(int row) {
  if (syncing_ || row < 0)
    return;
  form_.ClickGrade(row, model_, notices_);
  Sync();
}

void PcCalculationDialog::Sync() {
  syncing_ = true;
  for (int f = 0; f < kPcFieldCount; ++f) {
    const QString text = Utf8(form_.Text(static_cast<PcField>(f)));
    QLineEdit* edit = fields_[static_cast<size_t>(f)];
    if (edit->text() != text)
      edit->setText(text);
  }
  if (grades_->currentRow() != form_.SelectedGrade()) {
    grades_->setCurrentRow(form_.SelectedGrade());
  }
  syncing_ = false;
  if (const std::optional<int> magnet = form_.TakeHighlight()) {
    MainWindow* window = main_window_ ? main_window_() : nullptr;
    const ElementKind kind = shape_ == PcShape::kRect ? ElementKind::kRecMag : ElementKind::kSecMag;
    if (window != nullptr && *magnet >= 1 && *magnet <= ElementCount(model_, kind))
      HighlightElement(model_, window->Display(), kind, *magnet);
  }
  if (const std::optional<PcField> field = form_.TakeFocus()) {
    QLineEdit* edit = Field(*field);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
  }
}

bool PcCalculationDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress)
    return QDialog::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Return && key != Qt::Key_Enter)
    return QDialog::eventFilter(watched, event);
  for (int f = 0; f < kPcFieldCount; ++f) {
    if (fields_[static_cast<size_t>(f)] != watched)
      continue;
    if (const std::optional<PcField> next = form_.Next(static_cast<PcField>(f))) {
      QLineEdit* edit = Field(*next);
      edit->setFocus(Qt::TabFocusReason);
      edit->selectAll();
    }
    // Enter never presses a button of this dialog.
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void PcCalculationDialog::closeEvent(QCloseEvent* event) {
  // The run writes into the model and into this dialog's cells until it ends.
  if (runs_->Running()) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void PcCalculationDialog::Calculate() {
  const std::optional<PcRunRequest> request = form_.StartCalculation(model_, notices_);
  Sync();
  if (!request)
    return;
  auto result = std::make_shared<PcRunResult>();
  ElementModel& model = model_;
  NoticeBoard& notices = notices_;
  runs_->Start(
      [&model, &notices, result, run = *request](Progress& progress) {
        *result = RunPcCalculation(model, run, progress, notices);
      },
      [this, result] {
        form_.FinishCalculation(*result);
        MainWindow* window = main_window_ ? main_window_() : nullptr;
        if (window != nullptr && shape_ == PcShape::kRect)
          DrawPcCellVectors(model_, window->Display(), result->vectors);
        Distribute();
      });
}

void PcCalculationDialog::Distribute() {
  const PcDistribution distribution = form_.Distribution(model_, notices_);
  Sync();
  if (show_distribution_)
    show_distribution_(distribution);
}

void PcCalculationDialog::EstimateLoss() {
  const FluxLossInputs inputs = form_.LossInputs(model_);
  const FluxLossCurve curve = form_.FluxLoss(model_, notices_);
  if (show_loss_)
    show_loss_(inputs, curve);
}

}  // namespace tavrine
