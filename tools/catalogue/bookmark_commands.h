// The "bookmarks export" and "bookmarks import" commands of talvino-catalogue.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace catalogue {

// Runs "bookmarks export|import CATALOGUE FILE" ("-" as FILE: standard output or input) and
// returns the exit status: 0 done, 1 a file failed or a line could not be read, 2 wrong usage.
int runBookmarkCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace catalogue
