#include "tools/catalogue/finding_list.h"

#include "platform/data/utf.h"

namespace catalogue {

std::string quoted(const std::u16string& text) {
    if (text.size() <= kQuotedChars) return ado::toUtf8(text);
    std::size_t cut = kQuotedChars;
    // Never half a surrogate pair.
    if (text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) --cut;
    return ado::toUtf8(std::u16string_view(text).substr(0, cut)) + "…";
}

void FindingList::add(const std::string& kind, std::string text) {
    long long& count = counts_[kind];
    if (count == 0) kindOrder_.push_back(kind);
    if (++count <= kShownPerKind) lines_.push_back(std::move(text));
}

std::vector<std::string> FindingList::lines() const {
    std::vector<std::string> all = lines_;
    for (const std::string& kind : kindOrder_) {
        const long long count = counts_.at(kind);
        if (count > kShownPerKind)
            all.push_back(std::to_string(count - kShownPerKind) + " more like \"" + kind + "\" not shown (" +
                          std::to_string(count) + " in all)");
    }
    return all;
}

} // namespace catalogue
