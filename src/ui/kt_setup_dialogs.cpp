// Kt set-up and coil-division dialogs: layout, and every event forwarded to the core's forms.
#include "ui/kt_setup_dialogs.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

#include "model/text_rules.h"
#include "ui/qt_text.h"
#include "ui/ui_fonts.h"

namespace tavrine {

namespace {

QLabel* Caption(QWidget* parent, const char* text) {
  return new QLabel(QString::fromUtf8(text), parent);
}

}  // namespace

KtParameterDialog::KtParameterDialog(ElementModel& model,
                                     Notices& notices,
                                     ViewsLookup views,
                                     QWidget* parent)
    : QDialog(parent), model_(model), notices_(notices), views_(std::move(views)) {
  setObjectName("KtParameterInput");
  setWindowTitle("回転座標、回転コイルの入力");
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(QFont(kUiFontFamily));
  auto* layout = new QVBoxLayout(this);
  // Offered as in the other dialogs; they have no action.
  auto* menu = new QMenuBar(this);
  menu->addAction("ﾌｧｲﾙ読込み")->setObjectName("mnuFileRead");
  menu->addAction("ﾌｧｲﾙ書込み")->setObjectName("mnuFileWrite");
  layout->setMenuBar(menu);
  layout->addWidget(BuildFrameGroup());
  layout->addWidget(BuildCoilGroup());
  layout->addWidget(BuildAngleGroup());
}

QLineEdit* KtParameterDialog::AddField(KtField field, const char* name) {
  auto* edit = new QLineEdit(Utf8(KtSetupForm::InitialText(field)), this);
  edit->setObjectName(name);
  edit->setMaximumWidth(90);
  edit->installEventFilter(this);
  connect(edit, &QLineEdit::textChanged, this, [this, field](const QString& text) {
    if (!filling_)
      form_.OnTextChanged(field, text.toStdString(), model_, notices_);
  });
  fields_[static_cast<size_t>(field)] = edit;
  return edit;
}

QPushButton* KtParameterDialog::AddButton(const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromUtf8(caption), this);
  button->setObjectName(name);
  // Enter in a field moves along its cycle; it never presses a button.
  button->setAutoDefault(false);
  return button;
}

QWidget* KtParameterDialog::BuildFrameGroup() {
  auto* group = new QGroupBox("１．.回転座標系の入力", this);
  auto* grid = new QGridLayout(group);
  grid->addWidget(Caption(group, "原点座標"), 0, 0);
  grid->addWidget(Caption(group, "回転角"), 0, 2);
  const std::array<std::pair<KtField, const char*>, 6> fields = {{{KtField::Text1, "Text1"},
                                                                  {KtField::Text2, "Text2"},
                                                                  {KtField::Text4, "Text4"},
                                                                  {KtField::Text5, "Text5"},
                                                                  {KtField::Text6, "Text6"},
                                                                  {KtField::Text7, "Text7"}}};
  const std::array<const char*, 6> labels = {"Orx", "Ory", "Orz", "θrx", "θry", "θrz"};
  for (int i = 0; i < 6; ++i) {
    const int column = i < 3 ? 0 : 2;
    grid->addWidget(Caption(group, labels[static_cast<size_t>(i)]), 1 + i % 3, column);
    grid->addWidget(
        AddField(fields[static_cast<size_t>(i)].first, fields[static_cast<size_t>(i)].second),
        1 + i % 3, column + 1);
  }
  QPushButton* enter = AddButton("Command5", "入力");
  QPushButton* show = AddButton("Command6", "表示");
  grid->addWidget(enter, 4, 1);
  grid->addWidget(show, 4, 3);
  connect(enter, &QPushButton::clicked, this,
          [this] { Apply(form_.EnterFrame(model_, views_())); });
  connect(show, &QPushButton::pressed, this, [this] { form_.ShowFrame(model_, views_(), true); });
  connect(show, &QPushButton::released, this, [this] { form_.ShowFrame(model_, views_(), false); });
  return group;
}

