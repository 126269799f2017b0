#include "installer/elevation/elevation_handoff_win.h"

#include <algorithm>
#include <cstring>

#include "base/decimal_text.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "installer/command_line/switches.h"
#include "logging/file_logger_win.h"
#include "logging/handle_logger_win.h"
#include "logging/system_error_win.h"

namespace lite {
namespace {

constexpr char kFunction[] = "ElevationHandoff";

// Positions in the switch value.
enum HandoffValue : size_t { kSection, kStartEvent, kAbortEvent, kLogFile, kValueCount };

uint64_t ValueOf(HANDLE handle) {
  return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(handle));
}

HANDLE HandleOf(uint64_t value) {
  return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value));
}

std::vector<uint64_t> ParseValues(std::string_view text) {
  std::vector<uint64_t> values;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string_view::npos) end = text.size();
    uint64_t value = 0;
    if (!ParseDecimal(text.substr(start, end - start), &value)) return {};
    values.push_back(value);
    start = end + 1;
  }
  if (values.size() != kValueCount) return {};
  return values;
}

// A handle of this process to the object |value| names in |parent|; the
// same access unless |access| is given.
ScopedHandle TakeHandle(HANDLE parent, uint64_t value, DWORD access = 0) {
  if (!parent || value == 0) return ScopedHandle();
  HANDLE taken = nullptr;
  if (!DuplicateHandle(parent, HandleOf(value), GetCurrentProcess(), &taken, access, FALSE,
                       access ? 0 : DUPLICATE_SAME_ACCESS)) {
    PLOG_FROM(ERROR, kFunction) << "Cannot take handle " << value << " from the first installer";
    return ScopedHandle();
  }
  return ScopedHandle(taken);
}

ScopedHandle CreateUnnamedEvent() {
  ScopedHandle event(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (!event) PLOG_FROM(ERROR, kFunction) << "Cannot create an event for the elevated installer";
  return event;
}

}  // namespace

ElevationHandoff::ElevationHandoff()
    : section_(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  sizeof(HandoffBlock), nullptr)),
      start_event_(CreateUnnamedEvent()),
      abort_event_(CreateUnnamedEvent()) {
  if (section_) {
    view_.reset(MapViewOfFile(section_.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0,
                              sizeof(HandoffBlock)));
  }
  if (!view_) PLOG_FROM(ERROR, kFunction) << "Cannot create the parameters for the elevated installer";
  // Opened with this process's rights: whatever the path leads to, the
  // copy can only append to what this process could.
  const FilePath log_path = GetInstallerLogPath();
  log_.reset(CreateFileW(AsWide(log_path.value()), FILE_APPEND_DATA,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr));
  if (!log_) PLOG_FROM(ERROR, kFunction) << "The elevated installer gets no log: " << log_path;
}

bool ElevationHandoff::valid() const { return view_ && start_event_ && abort_event_; }

std::string ElevationHandoff::SwitchValue() const {
  return std::to_string(ValueOf(section_.get())) + "," +
         std::to_string(ValueOf(start_event_.get())) + "," +
         std::to_string(ValueOf(abort_event_.get())) + "," + std::to_string(ValueOf(log_.get()));
}

bool ElevationHandoff::HandOver(const DelayedParamsValues& values, const FilePath& archive,
                                const std::vector<std::pair<std::string, FilePath>>& files) {
  if (!valid() || !WriteDelayedParams(values, &static_cast<HandoffBlock*>(
                                                   const_cast<void*>(view_.get()))->params)) {
    return false;
  }
  if (!AddFile(kHandedArchive, archive)) return false;
  for (const auto& [name, path] : files) {
    if (!path.empty()) AddFile(name, path);
  }
  return true;
}

bool ElevationHandoff::AddFile(std::string_view name, const FilePath& path) {
  auto* block = static_cast<HandoffBlock*>(const_cast<void*>(view_.get()));
  if (block->file_count >= kMaxHandedFiles || name.size() >= kHandedFileNameSize) {
    LOG_FROM(ERROR, kFunction) << "No room to hand over " << name << "=" << path;
    return false;
  }
  // Others may go on reading and writing it: the copy takes its own copy.
  ScopedHandle file(CreateFileW(AsWide(path.value()), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) {
    PLOG_FROM(ERROR, kFunction) << "Cannot hand over " << name << "=" << path;
    return false;
  }
  HandedFile& entry = block->files[block->file_count];
  std::memcpy(entry.name, name.data(), name.size());
  entry.name[name.size()] = '\0';
  entry.handle = ValueOf(file.get());
  files_.push_back(std::move(file));
  ++block->file_count;
  return true;
}

FailureKind ElevationHandoff::failure_kind() const {
  if (!view_) return FailureKind::kNone;
  return GetFailureKind(static_cast<const HandoffBlock*>(view_.get())->params);
}

ReceivedHandoff::ReceivedHandoff(HANDLE parent, std::string_view switch_value)
    : parent_(parent), values_(ParseValues(switch_value)) {
  if (values_.empty()) {
    LOG_FROM(ERROR, kFunction) << "No handoff from the first installer: \"" << switch_value
                               << "\"";
    return;
  }
  section_ = TakeHandle(parent_, values_[kSection], FILE_MAP_READ | FILE_MAP_WRITE);
  if (section_) {
    view_.reset(MapViewOfFile(section_.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0,
                              sizeof(HandoffBlock)));
    if (!view_) PLOG_FROM(ERROR, kFunction) << "Cannot map the handed parameters";
  }
  start_event_ = TakeHandle(parent_, values_[kStartEvent], SYNCHRONIZE);
  abort_event_ = TakeHandle(parent_, values_[kAbortEvent], SYNCHRONIZE);
}

ScopedHandle ReceivedHandoff::TakeFile(std::string_view name) const {
  const HandoffBlock* handed = block();
  if (!handed) return ScopedHandle();
  const uint32_t count = std::min<uint32_t>(handed->file_count, kMaxHandedFiles);
  for (uint32_t i = 0; i < count; ++i) {
    const HandedFile& entry = handed->files[i];
    const std::string_view entry_name(entry.name, strnlen(entry.name, kHandedFileNameSize));
    if (entry_name == name) return TakeHandle(parent_, entry.handle);
  }
  return ScopedHandle();
}

ScopedHandle OpenFirstInstaller(const InstallerCommandLine& command_line) {
  uint32_t id = 0;
  ParseDecimal(command_line.GetSwitchValueASCII(switches::kParentInstallerProcessId), &id);
  return ScopedHandle(OpenProcess(SYNCHRONIZE | PROCESS_DUP_HANDLE, TRUE, id));
}

std::unique_ptr<Logger> CreateElevatedCopyLogger(const InstallerCommandLine& command_line) {
  const std::vector<uint64_t> values =
      ParseValues(command_line.GetSwitchValueASCII(kElevationHandoffSwitch));
  if (values.empty()) return nullptr;
  const ScopedHandle parent = OpenFirstInstaller(command_line);
  ScopedHandle log = TakeHandle(parent.get(), values[kLogFile]);
  if (!log) return nullptr;
  return std::make_unique<HandleLogger>(std::move(log), GetInstallerLogPath());
}

}  // namespace lite
