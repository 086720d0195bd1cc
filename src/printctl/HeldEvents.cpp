#include "printctl/HeldEvents.h"

namespace ombrel::printctl {

bool WriteHeldEvents(platform::EventLog& log, const std::vector<HeldEvent>& events) {
    bool written = true;
    for (const HeldEvent& event : events) {
        const platform::HANDLE source = log.registerEventSource(event.server, event.source);
        const std::vector<std::string_view> strings(event.strings.begin(), event.strings.end());
        if (!log.reportEvent(source, event.type, event.category, event.eventId, strings,
                             event.data.empty() ? nullptr : event.data.data(),
                             static_cast<platform::DWORD>(event.data.size()))) {
            written = false;
        }
        log.deregisterEventSource(source);
    }
    return written;
}

std::vector<HeldEvent> HeldEventLog::take() {
    std::vector<HeldEvent> events = std::move(held_);
    held_.clear();
    return events;
}

platform::HANDLE HeldEventLog::registerEventSource(std::string_view server,
                                                   std::string_view source) {
    const platform::HANDLE handle = log_.registerEventSource(server, source);
    if (handle != 0) {
        sources_[handle] = {std::string(server), std::string(source)};
    }
    return handle;
}

bool HeldEventLog::reportEvent(platform::HANDLE source, platform::WORD type,
                               platform::WORD category, platform::DWORD eventId,
                               std::span<const std::string_view> strings,
                               const platform::BYTE* data, platform::DWORD dataSize) {
    const auto registered = sources_.find(source);
    if (!holding_ || registered == sources_.end()) {
        return log_.reportEvent(source, type, category, eventId, strings, data, dataSize);
    }
    HeldEvent event{registered->second.server,
                    registered->second.name,
                    type,
                    category,
                    eventId,
                    std::vector<std::string>(strings.begin(), strings.end()),
                    data == nullptr ? std::vector<platform::BYTE>()
                                    : std::vector<platform::BYTE>(data, data + dataSize)};
    held_.push_back(std::move(event));
    return true;
}

bool HeldEventLog::deregisterEventSource(platform::HANDLE source) {
    sources_.erase(source);
    return log_.deregisterEventSource(source);
}

}  // namespace ombrel::printctl