QWidget* KtParameterDialog::BuildCoilGroup() {
  auto* group = new QGroupBox("２．回転させるコイル番号の入力", this);
  auto* grid = new QGridLayout(group);
  auto* kinds = new QGroupBox("コイルタイプ", group);
  auto* kinds_layout = new QVBoxLayout(kinds);
  const std::array<const char*, 4> captions = {"角型直線コイル", "角型曲線コイル",
                                               "円柱型直線コイル", "円柱型曲線コイル"};
  for (int k = 0; k < 4; ++k) {
    auto* option = new QRadioButton(QString::fromUtf8(captions[static_cast<size_t>(k)]), kinds);
    option->setObjectName(QStringLiteral("Option%1").arg(k + 1));
    kinds_layout->addWidget(option);
    connect(option, &QRadioButton::toggled, this, [this, k](bool on) {
      if (on)
        form_.SetKind(k);
    });
    options_[static_cast<size_t>(k)] = option;
  }
  options_[0]->setChecked(true);
  grid->addWidget(kinds, 0, 0, 3, 1);
  grid->addWidget(Caption(group, "コイル番号"), 0, 1);
  grid->addWidget(AddField(KtField::Text3, "Text3"), 0, 2);
  QPushButton* check = AddButton("Command3", "確認");
  QPushButton* add = AddButton("Command4", "入力");
  grid->addWidget(check, 1, 2);
  grid->addWidget(add, 2, 2);
  connect(check, &QPushButton::pressed, this, [this] {
    form_.CheckPressed(Field(KtField::Text3)->text().toStdString(), model_, views_(), notices_);
  });
  connect(check, &QPushButton::released, this, [this] {
    form_.CheckReleased(Field(KtField::Text3)->text().toStdString(), model_, views_());
  });
  connect(add, &QPushButton::clicked, this, [this] {
    Apply(
        form_.AddElement(Field(KtField::Text3)->text().toStdString(), model_, views_(), notices_));
  });
  return group;
}

QWidget* KtParameterDialog::BuildAngleGroup() {
  auto* group = new QGroupBox("３．回転させる角度の入力（Z軸の回り）", this);
  auto* grid = new QGridLayout(group);
  grid->addWidget(Caption(group, "開始角"), 0, 0);
  grid->addWidget(AddField(KtField::Text8, "Text8"), 0, 1);
  grid->addWidget(Caption(group, "終了角"), 1, 0);
  grid->addWidget(AddField(KtField::Text9, "Text9"), 1, 1);
  grid->addWidget(Caption(group, "ｽﾃｯﾌﾟ角"), 2, 0);
  grid->addWidget(AddField(KtField::Text10, "Text10"), 2, 1);
  QPushButton* preview = AddButton("Command1", "表示");
  QPushButton* erase = AddButton("Command2", "消去");
  QPushButton* confirm = AddButton("Command10", "決定");
  grid->addWidget(preview, 0, 2);
  grid->addWidget(erase, 1, 2);
  grid->addWidget(confirm, 2, 2);
  connect(preview, &QPushButton::clicked, this, [this] {
    form_.Preview(
        {Field(KtField::Text8)->text().toStdString(), Field(KtField::Text9)->text().toStdString(),
         Field(KtField::Text10)->text().toStdString()},
        model_, views_(), notices_);
  });
  connect(erase, &QPushButton::clicked, this, [this] { form_.Erase(model_, views_()); });
  connect(confirm, &QPushButton::clicked, this, &KtParameterDialog::OnConfirm);
  return group;
}

void KtParameterDialog::FillFromModel() {
  const auto texts = KtSetupForm::OpenTexts(model_);
  filling_ = true;
  for (int f = 0; f < kKtFieldCount; ++f) {
    if (static_cast<KtField>(f) != KtField::Text3)
      fields_[static_cast<size_t>(f)]->setText(Utf8(texts[static_cast<size_t>(f)]));
  }
  filling_ = false;
}

void KtParameterDialog::FollowModel() {
  if (!isVisible())
    return;
  // A field whose text already reads as the model's value keeps the user's spelling of it.
  const auto texts = KtSetupForm::OpenTexts(model_);
  filling_ = true;
  for (int f = 0; f < kKtFieldCount; ++f) {
    QLineEdit* edit = fields_[static_cast<size_t>(f)];
    const std::string& shown = texts[static_cast<size_t>(f)];
    if (static_cast<KtField>(f) != KtField::Text3 &&
        NumericValue(edit->text().toStdString()) != NumericValue(shown))
      edit->setText(Utf8(shown));
  }
  filling_ = false;
}

