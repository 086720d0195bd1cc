#include "printctl/AuditTurns.h"

namespace ombrel::printctl {

void AuditTurns::finished(std::size_t index) {
    {
        const std::lock_guard lock(mutex_);
        done_[index] = true;
        while (donePrefix_ < done_.size() && done_[donePrefix_]) {
            ++donePrefix_;
        }
    }
    changed_.notify_all();
}

void AuditTurns::waitForTurn(std::size_t index) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return donePrefix_ >= index; });
}

bool EventLogInTurn::reportEvent(platform::HANDLE source, platform::WORD type,
                                 platform::WORD category, platform::DWORD eventId,
                                 std::span<const std::string_view> strings,
                                 const platform::BYTE* data, platform::DWORD dataSize) {
    if (turns_ != nullptr) {
        turns_->waitForTurn(index_);
    }
    return log_.reportEvent(source, type, category, eventId, strings, data, dataSize);
}

}  // namespace ombrel::printctl
