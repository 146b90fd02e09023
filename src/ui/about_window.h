// The about window "frmAbout1": title, version, description, disclaimer, a picture and "OK".
#pragma once

#include <QDialog>

namespace tavrine {

inline constexpr const char* kAboutWindowTitle = "Vemlaのﾊﾞｰｼﾞｮﾝ情報";
inline constexpr const char* kAboutTitle = "ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ   Vemla";
inline constexpr const char* kAboutVersion = "ﾊﾞｰｼﾞｮﾝ　　2.0";
inline constexpr const char* kAboutDescription =
    "ｱﾌﾟﾘｹｰｼｮﾝの説明　　　　　　　　　　　　　　　　　　　　　　角柱磁石要素、円柱（扇型）磁石要素"
    "、DH型磁石要素、RH型磁石要素、円柱直線ｲﾙ要素、角柱直線ｺｲﾙ要素、円柱曲線ｺｲﾙ要素、扇型角柱ｺｲﾙ要"
    "素の系が作る磁界をﾁｬｰｼﾞﾓﾃﾞﾙ法で計算する。磁界分布としては四角型、扇型が選べる。更に扇型磁石のP"
    "c分布関数、不可逆熱減磁率の推定計算が可能。";
inline constexpr const char* kAboutDisclaimer =
    "警告: "
    "このソフトウェアは現状のままで提供され、その正しさや特定の目的への適合性は保証されません。"
    "このソフトウェアを使用した結果発生したいかなる損害も著作者の責任を負うものではありません。";

// Non-modal; "OK" (cmdOK) closes and deletes it, so opening it again rebuilds it.
class AboutWindow : public QDialog {
  Q_OBJECT

 public:
  explicit AboutWindow(QWidget* parent = nullptr);
};

}  // namespace tavrine
