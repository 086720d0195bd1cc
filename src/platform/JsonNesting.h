#pragma once
// How deep JSON from outside (farm descriptions, hand-edited columns of the store, settings
// files given to the command line) may nest its lists and objects. The JSON library parses and
// frees without recursing, but printing, copying and comparing a value recurse once per level: a
// value nested some ten thousand levels deep overflows the stack. Such input is refused before
// anything walks it; no real description or column comes near the limit.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ombrel::platform {

inline constexpr std::size_t kMaxJsonNesting = 100;

// "lists and objects nested more than 100 levels deep"
std::string jsonTooDeepMessage();

// Whether the lists and objects of a JSON text nest at most limit levels deep, counted on the
// text itself, before it is parsed: brackets inside strings do not count. Text that is not
// JSON may still pass; the parser refuses it afterwards.
bool jsonNestingWithin(std::string_view text, std::size_t limit = kMaxJsonNesting);

// The same for a value already parsed, walked with a list of its own instead of recursion.
template <typename Json>
bool jsonNestingWithin(const Json& value, std::size_t limit = kMaxJsonNesting) {
    std::vector<std::pair<const Json*, std::size_t>> pending{{&value, 0}};
    while (!pending.empty()) {
        auto [item, depth] = pending.back();
        pending.pop_back();
        if (!item->is_structured()) {
            continue;
        }
        if (depth == limit) {
            return false;
        }
        for (const auto& child : *item) {
            pending.emplace_back(&child, depth + 1);
        }
    }
    return true;
}

}  // namespace ombrel::platform
