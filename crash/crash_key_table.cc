#include "crash/crash_key_table.h"

#include <algorithm>
#include <cstring>

namespace lite {

CrashKeyList::CrashKeyList(const CrashAnnotations& annotations) {
  for (const auto& [name, value] : annotations) {
    if (size_ == kMaxCrashKeys) break;
    keys_[size_++] = CrashKey{name, value};  // the map is sorted already
  }
}

const std::string_view* CrashKeyList::Find(std::string_view name) const {
  for (const CrashKey& key : *this) {
    if (key.name == name) return &key.value;
  }
  return nullptr;
}

bool CrashKeyList::Insert(const CrashKey& key) {
  if (size_ == kMaxCrashKeys) return false;
  size_t at = size_;
  // string_view compares as unsigned bytes, as std::map<std::string> does.
  while (at > 0 && key.name < keys_[at - 1].name) {
    keys_[at] = keys_[at - 1];
    --at;
  }
  keys_[at] = key;
  ++size_;
  return true;
}

CrashKeyTable::SetResult CrashKeyTable::Set(std::string_view name, std::string_view value) {
  if (name.size() > kMaxCrashKeyNameLength) return SetResult::kNameTooLong;
  const SetResult result =
      value.size() > kMaxCrashKeyValueLength ? SetResult::kValueCut : SetResult::kStored;
  value = value.substr(0, kMaxCrashKeyValueLength);

  const uint32_t count = count_.load(std::memory_order_relaxed);
  for (uint32_t i = 0; i < count; ++i) {
    Slot& slot = slots_[i];
    if (std::string_view(slot.name, slot.name_length) != name) continue;
    // A shorter value is published before the bytes change, a longer one
    // after: a reader never reads past what is written.
    if (value.size() < slot.value_length.load(std::memory_order_relaxed)) {
      slot.value_length.store(static_cast<uint32_t>(value.size()), std::memory_order_release);
    }
    if (!value.empty()) std::memcpy(slot.value, value.data(), value.size());
    slot.value_length.store(static_cast<uint32_t>(value.size()), std::memory_order_release);
    return result;
  }
  if (count == kMaxCrashKeys) return SetResult::kFull;
  Slot& slot = slots_[count];
  if (!name.empty()) std::memcpy(slot.name, name.data(), name.size());
  slot.name_length = static_cast<uint32_t>(name.size());
  if (!value.empty()) std::memcpy(slot.value, value.data(), value.size());
  slot.value_length.store(static_cast<uint32_t>(value.size()), std::memory_order_relaxed);
  count_.store(count + 1, std::memory_order_release);
  return result;
}

CrashKeyList CrashKeyTable::Sorted() const {
  CrashKeyList list;
  const uint32_t count = std::min<uint32_t>(count_.load(std::memory_order_acquire),
                                            static_cast<uint32_t>(kMaxCrashKeys));
  for (uint32_t i = 0; i < count; ++i) {
    const Slot& slot = slots_[i];
    const size_t name_length = std::min<size_t>(slot.name_length, kMaxCrashKeyNameLength);
    const size_t value_length = std::min<size_t>(
        slot.value_length.load(std::memory_order_acquire), kMaxCrashKeyValueLength);
    list.Insert(CrashKey{std::string_view(slot.name, name_length),
                         std::string_view(slot.value, value_length)});
  }
  return list;
}

CrashAnnotations CrashKeyTable::ToAnnotations() const {
  CrashAnnotations annotations;
  for (const CrashKey& key : Sorted()) {
    annotations.emplace(std::string(key.name), std::string(key.value));
  }
  return annotations;
}

}  // namespace lite
