// Help window: a text browser over the guide, a contents list of its sections and a search
// that lists the sections holding a keyword.
#include "ui/help_window.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>

#include "ui/dialog_resources.h"

namespace tavrine {

namespace {

constexpr int kSectionLevel = 2;

QListWidget* MakeList(QWidget* parent, const char* name) {
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  return list;
}

}  // namespace

QUrl ResolveHelpPath(const QString&) {
  // The fixed paths name a document of another platform; this build carries its own guide.
  return QUrl(QString::fromUtf8(kConfiguredHelpFile));
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  InitDialogResources();
  setObjectName("frmHelp");
  setWindowTitle("Tavrine ヘルプ");
  setFont(QFont("Noto Sans CJK JP"));
  contents_ = MakeList(this, "lstContents");
  keyword_ = new QLineEdit(this);
  keyword_->setObjectName("txtKeyword");
  keyword_->setPlaceholderText("キーワードを入力");
  auto* search = new QPushButton("検索", this);
  search->setObjectName("cmdSearch");
  results_ = MakeList(this, "lstResults");
  auto* search_page = new QWidget(this);
  auto* search_row = new QHBoxLayout;
  search_row->addWidget(keyword_, 1);
  search_row->addWidget(search);
  auto* search_layout = new QVBoxLayout(search_page);
  search_layout->addLayout(search_row);
  search_layout->addWidget(results_, 1);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("tabNavigation");
  tabs_->addTab(contents_, "目次");
  tabs_->addTab(search_page, "検索");
  browser_ = new QTextBrowser(this);
  browser_->setObjectName("txtGuide");
  browser_->setOpenExternalLinks(false);
  auto* splitter = new QSplitter(this);
  splitter->addWidget(tabs_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({220, 560});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter);
  resize(820, 600);
  connect(contents_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { GoToBlock(item->data(Qt::UserRole).toInt()); });
  connect(contents_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { GoToBlock(item->data(Qt::UserRole).toInt()); });
  connect(results_, &QListWidget::itemActivated, this, &HelpWindow::OnResultActivated);
  connect(results_, &QListWidget::itemClicked, this, &HelpWindow::OnResultActivated);
  connect(keyword_, &QLineEdit::returnPressed, this, [this] { Search(keyword_->text()); });
  connect(search, &QPushButton::clicked, this, [this] { Search(keyword_->text()); });
}

bool HelpWindow::LoadGuide(const QUrl& url) {
  if (browser_->source() != url) {
    browser_->setSource(url, QTextDocument::HtmlResource);
    BuildContents();
  }
  return !browser_->document()->isEmpty();
}

void HelpWindow::BuildContents() {
  contents_->clear();
  for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() == kSectionLevel) {
      auto* item = new QListWidgetItem(block.text(), contents_);
      item->setData(Qt::UserRole, block.position());
    }
  }
}

bool HelpWindow::ShowContents() {
  const bool loaded = LoadGuide(ResolveHelpPath(QString::fromUtf8(kHelpContentsPath)));
  tabs_->setCurrentIndex(0);
  GoToBlock(0);
  ShowAndRaise();
  return loaded;
}

bool HelpWindow::ShowSearch() {
  if (!LoadGuide(ResolveHelpPath(QString::fromUtf8(kHelpSearchPath)))) {
    // Only a failed keyword look-up is reported, in a box that does not block.
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(),
                                "ヘルプ文書を読み込めませんでした。", QMessageBox::NoButton, this);
    box->addButton("OK", QMessageBox::AcceptRole);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    return false;
  }
  tabs_->setCurrentIndex(1);
  ShowAndRaise();
  keyword_->setFocus(Qt::OtherFocusReason);
  keyword_->selectAll();
  return true;
}

int HelpWindow::Search(const QString& keyword) {
  results_->clear();
  last_keyword_ = keyword.trimmed();
  if (keyword_->text() != keyword) {
    keyword_->setText(keyword);
  }
  if (last_keyword_.isEmpty()) {
    return 0;
  }
  LoadGuide(QUrl(QString::fromUtf8(kConfiguredHelpFile)));
  QString section = windowTitle();
  int section_start = 0;
  int last_listed = -1;
  for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() == kSectionLevel) {
      section = block.text();
      section_start = block.position();
    }
    if (section_start != last_listed && block.text().contains(last_keyword_, Qt::CaseInsensitive)) {
      auto* item = new QListWidgetItem(section, results_);
      item->setData(Qt::UserRole, section_start);
      last_listed = section_start;
    }
  }
  if (results_->count() > 0) {
    results_->setCurrentRow(0);
    OnResultActivated(results_->item(0));
  }
  return results_->count();
}

void HelpWindow::OnResultActivated(QListWidgetItem* item) {
  GoToBlock(item->data(Qt::UserRole).toInt());
  // Select the first occurrence of the keyword from the section's start.
  QTextCursor hit = browser_->document()->find(last_keyword_, browser_->textCursor());
  if (!hit.isNull()) {
    browser_->setTextCursor(hit);
    browser_->ensureCursorVisible();
  }
}

void HelpWindow::GoToBlock(int position) {
  QTextCursor cursor(browser_->document());
  cursor.setPosition(position);
  browser_->setTextCursor(cursor);
  // Scroll so the section starts at the top rather than merely into view.
  browser_->verticalScrollBar()->setValue(browser_->verticalScrollBar()->maximum());
  browser_->ensureCursorVisible();
}

void HelpWindow::ShowAndRaise() {
  show();
  raise();
  activateWindow();
}

}  // namespace tavrine
