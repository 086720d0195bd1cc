#pragma once
// The knowledge-base articles suggested for known printing problems: which event ids, sources
// and error codes point to which article of the maker's support site.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ombrel::eventlog {

struct ArticleRule {
    enum class Condition {
        None,                 // the id alone decides
        DescriptionContains,  // the lower-cased description holds `text`
        SourceIs,             // the source is exactly `text`, capitals included
    };
    // The ids the rule answers; an empty list stands for every id that no other rule names.
    std::span<const int> ids;
    Condition condition = Condition::None;
    const char* text = nullptr;
    const char* first = nullptr;   // shown in Label33
    const char* second = nullptr;  // shown in Label34; nullptr hides it
};

// The rules, in the order they are tested: when several rules of one id match, the last wins.
std::span<const ArticleRule> articleRules();

struct ArticleSuggestion {
    std::string first;
    std::string second;  // "" when Label34 is hidden
};

// The articles for one event: nullopt when no rule matches, and the labels are hidden.
// eventId is the low 16 bits of the record's id.
std::optional<ArticleSuggestion> suggestArticles(int eventId, std::string_view source,
                                                 std::string_view description);

}  // namespace ombrel::eventlog
