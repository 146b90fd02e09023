// The main window's menus, toolbars, view controls and closing, found by objectName.
#include "ui/main_window.h"

#include <memory>

#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolBar>
#include <qtestspontaneevent.h>

#include "model/resets.h"
#include "ui_test_support.h"

using tavrine::MainCommand;
using tavrine::MainWindow;
using tavrine::ui_testing::Caption;
using tavrine::ui_testing::Named;

Q_DECLARE_METATYPE(tavrine::MainCommand)

namespace {

struct Entry {
  const char* name;
  const char* caption;  // "-" for a separator
  bool hidden;
};

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void MenuEntriesHaveTheirCaptionsOrderAndVisibility_data();
  void MenuEntriesHaveTheirCaptionsOrderAndVisibility();
  void ToolbarButtonsHaveKeysTooltipsAndOrder();
  void ButtonsRunTheCommandsOfTheirKeys();
  void EntriesWithoutCommandAndKeylessButtonsDoNothing();
  void StandardShortcutsAreSet();
  void FileCommandsAskWithTheirTitles();
  void UnreadableFileRaisesCautionFileInOutAndKeepsTheModel();
  void TypingAVectorScaleRedrawsTheVectors();
  void ScrollPositionSetsTheZoomBox();
  void VectorScaleBoxIsReadAsANumber();
  void CloseByProgramAsksTheApplicationQuestion();
  void CloseFromTheFrameAsksTheTavrineQuestion();
  void ExitClosesDialogsFromTheMostRecentBack();

 private:
  std::unique_ptr<tavrine::ElementModel> model_;
  std::unique_ptr<tavrine::NoticeBoard> board_;
  MainWindow* window_ = nullptr;
  QStringList questions_;
  bool answer_ = false;
};

