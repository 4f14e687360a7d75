// What verify reports, kept readable on any file: a quoted text is cut short, and after the first
// few findings of one kind only their number is kept.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace catalogue {

// A text as a finding quotes it: at most kQuotedChars characters, then "…".
constexpr std::size_t kQuotedChars = 80;
std::string quoted(const std::u16string& text);

class FindingList {
  public:
    static constexpr int kShownPerKind = 20;

    // `kind` names the sort of finding (the message without its varying parts); past
    // kShownPerKind of one kind only the count grows.
    void add(const std::string& kind, std::string text);
    bool empty() const { return lines_.empty(); }

    // The findings in the order they came, then one line per kind with findings left out.
    std::vector<std::string> lines() const;

  private:
    std::vector<std::string> lines_;
    std::vector<std::string> kindOrder_;
    std::map<std::string, long long> counts_;
};

} // namespace catalogue
