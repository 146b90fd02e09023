// Help and about: the about window's texts and picture, the guide with its contents, and the
// keyword search.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>

#include "ui/about_window.h"
#include "ui/help_window.h"

using tavrine::AboutWindow;
using tavrine::HelpWindow;

class HelpAboutTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setFont(QFont("Noto Sans CJK JP")); }

  void AboutShowsItsTextsAndOkCloses() {
    QPointer<AboutWindow> about = new AboutWindow;
    about->show();
    QCOMPARE(about->windowTitle(), QString("Vemlaのﾊﾞｰｼﾞｮﾝ情報"));
    QVERIFY(!about->isModal());
    QCOMPARE(Label(about, "lblTitle"), QString("ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ   Vemla"));
    QCOMPARE(Label(about, "lblVersion"), QString("ﾊﾞｰｼﾞｮﾝ　　2.0"));
    const QString description = Label(about, "lblDescription");
    QVERIFY(description.startsWith("ｱﾌﾟﾘｹｰｼｮﾝの説明　"));
    QVERIFY(description.contains("円柱直線ｲﾙ要素、角柱直線ｺｲﾙ要素"));
    QVERIFY(description.endsWith("不可逆熱減磁率の推定計算が可能。"));
    const QString disclaimer = Label(about, "lblDisclaimer");
    QVERIFY(disclaimer.startsWith("警告: "));
    QVERIFY(
        disclaimer.contains("このソフトウェアを使用した結果発生したいかなる損害も著作者の責任を負う"
                            "ものではありません。"));
    // The picture was drawn from the built-in SVG, not left blank.
    const QImage picture = about->findChild<QLabel*>("picIcon")->pixmap().toImage();
    QVERIFY(!picture.isNull());
    QVERIFY(picture.pixelColor(48, 10).alpha() > 0);
    QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(about.isNull());
  }

  void FixedPathsLeadToTheBuiltInGuide() {
    const QUrl guide = tavrine::ResolveHelpPath(tavrine::kHelpContentsPath);
    QCOMPARE(guide, tavrine::ResolveHelpPath(tavrine::kHelpSearchPath));
    QCOMPARE(guide.scheme(), QString("qrc"));
  }

  void ContentsShowTheGuideAndItsSections() {
    HelpWindow help;
    QVERIFY(help.ShowContents());
    QVERIFY(help.isVisible());
    const QString text = help.Browser()->toPlainText();
    QVERIFY(text.contains("全体座標系の基本長さ(mm)"));
    auto* contents = help.findChild<QListWidget*>("lstContents");
    QVERIFY(contents->count() >= 8);
    QCOMPARE(contents->item(0)->text(), QString("概要"));
    QList<QListWidgetItem*> files = contents->findItems("ファイル", Qt::MatchExactly);
    QCOMPARE(files.size(), 1);
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                      contents->visualItemRect(files[0]).center());
    QCOMPARE(help.Browser()->textCursor().block().text(), QString("ファイル"));
  }

  void SearchListsTheSectionsWithTheKeyword() {
    HelpWindow help;
    QVERIFY(help.ShowSearch());
    QVERIFY(QTest::qWaitForWindowActive(&help));
    auto* keyword = help.findChild<QLineEdit*>("txtKeyword");
    QCOMPARE(QApplication::focusWidget(), keyword);
    keyword->setText("上書き");
    QTest::keyClick(keyword, Qt::Key_Return);
    auto* results = help.findChild<QListWidget*>("lstResults");
    QCOMPARE(results->count(), 1);
    QCOMPARE(results->item(0)->text(), QString("ファイル"));
    QCOMPARE(help.Browser()->textCursor().selectedText(), QString("上書き"));
    // Latin keywords match whatever their case; one entry per section however many hits.
    QVERIFY(help.Search("scaleh=") >= 1);
    QCOMPARE(keyword->text(), QString("scaleh="));
    QCOMPARE(help.Search("存在しない語句"), 0);
    QCOMPARE(results->count(), 0);
  }

 private:
  static QString Label(QWidget* window, const char* name) {
    auto* label = window->findChild<QLabel*>(name);
    return label ? label->text() : QString("<missing %1>").arg(name);
  }
};

QTEST_MAIN(HelpAboutTest)
#include "help_about_test.moc"