void MainWindowTest::init() {
  tavrine::ui_testing::UseJapaneseFont();
  model_ = std::make_unique<tavrine::ElementModel>();
  tavrine::FullReset(*model_);
  board_ = std::make_unique<tavrine::NoticeBoard>();
  window_ = new MainWindow(*model_, *board_);
  window_->resize(1280, 800);
  questions_.clear();
  answer_ = false;
  window_->SetConfirm([this](const QString& title, const QString& text) {
    questions_ << title + "|" + text;
    return answer_;
  });
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void MainWindowTest::cleanup() {
  answer_ = true;
  window_->SetConfirm([](const QString&, const QString&) { return true; });
  delete window_;
  window_ = nullptr;
}

void MainWindowTest::MenuEntriesHaveTheirCaptionsOrderAndVisibility_data() {
  QTest::addColumn<QString>("menu");
  QTest::addColumn<QStringList>("entries");  // name|caption|hidden
  auto row = [](const char* menu, std::initializer_list<Entry> entries) {
    QStringList list;
    for (const Entry& e : entries) {
      list << QString("%1|%2|%3").arg(e.name, QString::fromUtf8(e.caption)).arg(e.hidden);
    }
    QTest::newRow(menu) << QString(menu) << list;
  };
  row("MenuBar", {{"mnuFile", "ﾌｧｲﾙ", false},
                  {"mnuDisplay", "表示", false},
                  {"mnuCreateaAndModifyElement", "要素の作成と修正", false},
                  {"mnuMagFieldCalculation", "磁界計算", false},
                  {"mnuOtherCalculation", "各種計算", false},
                  {"mnuHelp", "ﾍﾙﾌﾟ", false}});
  row("mnuFile", {{"mnuFileOpen", "形状データの読み込み", false},
                  {"mnuOldFileOpen", "旧ﾊﾞｰジョンのデータ読み込み", true},
                  {"mnuFileBar0", "-", false},
                  {"mnuFileSaveAs", "形状データ、磁界計算データの保存", false},
                  {"mnuSaveDistFieldData", "磁界分布データの保存", false},
                  {"mnuSaveViewsPicture", "ビューの画像の保存", false},
                  {"mnuFileBar1", "-", false},
                  {"mnuFileExit", "終了(&X)", false}});
  row("mnuDisplay", {{"mnuReDrawElement", "要素の再描画", false},
                     {"mnuReDrawFieldVector", "磁場ベクトルの再描画", false},
                     {"mnuChangeColor", "色の変更", false},
                     {"mnuInitialize", "初期化", false},
                     {"mnuViewBar0", "-", false},
                     {"mnuFitAll", "全体表示", false},
                     {"mnuSmoothLines", "滑らかな線", false},
                     {"mnuFieldMap", "磁界マップ", false}});
  row("mnuCreateaAndModifyElement", {{"mnuCreateAndModifyMagnet", "磁石の作成と修正", false},
                                     {"mnuCreateAndModifyCoil", "ｺｲﾙの作成と修正", false},
                                     {"mnuDeleteElement", "要素の削除", false},
                                     {"mnuInputDataTable", "入力要素データの表示", false}});
  row("mnuCreateAndModifyMagnet", {{"mnuCreateRecMag", "角柱磁石", false},
                                   {"mnuCreateSecMag", "扇型磁石", false},
                                   {"mnuCreateDHMag", "DH型磁石", false},
                                   {"mnuCreateRHMag", "RH型磁石", false}});
  row("mnuCreateAndModifyCoil", {{"mnuCreateStrRecCoil", "直線角柱ｺｲﾙ", false},
                                 {"mnuCreateSecRecCoil", "扇型角柱ｺｲﾙ", false},
                                 {"mnuCteateStrCylCoil", "直線円柱型ｺｲﾙ", false},
                                 {"mnuCreateSecCylCoil", "曲線円柱型ｺｲﾙ", false}});
  row("mnuDeleteElement", {{"mnuDeleteRecMag", "角柱磁石", false},
                           {"mnuDeleteSecMag", "扇型磁石", false},
                           {"mnuDeleteDHMag", "DH型磁石", false},
                           {"mnuDeleteRHMag", "RH型磁石", false},
                           {"mnuDeleteCoil", "ｺｲﾙ", false}});
  row("mnuMagFieldCalculation", {{"mnuCreateCalucPoint", "計算点の作成", false},
                                 {"mnuStartMagFieldCalcu", "計算の開始", false},
                                 {"mnuFieldDataTable", "磁界データの表示", false}});
  row("mnuCreateCalucPoint", {{"mnuRectFieldCalPoint", "四角型分布", false},
                              {"mnuSectFieldCalcuPoint", "扇型分布", false},
                              {"mnuCylFieldCalPoint", "円筒型分布", false}});
  row("mnuStartMagFieldCalcu", {{"mnuStartRectFieldCaluculation", "四角型分布", false},
                                {"mnuStartSectFieldCaluculation", "扇型分布", false},
                                {"mnuStartCylFieldCaluculation", "円筒型分布", false}});
  row("mnuFieldDataTable", {{"mnuRectDataDist", "四角型分布", false},
                            {"mnuSectDataDist", "扇型分布", false},
                            {"mnuCylDataDist", "円筒型分布", true}});
  row("mnuOtherCalculation", {{"mnuPcCalculation", "Pc計算", false},
                              {"mnuCalcuBar", "-", false},
                              {"mnuKtCaluculation", "Ktの計算", true},
                              {"mnuKtCalculationData", "Kt計算結果の表示", true}});
  row("mnuHelp", {{"mnuHelpContents", "目次", false},
                  {"mnuHelpSearchForHelpOn", "ﾄﾋﾟｯｸの検索", false},
                  {"mnuHelpBar0", "-", false},
                  {"mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報", false}});
}

void MainWindowTest::MenuEntriesHaveTheirCaptionsOrderAndVisibility() {
  QFETCH(QString, menu);
  QFETCH(QStringList, entries);
  const QList<QAction*> actions = menu == "MenuBar"
                                      ? window_->menuBar()->actions()
                                      : Named<QMenu>(window_, menu.toUtf8().constData())->actions();
  QCOMPARE(actions.size(), entries.size());
  for (int i = 0; i < actions.size(); ++i) {
    const QStringList expected = entries[i].split('|');
    const QAction* action = actions[i];
    QCOMPARE(action->objectName(), expected[0]);
    if (expected[1] == "-") {
      QVERIFY(action->isSeparator());
    } else {
      QCOMPARE(Caption(action), expected[1]);
    }
    const bool hidden = expected[2] == "1";
    QCOMPARE(action->isVisible(), !hidden);
    QCOMPARE(action->isEnabled(), !hidden);
  }
}

void MainWindowTest::ToolbarButtonsHaveKeysTooltipsAndOrder() {
  const QStringList toolbar1{
      "BCreateRecMag|角柱磁石の作成",
      "BCreateCylinderMag|(中空)円柱磁石の作成",
      "BCreateDHMag|扇型磁石の作成",
      "BCreateRHMag|RH型磁石の作成",
      "BCreateStrRecCoil|角型直線ｺｲﾙの作成",
      "BCreateSecRecCoil|角型曲線ｺｲﾙの作成",
      "BCreateCoil|円柱型ｺｲﾙの作成",
      "BCreateSecCylCoil|円柱型曲線ｺｲﾙの作成",
      "BEraseRecMag|角柱型磁石の消去",
      "BEraseSecMag|扇型磁石の消去",
      "BEraseCoil|ｺｲﾙの消去",
      "BCreateCalPoint|角柱磁界計算点の作成",
      "BCreateSectorCalPoint|扇型分布磁界計算点の作成",
      "|円柱型分布磁界計算点の作成",
      "BStartCaluc|四角型分布磁界計算の開始",
      "BStartCalucSec|扇型分布磁界計算の開始",
      "|円柱型分布の磁界計算開始",
      "BPcCalculation|Pcの計算",
      "BForceCaluculation|磁石に働く力の計算",
      "BCheckData|入力データの確認",
      "BCkeckMagFieldData|角柱型分布計算結果の表示",
      "BCkeckSecMagFieldData|扇型分布磁界計算結果の確認",
      "|円柱型分布磁界計算結果確認",
  };
  const QStringList toolbar2{
      "BReadData|形状ﾃﾞｰﾀの読み込み",
      "BWriteData|形状ﾃﾞｰﾀ、計算結果の書き込み",
      "BSaveContour|磁石ﾃﾞｰﾀ、計算結果のコンター図形式で書き込み",
      "BWriteMag|磁石の再描画",
      "BDeleteWindow|ウインドウの塗つぶし",
      "BInitialize|初期化",
      "KtParameterInput|Ktの計算設定",
      "KtCaluculation|Ktの計算",
      "|Ktの計算結果の表示",
      "BWriteMagField|磁界計算結果の再表示",
      "BColor|色の選択",
      "BFitAll|全体表示",
  };
  const std::array<std::pair<const char*, const QStringList*>, 2> bars{
      std::pair{"Toolbar1", &toolbar1}, std::pair{"Toolbar2", &toolbar2}};
  for (const auto& [name, expected] : bars) {
    auto* bar = Named<QToolBar>(window_, name);
    const QList<QAction*> actions = bar->actions();
    QCOMPARE(actions.size(), expected->size());
    for (int i = 0; i < actions.size(); ++i) {
      const QStringList parts = (*expected)[i].split('|');
      QCOMPARE(actions[i]->objectName(), parts[0]);
      QCOMPARE(actions[i]->toolTip(), parts[1]);
      // Every button has an icon of its own, drawn from the resources.
      QVERIFY(!actions[i]->icon().pixmap(24, 24).isNull());
      QVERIFY(bar->widgetForAction(actions[i])->isVisible());
    }
  }
}

void MainWindowTest::ButtonsRunTheCommandsOfTheirKeys() {
  QSignalSpy spy(window_, &MainWindow::CommandRequested);
  const std::vector<std::pair<const char*, MainCommand>> cases{
      {"BCreateDHMag", MainCommand::CreateSecMag},
      {"BCreateCoil", MainCommand::CreateStrCylCoil},
      {"BCreateCylinderMag", MainCommand::CreateCylinderMag},
      {"BInitialize", MainCommand::InitializeByToolbar},
      {"mnuInitialize", MainCommand::InitializeByMenu},
      {"BColor", MainCommand::ChangeColour},
      {"mnuChangeColor", MainCommand::ChangeColour},
      {"BCreateCalPoint", MainCommand::RectGridDialog},
      {"mnuRectFieldCalPoint", MainCommand::RectGridDialog},
      {"KtParameterInput", MainCommand::KtParameterDialog},
      {"mnuHelpAbout", MainCommand::About},
  };
  for (const auto& [name, command] : cases) {
    spy.clear();
    Named<QAction>(window_, name)->trigger();
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy[0][0].value<MainCommand>(), command);
  }
}

