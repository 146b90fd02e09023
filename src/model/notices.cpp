// Notice texts and the thread-safe notice board.
#include "model/notices.h"

namespace tavrine {

const std::array<NoticeText, kNoticeCount>& AllNotices() {
  static const std::array<NoticeText, kNoticeCount> kNotices{{
      {NoticeId::Caution, "Caution", "注意", "ｺｲﾙ半径が”0”です", {"OK"}},
      {NoticeId::Caution2, "Caution2", "警告", "磁界計算点が入力されていません。", {"OK"}},
      {NoticeId::Caution3, "Caution3", "警告", "ゼロで除算しようとしています。", {"OK"}},
      {NoticeId::Caution4, "Caution4", "注意", "指定した番号のｺｲﾙがありません！", {"OK"}},
      {NoticeId::Caution5, "Caution5", "注意", "入力値が正しくありません", {"OK"}},
      {NoticeId::Caution6, "Caution6", "注意", "入力値が範囲外です。", {"OK"}},
      {NoticeId::Caution7, "Caution7", "注意", "ｽﾃｯﾌﾟ角がｾﾞﾛになっています！", {"閉じる"}},
      {NoticeId::Caution8, "Caution8", "注意", "分割数は1から10の整数を入力してください", {"OK"}},
      {NoticeId::Caution9, "Caution9", "注意", "指定した番号の磁石がありません！", {"OK"}},
      {NoticeId::Caution11, "Caution11", "警告", "Log（ゼロ）　の計算あり", {"OK"}},
      {NoticeId::Caution12, "Caution12", "注意", "不可逆減磁の解析領域がありません。", {"OK"}},
      {NoticeId::Caution13,
       "Caution13",
       "注意",
       "Ri(内R）がRo（外R）より大きくなっています。",
       {"OK"}},
      {NoticeId::PcCaluculationNotice,
       "PcCaluculationNotice",
       "注意",
       "Pc計算を先に行なって下さい.",
       {"OK"}},
      {NoticeId::CautionFileInOut,
       "CautionFileInOut",
       "CautionFileInOut",
       "ファイル入出力エラーです。　　　　　　　　　ファイルが開いていないか確認してください。",
       {"OK"}},
      {NoticeId::CautionFileExist,
       "CautionFileExist",
       "確認",
       "ファイルは存在します。上書きしてよろしいですか？",
       {"はい", "いいえ"}},
      {NoticeId::CautionCapacity,
       "CautionCapacity",
       "注意",
       "要素数または計算点数が上限を超えるため実行できません。"
       "（要素は各種類1000個まで、計算点は50001点まで）",
       {"OK"}},
  }};
  return kNotices;
}

const NoticeText& NoticeInfo(NoticeId id) {
  return AllNotices()[static_cast<size_t>(id)];
}

void NoticeBoard::Raise(NoticeId id, std::string_view title) {
  Listener listener;
  {
    std::lock_guard lock(mutex_);
    Entry& entry = entries_[static_cast<size_t>(id)];
    if (!entry.open) {
      entry.open = true;
      entry.title = std::string(NoticeInfo(id).title);
    }
    if (!title.empty()) {
      entry.title = std::string(title);
    }
    ++entry.raise_count;
    listener = listener_;
  }
  if (listener) {
    listener(id);
  }
}

void NoticeBoard::SetDetail(NoticeId id, std::string_view detail) {
  std::lock_guard lock(mutex_);
  entries_[static_cast<size_t>(id)].detail = std::string(detail);
}

std::string NoticeBoard::Detail(NoticeId id) const {
  std::lock_guard lock(mutex_);
  return entries_[static_cast<size_t>(id)].detail;
}

void NoticeBoard::Close(NoticeId id) {
  std::lock_guard lock(mutex_);
  entries_[static_cast<size_t>(id)].open = false;
  entries_[static_cast<size_t>(id)].detail.clear();
}

bool NoticeBoard::IsOpen(NoticeId id) const {
  std::lock_guard lock(mutex_);
  return entries_[static_cast<size_t>(id)].open;
}

std::string NoticeBoard::Title(NoticeId id) const {
  std::lock_guard lock(mutex_);
  return entries_[static_cast<size_t>(id)].title;
}

int NoticeBoard::RaiseCount(NoticeId id) const {
  std::lock_guard lock(mutex_);
  return entries_[static_cast<size_t>(id)].raise_count;
}

std::vector<NoticeId> NoticeBoard::OpenNotices() const {
  std::lock_guard lock(mutex_);
  std::vector<NoticeId> open;
  for (int i = 0; i < kNoticeCount; ++i) {
    if (entries_[static_cast<size_t>(i)].open) {
      open.push_back(static_cast<NoticeId>(i));
    }
  }
  return open;
}

void NoticeBoard::SetListener(Listener listener) {
  std::lock_guard lock(mutex_);
  listener_ = std::move(listener);
}

void OncePerRunNotices::Raise(NoticeId id, std::string_view title) {
  if (title.empty()) {
    if (!untitled_[static_cast<size_t>(id)].exchange(true)) {
      target_.Raise(id);
    }
    return;
  }
  std::lock_guard lock(mutex_);
  if (titled_.emplace(id, std::string(title)).second) {
    target_.Raise(id, title);
  }
}

}  // namespace tavrine
