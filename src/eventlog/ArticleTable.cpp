#include "eventlog/ArticleTable.h"

#include <algorithm>
#include <array>

#include "core/Text.h"

namespace ombrel::eventlog {

namespace {

using Condition = ArticleRule::Condition;

constexpr std::array<int, 1> k1116{1116};
constexpr std::array<int, 1> k1107{1107};
constexpr std::array<int, 1> k1114{1114};
constexpr std::array<int, 1> k1106{1106};
constexpr std::array<int, 6> kSpooler{2, 3, 4, 8, 9, 10};
constexpr std::array<int, 1> k1000{1000};
constexpr std::array<int, 1> k20{20};
constexpr std::array<int, 1> k1104{1104};
constexpr std::array<int, 1> k1103{1103};

// The client printer creation failures (1116) are told apart by the error code in their text.
// "0x5" also matches inside longer codes: the later rules win, so it overrides 0x3eb.
const std::array<ArticleRule, 17> kRules{{
    {k1116, Condition::DescriptionContains, "0x3eb", "OMB107838", nullptr},
    {k1116, Condition::DescriptionContains, "0x6be", "OMB111457", nullptr},
    {k1116, Condition::DescriptionContains, "0x70a", "OMB112105", nullptr},
    {k1116, Condition::DescriptionContains, "0x704", "OMB107445", nullptr},
    {k1116, Condition::DescriptionContains, "0x78a", "OMB108284", nullptr},
    {k1116, Condition::DescriptionContains, "0x5", "OMB106683", nullptr},
    {k1116, Condition::DescriptionContains, "0x705", "OMB119867", nullptr},
    {k1116, Condition::DescriptionContains, "0x709", "OMB111947", nullptr},
    {k1107, Condition::None, nullptr, "OMB108546", nullptr},
    {k1114, Condition::None, nullptr, "OMB107273", nullptr},
    {k1106, Condition::None, nullptr, "OMB108791", "OMB488760"},
    {kSpooler, Condition::SourceIs, "Print", "OMB775118", nullptr},
    {k1000, Condition::SourceIs, "Print", "OMB104957", nullptr},
    {k20, Condition::SourceIs, "Print", "OMB775118", "OMB114061"},
    {k1104, Condition::None, nullptr, "OMB105385", nullptr},
    {k1103, Condition::None, nullptr, "OMB112557", "OMB109668"},
    {{}, Condition::SourceIs, "VexaroEvents", "OMB681954", nullptr},
}};

bool names(const ArticleRule& rule, int eventId) {
    return std::find(rule.ids.begin(), rule.ids.end(), eventId) != rule.ids.end();
}

}  // namespace

std::span<const ArticleRule> articleRules() {
    return kRules;
}

std::optional<ArticleSuggestion> suggestArticles(int eventId, std::string_view source,
                                                 std::string_view description) {
    // An id of the table is judged by its own rows only; the catch-all row is for the others.
    const bool listed = std::any_of(kRules.begin(), kRules.end(),
                                    [&](const ArticleRule& rule) { return names(rule, eventId); });
    const std::string lowered = core::lowerCase(std::string(description));
    std::optional<ArticleSuggestion> suggestion;
    for (const ArticleRule& rule : kRules) {
        if (listed ? !names(rule, eventId) : !rule.ids.empty()) {
            continue;
        }
        bool matches = true;
        switch (rule.condition) {
            case Condition::None:
                break;
            case Condition::DescriptionContains:
                matches = lowered.find(rule.text) != std::string::npos;
                break;
            case Condition::SourceIs:
                matches = source == rule.text;
                break;
        }
        if (matches) {
            suggestion = ArticleSuggestion{rule.first, rule.second ? rule.second : ""};
        }
    }
    return suggestion;
}

}  // namespace ombrel::eventlog