void MainWindowTest::EntriesWithoutCommandAndKeylessButtonsDoNothing() {
  QSignalSpy spy(window_, &MainWindow::CommandRequested);
  const QStringList silent{"mnuOldFileOpen",      "mnuCreateDHMag",
                           "mnuDeleteRecMag",     "mnuDeleteSecMag",
                           "mnuDeleteDHMag",      "mnuDeleteRHMag",
                           "mnuDeleteCoil",       "mnuInputDataTable",
                           "mnuCylFieldCalPoint", "mnuStartCylFieldCaluculation",
                           "mnuRectDataDist",     "mnuSectDataDist",
                           "mnuCylDataDist",      "mnuKtCaluculation",
                           "mnuKtCalculationData"};
  QList<QAction*> keyless;
  for (const char* bar : {"Toolbar1", "Toolbar2"}) {
    for (QAction* action : Named<QToolBar>(window_, bar)->actions()) {
      if (action->objectName().isEmpty())
        keyless << action;
    }
  }
  QCOMPARE(keyless.size(), 4);
  const QImage before = window_->View(1)->Image();
  const int windows_before = static_cast<int>(QApplication::topLevelWidgets().size());
  for (const QString& name : silent) {
    QAction* action = Named<QAction>(window_, name.toUtf8().constData());
    // Even a forced trigger of a hidden entry runs nothing: nothing is connected to it.
    action->setEnabled(true);
    action->trigger();
  }
  for (QAction* action : keyless)
    action->trigger();
  QCoreApplication::processEvents();
  QCOMPARE(spy.size(), 0);
  QCOMPARE(window_->View(1)->Image(), before);
  QCOMPARE(static_cast<int>(QApplication::topLevelWidgets().size()), windows_before);
  QCOMPARE(model_->RecMagCount, 0);
}

