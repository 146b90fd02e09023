// The fixed set of non-blocking notices and the interface that raises them.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrine {

enum class NoticeId {
  Caution,
  Caution2,
  Caution3,
  Caution4,
  Caution5,
  Caution6,
  Caution7,
  Caution8,
  Caution9,
  Caution11,
  Caution12,
  Caution13,
  PcCaluculationNotice,
  CautionFileInOut,
  CautionFileExist,
  CautionCapacity,  // refusals of grids and elements beyond the model's capacity
};
inline constexpr int kNoticeCount = static_cast<int>(NoticeId::CautionCapacity) + 1;

struct NoticeText {
  NoticeId id;
  std::string_view name;
  std::string_view title;
  std::string_view message;
  std::vector<std::string_view> buttons;
};

const NoticeText& NoticeInfo(NoticeId id);
const std::array<NoticeText, kNoticeCount>& AllNotices();

// Raising never blocks and is safe from any thread; a notice exists at most once, so raising
// an open notice shows that same notice again. A non-empty title replaces the notice's title.
class Notices {
 public:
  virtual ~Notices() = default;
  virtual void Raise(NoticeId id, std::string_view title = {}) = 0;
  // A text shown under the notice's fixed message (a file error's file, line and reason) until
  // the notice is closed; set it before raising. Receivers without such a line ignore it.
  virtual void SetDetail(NoticeId, std::string_view) {}
};

// Thread-safe record of which notices are open and under which title. The UI listens to it and
// shows one window per open notice; tests read it directly.
class NoticeBoard : public Notices {
 public:
  using Listener = std::function<void(NoticeId)>;

  void Raise(NoticeId id, std::string_view title = {}) override;
  void SetDetail(NoticeId id, std::string_view detail) override;
  std::string Detail(NoticeId id) const;
  void Close(NoticeId id);
  bool IsOpen(NoticeId id) const;
  std::string Title(NoticeId id) const;
  int RaiseCount(NoticeId id) const;
  std::vector<NoticeId> OpenNotices() const;
  // Called on the raising thread after every raise, outside the board's lock.
  void SetListener(Listener listener);

 private:
  struct Entry {
    bool open = false;
    std::string title;
    std::string detail;
    int raise_count = 0;
  };
  mutable std::mutex mutex_;
  std::array<Entry, kNoticeCount> entries_{};
  Listener listener_;
};

// Discards every notice.
class NullNotices final : public Notices {
 public:
  void Raise(NoticeId, std::string_view = {}) override {}
};

// Passes each distinct (notice, title) on once for as long as it lives: a run's kernels may
// raise the same notice for thousands of points. Safe from any thread.
class OncePerRunNotices final : public Notices {
 public:
  explicit OncePerRunNotices(Notices& target) : target_(target) {}
  void Raise(NoticeId id, std::string_view title = {}) override;

 private:
  Notices& target_;
  // Untitled notices, the common case inside kernels, are filtered without a lock.
  std::array<std::atomic<bool>, kNoticeCount> untitled_{};
  std::mutex mutex_;
  std::set<std::pair<NoticeId, std::string>> titled_;
};

}  // namespace tavrine
