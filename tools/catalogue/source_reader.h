// Reading the catalogue's text sources (resources/catalogue, format in its FORMAT.md).
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "tools/catalogue/catalogue_writer.h"

namespace catalogue {

// Every problem found, one "file:line: message" each.
class SourceError : public std::runtime_error {
  public:
    explicit SourceError(std::vector<std::string> problems);
    const std::vector<std::string>& problems() const { return problems_; }

  private:
    std::vector<std::string> problems_;
};

// Reads laender.txt, regionen/<CODE>.txt, rebsorten.txt and weine/<CODE>.txt below `folder`.
// Throws SourceError listing every problem; nothing is returned half-read.
Content readSources(const std::string& folder);

// Whether a text can be stored scrambled: no control character, no lone surrogate, and its
// encoded form holds nothing that SQL or LIKE would read as special.
bool isStorableText(const std::u16string& text, std::u16string* offending = nullptr);

} // namespace catalogue