void MainWindowTest::StandardShortcutsAreSet() {
  QCOMPARE(Named<QAction>(window_, "mnuFileOpen")->shortcut(), QKeySequence(QKeySequence::Open));
  QCOMPARE(Named<QAction>(window_, "mnuFileSaveAs")->shortcut(), QKeySequence(QKeySequence::Save));
  QCOMPARE(Named<QAction>(window_, "mnuFileExit")->shortcut(), QKeySequence(QKeySequence::Quit));
  QCOMPARE(Named<QAction>(window_, "mnuHelpContents")->shortcut(), QKeySequence(Qt::Key_F1));
}

void MainWindowTest::FileCommandsAskWithTheirTitles() {
  QStringList asked;
  window_->SetFileChooser([&asked](bool save, const QString& title) {
    asked << QString("%1|%2").arg(save ? "save" : "open", title);
    return QString();
  });
  model_->RecMagCount = 1;
  for (const char* name : {"BReadData", "mnuFileOpen", "BWriteData", "mnuFileSaveAs",
                           "BSaveContour", "mnuSaveDistFieldData"}) {
    Named<QAction>(window_, name)->trigger();
  }
  QCOMPARE(asked,
           (QStringList{"open|ファイルからデータの読み込み", "open|ファイルからデータの読み込み",
                        "save|磁石データ、計算結果データのファイルへの保存",
                        "save|磁石データ、計算結果データのファイルへの保存",
                        "save|3D分布用計算結果データのファイルへの保存",
                        "save|3D分布用計算結果データのファイルへの保存"}));
  // Cancelling changes nothing, the read included.
  QCOMPARE(model_->RecMagCount, 1);
  QVERIFY(model_->ModelFilePath.empty());
  QVERIFY(board_->OpenNotices().empty());
}

