// Logic of the Kt set-up dialog "回転座標、回転コイルの入力" (the rotating frame, the current
// elements to turn, the sweep angles, previews in the four views) and of the coil-division
// dialog "ｺｲﾙ分割数の入力" that walks the selected elements for their piece counts.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "display/element_drawing.h"
#include "display/views.h"
#include "display/world_line.h"
#include "model/element_model.h"
#include "model/notices.h"

namespace tavrine {

// The set-up dialog's text fields; the frame and angle fields in their Enter-key cycle order.
enum class KtField { Text1, Text2, Text4, Text5, Text6, Text7, Text3, Text8, Text9, Text10 };
inline constexpr int kKtFieldCount = 10;

inline constexpr Rgb kKtFrameGrey{150, 150, 150};
inline constexpr double kKtAxisLength = 50;  // mm
inline constexpr int kKtListCapacity = kKtSlots - 1;

// The arc rectangular wire turned by phi about the Kt frame's Z axis: its outline and colours,
// every point carried by KtRotatedPoint (mark mode green, highlight white).
void DrawSecRecCoilTurned(const ElementModel& model,
                          Canvas& canvas,
                          int e,
                          double phi,
                          const ViewAngles& angles,
                          DrawMode mode,
                          Notices& notices);

// A straight or arc round wire (Kt kind 2 or 3) turned by phi: generators along the wire and its
// end circles, every point carried by KtRotatedPoint.
void DrawRoundWireTurned(const ElementModel& model,
                         Canvas& canvas,
                         int kind,
                         int e,
                         double phi,
                         const ViewAngles& angles,
                         DrawMode mode,
                         Notices& notices);

// The three axes of the Kt frame as global lines, in axis colours or grey.
std::vector<WorldLine> KtFrameLines(const ElementModel& model, bool in_colour);

// What a command asks the dialog to show afterwards.
struct KtSetupReply {
  std::optional<std::string> text3, text8;
  std::optional<int> kind;
  std::optional<KtField> focus;  // takes the focus with its whole text selected
};

class KtSetupForm {
 public:
  // Before the first opening the sweep is still empty (start and end 0): it takes the dialog's
  // initial end angle, so that the first sweep covers the angles the dialog shows.
  static void PrepareOpening(ElementModel& model);
  // The field texts that opening the dialog shows (Text3 keeps its own text).
  static std::array<std::string, kKtFieldCount> OpenTexts(const ElementModel& model);
  static std::string_view InitialText(KtField field);
  // Enter in a frame or angle field moves to the next of its cycle; other fields stay.
  static std::optional<KtField> NextField(KtField field);

  // Frame and angle fields write the model; a step not above 0 waits for the commit.
  void OnTextChanged(KtField field, std::string_view text, ElementModel& model, Notices& notices);
  // The step entry is complete (Enter or the focus leaving it): a step not above 0 raises
  // Caution7 and is 5°.
  void CommitStep(std::string_view text, ElementModel& model, Notices& notices) const;

  int Kind() const { return kind_; }
  void SetKind(int kind) { kind_ = kind; }

  KtSetupReply EnterFrame(ElementModel& model, Views& views) const;       // Command5 "入力"
  void ShowFrame(ElementModel& model, Views& views, bool pressed) const;  // Command6 "表示"
  void CheckPressed(std::string_view text3, ElementModel& model, Views& views, Notices& notices);
  void CheckReleased(std::string_view text3, ElementModel& model, Views& views);  // "確認"
  KtSetupReply AddElement(std::string_view text3,
                          ElementModel& model,
                          Views& views,
                          Notices& notices);  // Command4 "入力"
  // Command1 "表示": the angles are read again from Text8, Text9, Text10.
  void Preview(const std::array<std::string, 3>& angle_texts,
               ElementModel& model,
               Views& views,
               Notices& notices) const;
  void Erase(ElementModel& model, Views& views) const;  // Command2 "消去"
  // Command10 "決定": redraws with the turned elements; the coil-division walk starts next.
  void Confirm(ElementModel& model, Views& views, Notices& notices) const;

 private:
  int kind_ = 0;
  bool check_drawn_ = false;
};

// The walk of the coil-division dialog over the four kind lists.
class KtDivisionWalk {
 public:
  static constexpr std::array<std::string_view, 3> kDivisionDefaults = {"8", "2", "2"};

  std::string KindCaption() const;                           // Text1
  std::string ElementText(const ElementModel& model) const;  // Text2
  int State() const { return state_; }
  bool Finished() const { return finished_; }

  // "入力" with Text11, Text12, Text13. A count below 1, or more pieces than KtPointSet holds,
  // raises Caution6 and stores nothing. Returns true when the walk has ended and the Kt
  // calculation dialog opens.
  bool Enter(const std::array<std::string, 3>& division_texts,
             ElementModel& model,
             Views& views,
             Notices& notices);

 private:
  int Position() const { return positions_[static_cast<size_t>(state_)]; }
  int ListEntry(const ElementModel& model) const;
  void NextState();

  int state_ = 0;
  std::array<int, 4> positions_{1, 0, 0, 0};
  bool finished_ = false;
};

}  // namespace tavrine
