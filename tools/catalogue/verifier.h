// Checking a catalogue file, printing it, querying it, and making synthetic ones.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/catalogue/catalogue_writer.h"

namespace catalogue {

struct Findings {
    std::vector<std::string> problems; // the file is not a sound catalogue
    std::vector<std::string> warnings; // sound, but a screen will stumble over something
};

// Schema and positions, codec, lower-case copies, keys and references, unique names.
Findings verifyCatalogue(const std::string& path);

// Every table, scrambled texts decoded, vintages as years. Throws WriteError.
void dumpCatalogue(const std::string& path, std::ostream& out);

// Runs SQL through the data-access component and prints the rows tab-separated, scrambled
// columns decoded. Returns false (with a message on `err`) when the file or the SQL fails.
bool queryCatalogue(const std::string& path, const std::u16string& sql, std::ostream& out, std::ostream& err);

// A synthetic catalogue of `entries` entries with the proportions of a real guide.
Content synthContent(int entries, unsigned seed = 2006);

} // namespace catalogue
