// The help window: the user guide shipped with the program, with its contents and a keyword
// search. The help menu's fixed document paths all lead here.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTextBrowser>
#include <QWidget>

namespace tavrine {

// Where the help menu's commands point; both name the one guide built into the program.
inline constexpr const char* kHelpContentsPath = "C:\\Windows\\TavrineHelp\\TavrineHelp.chm";
inline constexpr const char* kHelpSearchPath = "C:\\TavrineHelp.chm";
// The help file named for keyword look-ups; not empty, so topic search always searches.
inline constexpr const char* kConfiguredHelpFile = "qrc:/help/guide.html";
inline constexpr const char* kNoHelpMessage =
    "ﾍﾙﾌﾟの目次を表示できません。 このﾌﾟﾛｼﾞｪｸﾄに関連付けられたﾍﾙﾌﾟaaaが存在しません。";

// The guide a fixed help path stands for (every known path maps to the built-in guide).
QUrl ResolveHelpPath(const QString& fixed_path);

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // "目次": the guide from its start with the contents tab. False when the guide is missing.
  bool ShowContents();
  // "ﾄﾋﾟｯｸの検索": the guide with the search tab and the focus in the keyword box.
  bool ShowSearch();
  // Lists the sections that contain the keyword (case-insensitive) and shows the first hit.
  // Returns the number of sections found.
  int Search(const QString& keyword);
  QTextBrowser* Browser() const { return browser_; }

 private:
  bool LoadGuide(const QUrl& url);
  void BuildContents();
  void GoToBlock(int position);
  void OnResultActivated(QListWidgetItem* item);
  void ShowAndRaise();

  QTabWidget* tabs_ = nullptr;
  QListWidget* contents_ = nullptr;
  QLineEdit* keyword_ = nullptr;
  QListWidget* results_ = nullptr;
  QTextBrowser* browser_ = nullptr;
  QString last_keyword_;
};

}  // namespace tavrine