void MainWindowTest::UnreadableFileRaisesCautionFileInOutAndKeepsTheModel() {
  model_->RecMagCount = 1;
  model_->RecMagTable[1].a = 100;
  window_->SetFileChooser([](bool, const QString&) { return QString("/nonexistent/model.csv"); });
  Named<QAction>(window_, "BReadData")->trigger();
  QVERIFY(board_->IsOpen(tavrine::NoticeId::CautionFileInOut));
  QCOMPARE(model_->RecMagCount, 1);
  QCOMPARE(model_->RecMagTable[1].a, 100.0);
  QCOMPARE(model_->ModelFilePath, std::string("/nonexistent/model.csv"));
  QCOMPARE(board_->Detail(tavrine::NoticeId::CautionFileInOut),
           std::string("ファイル: /nonexistent/model.csv\nフォルダがありません"));
  // An endless device is refused at once, and the notice says which file and why.
  window_->SetFileChooser([](bool, const QString&) { return QString("/dev/zero"); });
  Named<QAction>(window_, "BReadData")->trigger();
  QCOMPARE(model_->RecMagTable[1].a, 100.0);
  QVERIFY(
      board_->Detail(tavrine::NoticeId::CautionFileInOut).find("通常のファイルではありません") !=
      std::string::npos);
}

void MainWindowTest::TypingAVectorScaleRedrawsTheVectors() {
  // One point at the origin with a field along +X: a pink line right of the top view's centre.
  model_->RectCalPointSet.LastIndex = 0;
  model_->RectCalPointSet.Points[0].Hx = 1000;
  auto pink_pixels = [this] {
    const QImage image = window_->View(1)->Image();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, y) == QColor(255, 20, 147))
          ++count;
      }
    }
    return count;
  };
  auto* box = Named<QLineEdit>(window_, "Text1");
  box->setText("0.01");
  const int short_line = pink_pixels();
  QVERIFY(short_line > 5);
  box->setText("0.03");
  const int long_line = pink_pixels();
  // The old vector went with the redraw; only the new, longer one is there.
  QVERIFY(long_line > 2 * short_line);
  QVERIFY(long_line < 4 * short_line);
}

void MainWindowTest::ScrollPositionSetsTheZoomBox() {
  auto* zoom_box = Named<QLineEdit>(window_, "Text6");
  QCOMPARE(zoom_box->text(), QString("1.0"));
  Named<QScrollBar>(window_, "HScroll1")->setValue(25);
  QCOMPARE(zoom_box->text(), QString("2.5"));
  QCOMPARE(model_->View.ZoomFactor, 2.5);
  zoom_box->setText("3.25abc");
  QCOMPARE(model_->View.ZoomFactor, 3.25);
  zoom_box->setText("x");
  QCOMPARE(model_->View.ZoomFactor, 0.0);
}

void MainWindowTest::VectorScaleBoxIsReadAsANumber() {
  auto* box = Named<QLineEdit>(window_, "Text1");
  QCOMPARE(box->text(), QString("0.005"));
  QCOMPARE(model_->View.VectorScale, 0.005);
  box->setText("0.02");
  QCOMPARE(model_->View.VectorScale, 0.02);
  box->setText("");
  QCOMPARE(model_->View.VectorScale, 0.0);
}

void MainWindowTest::CloseByProgramAsksTheApplicationQuestion() {
  answer_ = false;
  window_->close();
  QCOMPARE(questions_, QStringList{"Tavrine|アプリケーションを終了しますか ?"});
  QVERIFY(window_->isVisible());
}

void MainWindowTest::CloseFromTheFrameAsksTheTavrineQuestion() {
  answer_ = false;
  QCloseEvent event;
  QSpontaneKeyEvent::setSpontaneous(&event);
  static_cast<QObject*>(window_)->event(&event);
  QCOMPARE(questions_, QStringList{"Tavrine|Tavrineを終了しますか ?"});
  QVERIFY(!event.isAccepted());
}

void MainWindowTest::ExitClosesDialogsFromTheMostRecentBack() {
  QStringList closed;
  std::vector<std::unique_ptr<QDialog>> dialogs;
  for (const char* title : {"first", "second", "third"}) {
    auto dialog = std::make_unique<QDialog>();
    dialog->setWindowTitle(title);
    dialog->show();
    connect(dialog.get(), &QDialog::finished, this, [&closed, title] { closed << QString(title); });
    dialogs.push_back(std::move(dialog));
  }
  answer_ = false;
  Named<QAction>(window_, "mnuFileExit")->trigger();
  QCOMPARE(closed, (QStringList{"third", "second", "first"}));
  QCOMPARE(questions_, QStringList{"Tavrine|アプリケーションを終了しますか ?"});
  QVERIFY(window_->isVisible());
  for (const auto& dialog : dialogs)
    QVERIFY(!dialog->isVisible());
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
