// The Kt set-up and coil-division forms: field rules, the selection lists, the previews.
#include "studies/kt_setup.h"

#include <algorithm>
#include <cmath>

#include "display/element_drawing.h"
#include "geometry/transforms.h"
#include "model/text_rules.h"
#include "studies/kt_sweep.h"

namespace tavrine {

namespace {

constexpr std::array<std::string_view, 4> kKindCaptions = {"直線角型ｺｲﾙ", "曲線角型ｺｲﾙ",
                                                           "直線円柱ｺｲﾙ", "曲線円柱ｺｲﾙ"};

std::string Number(double value) {
  return ShortestDecimal(value + 0.0);
}

double StepOrDefault(double degrees, Notices& notices) {
  if (degrees > 0) {
    return DegToRad(degrees);
  }
  notices.Raise(NoticeId::Caution7);
  return DegToRad(5);
}

bool Listed(const KtState& kt, int kind, int n) {
  const size_t k = static_cast<size_t>(kind);
  const int count = std::clamp(kt.KtSelectionCount[k], 0, kKtListCapacity);
  for (int p = 1; p <= count; ++p) {
    if (kt.KtSelection[k][static_cast<size_t>(p)] == n) {
      return true;
    }
  }
  return false;
}

void DrawInViews(
    const ElementModel& model, Views& views, ElementKind kind, int i, int segments, DrawMode mode) {
  for (int view : kRedrawOrder) {
    DrawElement(model, views[view], kind, i, segments, AnglesOfView(model, view), mode);
  }
}

// The element table of each Kt kind.
ElementKind ElementKindOf(int kt_kind) {
  switch (kt_kind) {
    case kKtStrRec:
      return ElementKind::kStrRecCoil;
    case kKtSecRec:
      return ElementKind::kSecRecCoil;
    case kKtStrCyl:
      return ElementKind::kStrCylCoil;
    default:
      return ElementKind::kSecCylCoil;
  }
}

bool IsArcKind(int kt_kind) {
  return kt_kind == kKtSecRec || kt_kind == kKtSecCyl;
}

bool IsKtKind(int kt_kind) {
  return kt_kind >= 0 && kt_kind < kKtKinds;
}

int CountOfKind(const ElementModel& model, int kt_kind) {
  return std::clamp(ElementCount(model, ElementKindOf(kt_kind)), 0, kElementCapacity);
}

// Every element of the kind, the listed ones in mark mode and the others in normal mode.
void RedrawWithMarks(const ElementModel& model, Views& views, int kind) {
  const ElementKind element_kind = ElementKindOf(kind);
  const int count = std::clamp(ElementCount(model, element_kind), 0, kElementCapacity);
  for (int i = 1; i <= count; ++i) {
    const DrawMode mode = Listed(model.Kt, kind, i) ? DrawMode::kMark : DrawMode::kNormal;
    DrawInViews(model, views, element_kind, i, DefaultSegments(element_kind), mode);
  }
}

// Both lists turned by every angle of the sweep, into the four views.
void DrawTurnedList(ElementModel& model, Views& views, DrawMode mode, Notices& notices) {
  const KtState& kt = model.Kt;
  const int straight = std::clamp(kt.KtSelectionCount[kKtStrRec], 0, kKtListCapacity);
  const int arcs = std::clamp(kt.KtSelectionCount[kKtSecRec], 0, kKtListCapacity);
  for (double phi : KtSweepAngles(kt).phi) {
    for (int view : kRedrawOrder) {
      const ViewAngles angles = AnglesOfView(model, view);
      for (int p = 1; p <= straight; ++p) {
        const int e = kt.KtSelection[kKtStrRec][static_cast<size_t>(p)];
        DrawStrRecCoilRotated(model, views[view], e, phi, angles, mode, notices);
      }
      for (int p = 1; p <= arcs; ++p) {
        const int e = kt.KtSelection[kKtSecRec][static_cast<size_t>(p)];
        DrawSecRecCoilTurned(model, views[view], e, phi, angles, mode, notices);
      }
      for (int kind : {kKtStrCyl, kKtSecCyl}) {
        const size_t k = static_cast<size_t>(kind);
        const int count = std::clamp(kt.KtSelectionCount[k], 0, kKtListCapacity);
        for (int p = 1; p <= count; ++p) {
          DrawRoundWireTurned(model, views[view], kind, kt.KtSelection[k][static_cast<size_t>(p)],
                              phi, angles, mode, notices);
        }
      }
    }
  }
}

bool Append(KtState& kt, int kind, int n, Notices& notices) {
  const size_t k = static_cast<size_t>(kind);
  if (kt.KtSelectionCount[k] >= kKtListCapacity) {
    notices.Raise(NoticeId::CautionCapacity);
    return false;
  }
  kt.KtSelectionCount[k] += 1;
  kt.KtSelection[k][static_cast<size_t>(kt.KtSelectionCount[k])] = n;
  return true;
}

}  // namespace

void DrawSecRecCoilTurned(const ElementModel& model,
                          Canvas& canvas,
                          int e,
                          double phi,
                          const ViewAngles& angles,
                          DrawMode mode,
                          Notices& notices) {
  if (e < 1 || e > kElementCapacity) {
    return;
  }
  const SecRecCoil& c = model.SecRecCoilTable[static_cast<size_t>(e)];
  const ViewProjector projector = ProjectorFor(model, canvas, angles);
  auto at = [&](double rho, double theta, double z) {
    const Vec3 p{rho * std::cos(theta), rho * std::sin(theta), z};
    return projector.Project(KtRotatedPoint(model, kKtSecRec, e, phi, p, notices));
  };
  const bool negative = c.CurrentDensity < 0;
  auto colour = [mode](Rgb normal) {
    return mode == DrawMode::kNormal ? normal : mode == DrawMode::kMark ? kMarkGreen : kWhite;
  };
  auto line = [&canvas](ScreenPoint a, ScreenPoint b, Rgb rgb) {
    canvas.Line(a.x, a.y, b.x, b.y, rgb);
  };
  const double half = c.Angle / 2;
  const int n = kSecRecSegments;
  for (double rho : {c.Ro, c.Ri}) {
    for (double z : {-c.T, 0.0}) {
      ScreenPoint from = at(rho, -half, z);
      for (int s = 1; s <= n; ++s) {
        const ScreenPoint to = at(rho, -half + c.Angle * s / n, z);
        line(from, to, colour(CurrentGradient(s, n, negative)));
        from = to;
      }
    }
  }
  for (double theta : {-half, half}) {
    const bool entry = (theta < 0) != negative;
    const Rgb end = colour(entry ? kCurrentEntryColour : kCurrentExitColour);
    for (double rho : {c.Ro, c.Ri}) {
      line(at(rho, theta, 0), at(rho, theta, -c.T), end);
    }
    for (double z : {0.0, -c.T}) {
      line(at(c.Ri, theta, z), at(c.Ro, theta, z), end);
    }
  }
}

namespace {

constexpr int kRoundWireGenerators = 8;
constexpr int kRoundWireCircleSegments = 16;

// A round wire's outline in its own frame: generators along its length (arcs: along the angle)
// at `kRoundWireGenerators` places round the cross-section, then the end circles.
struct RoundWireOutline {
  std::vector<std::vector<Vec3>> generators, ends;
};

RoundWireOutline OutlineOf(const ElementModel& model, int kind, int e) {
  const size_t i = static_cast<size_t>(e);
  const bool arc = kind == kKtSecCyl;
  const double r = arc ? model.SecCylCoilTable[i].rwire : model.StrCylCoilTable[i].R;
  const double length = arc ? model.SecCylCoilTable[i].Angle : model.StrCylCoilTable[i].Lx;
  const double radius = arc ? model.SecCylCoilTable[i].R : 0;
  // t runs from −½ to ½ along the wire; psi round its cross-section.
  auto at = [&](double t, double psi) {
    if (!arc) {
      return Vec3{t * length, r * std::cos(psi), r * std::sin(psi)};
    }
    const double rho = radius + r * std::cos(psi), theta = t * length;
    return Vec3{rho * std::cos(theta), rho * std::sin(theta), r * std::sin(psi)};
  };
  const int steps = arc ? kSecCylSegments : 1;
  RoundWireOutline outline;
  for (int g = 0; g < kRoundWireGenerators; ++g) {
    std::vector<Vec3>& line = outline.generators.emplace_back();
    for (int s = 0; s <= steps; ++s) {
      line.push_back(
          at(-0.5 + static_cast<double>(s) / steps, 2 * Pi() * g / kRoundWireGenerators));
    }
  }
  for (double t : {-0.5, 0.5}) {
    std::vector<Vec3>& circle = outline.ends.emplace_back();
    for (int s = 0; s <= kRoundWireCircleSegments; ++s) {
      circle.push_back(at(t, 2 * Pi() * s / kRoundWireCircleSegments));
    }
  }
  return outline;
}

}  // namespace

void DrawRoundWireTurned(const ElementModel& model,
                         Canvas& canvas,
                         int kind,
                         int e,
                         double phi,
                         const ViewAngles& angles,
                         DrawMode mode,
                         Notices& notices) {
  if ((kind != kKtStrCyl && kind != kKtSecCyl) || e < 1 || e > kElementCapacity) {
    return;
  }
  const ViewProjector projector = ProjectorFor(model, canvas, angles);
  const bool negative =
      (kind == kKtSecCyl ? model.SecCylCoilTable[static_cast<size_t>(e)].CurrentDensity
                         : model.StrCylCoilTable[static_cast<size_t>(e)].CurrentDensity) < 0;
  auto colour = [mode](Rgb normal) {
    return mode == DrawMode::kNormal ? normal : mode == DrawMode::kMark ? kMarkGreen : kWhite;
  };
  auto polyline = [&](const std::vector<Vec3>& points, auto rgb_of_step) {
    ScreenPoint from = projector.Project(KtRotatedPoint(model, kind, e, phi, points[0], notices));
    for (size_t s = 1; s < points.size(); ++s) {
      const ScreenPoint to =
          projector.Project(KtRotatedPoint(model, kind, e, phi, points[s], notices));
      canvas.Line(from.x, from.y, to.x, to.y, colour(rgb_of_step(s, points.size() - 1)));
      from = to;
    }
  };
  const RoundWireOutline outline = OutlineOf(model, kind, e);
  for (const auto& line : outline.generators) {
    polyline(line, [negative](size_t s, size_t n) {
      return CurrentGradient(static_cast<int>(s), static_cast<int>(n), negative);
    });
  }
  for (size_t end = 0; end < outline.ends.size(); ++end) {
    const Rgb rgb = (end == 0) != negative ? kCurrentEntryColour : kCurrentExitColour;
    polyline(outline.ends[end], [rgb](size_t, size_t) { return rgb; });
  }
}

std::vector<WorldLine> KtFrameLines(const ElementModel& model, bool in_colour) {
  const KtState& kt = model.Kt;
  const Placement frame{kt.Orx, kt.Ory, kt.Orz, kt.ThetaRx, kt.ThetaRy, kt.ThetaRz};
  const Vec3 origin{kt.Orx, kt.Ory, kt.Orz};
  const std::array<Vec3, 3> ends = {Vec3{kKtAxisLength, 0, 0}, Vec3{0, kKtAxisLength, 0},
                                    Vec3{0, 0, kKtAxisLength}};
  const std::array<Rgb, 3> colours = {Rgb{255, 0, 0}, Rgb{0, 255, 0}, Rgb{0, 0, 255}};
  std::vector<WorldLine> lines;
  for (size_t a = 0; a < 3; ++a) {
    lines.push_back({origin, PointToGlobal(ends[a], frame), in_colour ? colours[a] : kKtFrameGrey});
  }
  return lines;
}

std::array<std::string, kKtFieldCount> KtSetupForm::OpenTexts(const ElementModel& model) {
  const KtState& kt = model.Kt;
  auto degrees = [&model](double radians) { return Number(radians / model.Pi * 180); };
  return {Number(kt.Orx),
          Number(kt.Ory),
          Number(kt.Orz),
          degrees(kt.ThetaRx),
          degrees(kt.ThetaRy),
          degrees(kt.ThetaRz),
          std::string(InitialText(KtField::Text3)),
          degrees(kt.StartAngle),
          degrees(kt.EndAngle),
          degrees(kt.StepAngle)};
}

void KtSetupForm::PrepareOpening(ElementModel& model) {
  KtState& kt = model.Kt;
  if (kt.StartAngle == 0 && kt.EndAngle == 0) {
    kt.EndAngle = DegToRad(NumericValue(InitialText(KtField::Text9)));
  }
}

std::string_view KtSetupForm::InitialText(KtField field) {
  switch (field) {
    case KtField::Text3:
      return "1";
    case KtField::Text9:
      return "40";
    case KtField::Text10:
      return "5";
    default:
      return "0";
  }
}

std::optional<KtField> KtSetupForm::NextField(KtField field) {
  switch (field) {
    case KtField::Text1:
      return KtField::Text2;
    case KtField::Text2:
      return KtField::Text4;
    case KtField::Text4:
      return KtField::Text5;
    case KtField::Text5:
      return KtField::Text6;
    case KtField::Text6:
      return KtField::Text7;
    case KtField::Text7:
      return KtField::Text1;
    case KtField::Text8:
      return KtField::Text9;
    case KtField::Text9:
      return KtField::Text10;
    case KtField::Text10:
      return KtField::Text8;
    default:
      return std::nullopt;
  }
}

void KtSetupForm::OnTextChanged(KtField field,
                                std::string_view text,
                                ElementModel& model,
                                Notices& /*notices: the step waits for CommitStep*/) {
  KtState& kt = model.Kt;
  const double value = NumericValue(text);
  switch (field) {
    case KtField::Text1:
      kt.Orx = value;
      return;
    case KtField::Text2:
      kt.Ory = value;
      return;
    case KtField::Text4:
      kt.Orz = value;
      return;
    case KtField::Text5:
      kt.ThetaRx = DegToRad(value);
      return;
    case KtField::Text6:
      kt.ThetaRy = DegToRad(value);
      return;
    case KtField::Text7:
      kt.ThetaRz = DegToRad(value);
      return;
    case KtField::Text8:
      kt.StartAngle = DegToRad(value);
      return;
    case KtField::Text9:
      kt.EndAngle = DegToRad(value);
      return;
    case KtField::Text10:
      // "0" is on the way to "0.5": a step not above 0 is judged when the entry is committed.
      if (value > 0) {
        kt.StepAngle = DegToRad(value);
      }
      return;
    case KtField::Text3:
      return;
  }
}

void KtSetupForm::CommitStep(std::string_view text, ElementModel& model, Notices& notices) const {
  model.Kt.StepAngle = StepOrDefault(NumericValue(text), notices);
}

KtSetupReply KtSetupForm::EnterFrame(ElementModel& model, Views& views) const {
  DrawPreviewLines(model, views, KtFrameLines(model, true));
  KtSetupReply reply;
  reply.text3 = "1";
  reply.focus = KtField::Text3;
  return reply;
}

void KtSetupForm::ShowFrame(ElementModel& model, Views& views, bool pressed) const {
  DrawPreviewLines(model, views, KtFrameLines(model, pressed));
}

void KtSetupForm::CheckPressed(std::string_view text3,
                               ElementModel& model,
                               Views& views,
                               Notices& notices) {
  check_drawn_ = false;
  if (!IsKtKind(kind_)) {
    return;
  }
  const int n = RoundToInt32(NumericValue(text3));
  if (n < 1 || n > CountOfKind(model, kind_)) {
    notices.Raise(NoticeId::Caution4);
    return;
  }
  const ElementKind kind = ElementKindOf(kind_);
  if (IsArcKind(kind_)) {
    DrawInViews(model, views, kind, n, DefaultSegments(kind), DrawMode::kMark);
  } else {
    DrawInViews(model, views, kind, n, DefaultSegments(kind), DrawMode::kHighlight);
  }
  check_drawn_ = true;
}

void KtSetupForm::CheckReleased(std::string_view text3, ElementModel& model, Views& views) {
  // Only a press that drew something is undone.
  if (!check_drawn_) {
    return;
  }
  check_drawn_ = false;
  if (!IsArcKind(kind_)) {
    RedrawWithMarks(model, views, kind_);
  } else {
    const int n = RoundToInt32(NumericValue(text3));
    const ElementKind kind = ElementKindOf(kind_);
    DrawInViews(model, views, kind, n, DefaultSegments(kind), DrawMode::kNormal);
  }
}

KtSetupReply KtSetupForm::AddElement(std::string_view text3,
                                     ElementModel& model,
                                     Views& views,
                                     Notices& notices) {
  KtSetupReply reply;
  reply.focus = KtField::Text3;
  if (!IsKtKind(kind_)) {
    return reply;
  }
  KtState& kt = model.Kt;
  const int n = RoundToInt32(NumericValue(text3));
  if (Listed(kt, kind_, n)) {
    return reply;
  }
  // A straight kind hands over to its arc kind, as the rectangular wires always have.
  const bool straight = !IsArcKind(kind_);
  const int count = CountOfKind(model, kind_);
  if (n < 1 || n > count) {
    notices.Raise(NoticeId::Caution4);
    if (straight) {
      reply.text3 = "1";
      kind_ += 1;
      reply.kind = kind_;
    }
    return reply;
  }
  if (!Append(kt, kind_, n, notices)) {
    return reply;
  }
  RedrawWithMarks(model, views, kind_);
  int next = n + 1;
  if (straight) {
    if (n == count) {
      next = 1;  // "0" plus 1: the arc list starts from its first element
      kind_ += 1;
      reply.kind = kind_;
    }
    reply.text3 = Number(next);
    return reply;
  }
  reply.text3 = Number(next);
  if (next > count) {
    reply.text3 = Number(count);
    reply.text8 = "0";
    reply.focus = KtField::Text8;
  }
  return reply;
}

void KtSetupForm::Preview(const std::array<std::string, 3>& angle_texts,
                          ElementModel& model,
                          Views& views,
                          Notices& notices) const {
  KtState& kt = model.Kt;
  kt.StartAngle = DegToRad(NumericValue(angle_texts[0]));
  kt.EndAngle = DegToRad(NumericValue(angle_texts[1]));
  kt.StepAngle = StepOrDefault(NumericValue(angle_texts[2]), notices);
  DrawTurnedList(model, views, DrawMode::kHighlight, notices);
}

void KtSetupForm::Erase(ElementModel& model, Views& views) const {
  RedrawAll(model, views);
}

void KtSetupForm::Confirm(ElementModel& model, Views& views, Notices& notices) const {
  RedrawAll(model, views);
  DrawTurnedList(model, views, DrawMode::kNormal, notices);
}

std::string KtDivisionWalk::KindCaption() const {
  return std::string(kKindCaptions[static_cast<size_t>(state_)]);
}

int KtDivisionWalk::ListEntry(const ElementModel& model) const {
  const int p = Position();
  if (p < 1 || p > kKtListCapacity) {
    return 0;
  }
  return model.Kt.KtSelection[static_cast<size_t>(state_)][static_cast<size_t>(p)];
}

std::string KtDivisionWalk::ElementText(const ElementModel& model) const {
  return Number(ListEntry(model));
}

void KtDivisionWalk::NextState() {
  if (state_ == 3) {
    finished_ = true;
    return;
  }
  ++state_;
  positions_[static_cast<size_t>(state_)] = 1;
}

bool KtDivisionWalk::Enter(const std::array<std::string, 3>& division_texts,
                           ElementModel& model,
                           Views& views,
                           Notices& notices) {
  if (finished_) {
    return true;
  }
  KtState& kt = model.Kt;
  const size_t s = static_cast<size_t>(state_);
  const int e = ListEntry(model);
  if (e >= 1) {
    MarkElement(model, views, ElementKindOf(state_), e, IsArcKind(state_) ? 8 : 0);
  }
  const int count = std::clamp(kt.KtSelectionCount[s], 0, kKtListCapacity);
  const int p = Position();
  if (count == 0 || p > count) {
    NextState();
    return finished_;
  }
  const int l = RoundToInt32(NumericValue(division_texts[0]));
  const int w = RoundToInt32(NumericValue(division_texts[1]));
  const int t = RoundToInt32(NumericValue(division_texts[2]));
  if (l < 1 || w < 1 || t < 1 || int64_t{l} * w * t > kPointSlots) {
    notices.Raise(NoticeId::Caution6);
    return false;
  }
  const size_t entry = static_cast<size_t>(p);
  kt.DivL[s][entry] = l;
  kt.DivW[s][entry] = w;
  kt.DivT[s][entry] = t;
  if (p == count) {
    NextState();
  } else {
    positions_[s] = p + 1;
  }
  return finished_;
}

}  // namespace tavrine
