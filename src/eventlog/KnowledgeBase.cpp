#include "eventlog/KnowledgeBase.h"

#include "platform/CodePage.h"
#include "platform/System.h"
#include "remote/RemoteRegistry.h"

namespace ombrel::eventlog {

namespace {
constexpr std::uint32_t kCurrentUser = 0x80000001;
}  // namespace

std::string knowledgeBaseAddress(const core::AppContext& context) {
    remote::RemoteRegistry registry(context);
    const remote::RegValue value =
        registry.GetValue(kCurrentUser, kToolSettingsKey, kKnowledgeBaseValue, "");
    std::string address = std::holds_alternative<std::string>(value)
                              ? std::get<std::string>(value)
                              : std::string(kDefaultKnowledgeBase);
    while (!address.empty() && (address.back() == '/' || address.back() == ' ')) {
        address.pop_back();
    }
    return address.empty() ? std::string(kDefaultKnowledgeBase) : address;
}

std::string articleAddress(const core::AppContext& context, std::string_view article) {
    return knowledgeBaseAddress(context) + "/article/" + std::string(article);
}

void openArticle(const core::AppContext& context, std::string_view article) {
    // The shell's answer is not looked at: the system's handler for web addresses reports
    // its own failures.
    context.platform.shell.shellExecute("open", platform::toAnsi(articleAddress(context, article)),
                                        "", "c:\\", platform::SW_SHOWNORMAL);
}

}  // namespace ombrel::eventlog