void KtParameterDialog::Open() {
  KtSetupForm::PrepareOpening(model_);
  FillFromModel();
  show();
  raise();
  activateWindow();
  FocusWhole(KtField::Text1);
}

void KtParameterDialog::FocusWhole(KtField field) {
  Field(field)->setFocus(Qt::OtherFocusReason);
  Field(field)->selectAll();
}

void KtParameterDialog::Apply(const KtSetupReply& reply) {
  if (reply.kind)
    options_[static_cast<size_t>(*reply.kind)]->setChecked(true);
  if (reply.text3)
    Field(KtField::Text3)->setText(Utf8(*reply.text3));
  // Text8 is a field like any other: its change sets the start angle.
  if (reply.text8)
    Field(KtField::Text8)->setText(Utf8(*reply.text8));
  if (reply.focus)
    FocusWhole(*reply.focus);
}

void KtParameterDialog::OnConfirm() {
  form_.Confirm(model_, views_(), notices_);
  emit confirmed();
  close();
}

bool KtParameterDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      for (int f = 0; f < kKtFieldCount; ++f) {
        if (watched != fields_[static_cast<size_t>(f)])
          continue;
        CommitStep(static_cast<KtField>(f));
        if (auto next = KtSetupForm::NextField(static_cast<KtField>(f)))
          FocusWhole(*next);
        return true;
      }
    }
  }
  if (event->type() == QEvent::FocusOut && watched == fields_[static_cast<size_t>(KtField::Text10)])
    CommitStep(KtField::Text10);
  return QDialog::eventFilter(watched, event);
}

void KtParameterDialog::CommitStep(KtField field) {
  if (field == KtField::Text10 && !filling_)
    form_.CommitStep(Field(field)->text().toStdString(), model_, notices_);
}

CoilDevideDialog::CoilDevideDialog(ElementModel& model,
                                   Notices& notices,
                                   ViewsLookup views,
                                   QWidget* parent)
    : QDialog(parent), model_(model), notices_(notices), views_(std::move(views)) {
  setObjectName("CoilDevide");
  setWindowTitle("ｺｲﾙ分割数の入力");
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(QFont(kUiFontFamily));
  auto* grid = new QGridLayout(this);
  kind_ = new QLineEdit(this);
  kind_->setObjectName("Text1");
  kind_->setReadOnly(true);
  element_ = new QLineEdit(this);
  element_->setObjectName("Text2");
  element_->setReadOnly(true);
  grid->addWidget(kind_, 0, 0, 1, 2);
  grid->addWidget(Caption(this, "ｺｲﾙ番号"), 1, 0);
  grid->addWidget(element_, 1, 1);
  const std::array<const char*, 3> names = {"Text11", "Text12", "Text13"};
  const std::array<const char*, 3> captions = {"L方向", "W方向", "T方向"};
  for (size_t i = 0; i < 3; ++i) {
    divisions_[i] = new QLineEdit(Utf8(KtDivisionWalk::kDivisionDefaults[i]), this);
    divisions_[i]->setObjectName(names[i]);
    grid->addWidget(Caption(this, captions[i]), 2 + static_cast<int>(i), 0);
    grid->addWidget(divisions_[i], 2 + static_cast<int>(i), 1);
  }
  auto* enter = new QPushButton("入力", this);
  enter->setObjectName("Command1");
  // Enter in a division field enters the counts.
  enter->setDefault(true);
  grid->addWidget(enter, 5, 1);
  connect(enter, &QPushButton::clicked, this, &CoilDevideDialog::OnEnter);
}

void CoilDevideDialog::Start() {
  walk_ = KtDivisionWalk{};
  ShowPosition();
  show();
  raise();
  activateWindow();
}

void CoilDevideDialog::ShowPosition() {
  kind_->setText(Utf8(walk_.KindCaption()));
  element_->setText(Utf8(walk_.ElementText(model_)));
}

void CoilDevideDialog::OnEnter() {
  const bool finished =
      walk_.Enter({divisions_[0]->text().toStdString(), divisions_[1]->text().toStdString(),
                   divisions_[2]->text().toStdString()},
                  model_, views_(), notices_);
  ShowPosition();
  if (finished) {
    emit walkFinished();
    close();
  }
}

}  // namespace tavrine
