#pragma once
// The maker's knowledge base: where its articles are found, and opening one in the browser.
// The address is a setting of the tool, so that a site that moves, or a mirror inside a
// company's network, needs no new build.

#include <string>
#include <string_view>

#include "core/AppContext.h"

namespace ombrel::eventlog {

// Under HKEY_CURRENT_USER of the machine that runs the tool.
inline constexpr std::string_view kToolSettingsKey = "Software\\Ombrel\\Printing Tool";
inline constexpr std::string_view kKnowledgeBaseValue = "KnowledgeBaseAddress";
inline constexpr std::string_view kDefaultKnowledgeBase = "https://support.ombrel.com";

// The knowledge base's web address without a closing "/": the setting when it holds a text,
// otherwise the default.
std::string knowledgeBaseAddress(const core::AppContext& context);

// The address of one article: the knowledge base + "/article/" + the article number.
std::string articleAddress(const core::AppContext& context, std::string_view article);

// Opens the article in the browser through the shell, as the explorer would open the address.
void openArticle(const core::AppContext& context, std::string_view article);

}  // namespace ombrel::eventlog
