#include "platform/sim/SimShell.h"

#include <exception>

#include "platform/CodePage.h"

namespace ombrel::sim {

namespace {
// What ShellExecuteA answers when it worked (any value above 32), and when it ran out of
// resources.
constexpr std::intptr_t kOpened = 42;
constexpr std::intptr_t kFailed = 0;
}  // namespace

std::intptr_t SimShell::shellExecute(std::string_view operation, std::string_view file,
                                     std::string_view parameters, std::string_view, int) {
    try {
        auto& q = context_.store.statement(
            "INSERT INTO shell_opened(operation, file, parameters, opened_ms) VALUES(?, ?, ?, ?)");
        q.bind(1, platform::fromAnsi(operation));
        q.bind(2, platform::fromAnsi(file));
        q.bind(3, platform::fromAnsi(parameters));
        q.bind(4, static_cast<std::int64_t>(context_.clock->nowMs()));
        q.exec();
        return kOpened;
    } catch (const std::exception&) {
        return kFailed;
    }
}

}  // namespace ombrel::sim
