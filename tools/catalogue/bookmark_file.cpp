#include "tools/catalogue/bookmark_file.h"

#include <cstdio>
#include <istream>
#include <ostream>

#include "db/schema.h"
#include "platform/data/utf.h"
#include "tools/catalogue/finding_list.h"

namespace catalogue {

namespace {

bool isHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLow(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Splits at tabs; a field never holds a raw tab, so the split is exact.
std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == '\t')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// A field of the file as a message quotes it: at most kQuotedChars characters, however long the
// field (a character takes at most four bytes, so that many bytes are always enough).
std::string quotedField(const std::string& field) {
    return quoted(ado::toUtf16(std::string_view(field).substr(0, 4 * (kQuotedChars + 1))));
}

// The entry ids a catalogue can hold: what its builder accepts and the program reads back.
std::string readEntryId(const std::string& field, long long& id) {
    const std::string refused = "the entry '" + quotedField(field) + "' ";
    if (field.empty() || field.size() > 18) return refused + "is not a number";
    std::size_t start = field[0] == '-' ? 1 : 0;
    if (start == field.size()) return refused + "is not a number";
    for (std::size_t i = start; i < field.size(); ++i)
        if (field[i] < '0' || field[i] > '9') return refused + "is not a number";
    id = std::stoll(field);
    if (id < schema::entry::kLowestId || id > schema::entry::kHighestId)
        return refused + "is outside the entry ids " + std::to_string(schema::entry::kLowestId) + " to " +
               std::to_string(schema::entry::kHighestId);
    return {};
}

// What a catalogue cannot store as it is: the line is refused rather than stored changed.
std::string unstorable(const OptionalText& text, const char* name, std::size_t limit) {
    if (!text) return {};
    const std::u16string& t = *text;
    if (t.size() > limit)
        return std::string("the ") + name + " has " + std::to_string(t.size()) +
               " characters; a bookmark holds at most " + std::to_string(limit);
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char16_t c = t[i];
        if (c == 0) return std::string("the ") + name + " holds the character U+0000, which no text can hold";
        if (isHigh(c) && i + 1 < t.size() && isLow(t[i + 1])) {
            ++i;
            continue;
        }
        if (isHigh(c) || isLow(c)) {
            char unit[8];
            std::snprintf(unit, sizeof unit, "%04X", static_cast<unsigned>(c));
            return std::string("the ") + name + " holds \\u" + unit +
                   ", half of a character pair without its other half, which a catalogue cannot store";
        }
    }
    return {};
}

} // namespace

std::string encodeBookmarkField(const OptionalText& text) {
    if (!text) return "\\N";
    std::string out;
    std::u16string run; // characters that go through UTF-8 as they are
    auto flush = [&] {
        out += ado::toUtf8(run);
        run.clear();
    };
    const std::u16string& t = *text;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char16_t c = t[i];
        if (isHigh(c) && i + 1 < t.size() && isLow(t[i + 1])) {
            run += c;
            run += t[++i];
            continue;
        }
        const char* escape = c == u'\\'   ? "\\\\"
                             : c == u'\t' ? "\\t"
                             : c == u'\n' ? "\\n"
                             : c == u'\r' ? "\\r"
                                          : nullptr;
        if (escape || isHigh(c) || isLow(c)) {
            flush();
            if (escape) {
                out += escape;
            } else {
                char unit[8];
                std::snprintf(unit, sizeof unit, "\\u%04X", static_cast<unsigned>(c));
                out += unit;
            }
            continue;
        }
        run += c;
    }
    flush();
    return out;
}

bool decodeBookmarkField(const std::string& field, OptionalText& text, std::string& why) {
    if (field == "\\N") {
        text.reset();
        return true;
    }
    // UTF-8 that does not survive the way there and back was not UTF-8.
    if (ado::toUtf8(ado::toUtf16(field)) != field) {
        why = "not valid UTF-8";
        return false;
    }
    std::u16string out;
    std::string run;
    auto flush = [&] {
        out += ado::toUtf16(run);
        run.clear();
    };
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            run += field[i];
            continue;
        }
        flush();
        const char next = i + 1 < field.size() ? field[i + 1] : '\0';
        ++i;
        switch (next) {
        case '\\':
            out += u'\\';
            break;
        case 't':
            out += u'\t';
            break;
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        case 'u': {
            unsigned value = 0;
            for (int k = 1; k <= 4; ++k) {
                const int digit = i + k < field.size() ? hexValue(field[i + k]) : -1;
                if (digit < 0) {
                    why = "\\u needs four hexadecimal digits";
                    return false;
                }
                value = value * 16 + static_cast<unsigned>(digit);
            }
            out += static_cast<char16_t>(value);
            i += 4;
            break;
        }
        default:
            why = next ? std::string("unknown escape \\") + next : "a backslash ends the field";
            return false;
        }
    }
    flush();
    text = std::move(out);
    return true;
}

void writeBookmarkFile(std::ostream& out, const std::vector<ExportedBookmark>& bookmarks) {
    out << kBookmarkFileHeader << "\n# entry\tkeyword\tdescription\tnote\n";
    for (const ExportedBookmark& b : bookmarks)
        out << b.entryId << '\t' << encodeBookmarkField(b.keyword) << '\t'
            << encodeBookmarkField(b.description) << '\t' << encodeBookmarkField(b.note) << '\n';
}

BookmarkFileContents readBookmarkFile(std::istream& in) {
    BookmarkFileContents contents;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        // Every line the tool writes ends with a line break: a last line without one was cut short.
        const bool cut = in.eof();
        // A file that went through an editor that ends lines with CR LF still reads; a carriage
        // return inside a text is always written as \r.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (number == 1) {
            if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
            contents.recognised = line == kBookmarkFileHeader;
            if (!contents.recognised) return contents;
            continue;
        }
        if (line.empty() || line[0] == '#') continue;
        const std::string where = "line " + std::to_string(number) + ": ";
        if (cut) {
            contents.problems.push_back(where + "the file ends inside this line (it has no line break): "
                                                "it was cut short");
            continue;
        }
        const std::vector<std::string> fields = splitFields(line);
        if (fields.size() != 4) {
            contents.problems.push_back(where + "has " + std::to_string(fields.size()) +
                                        " fields instead of 4 (entry, keyword, description, note)");
            continue;
        }
        BookmarkFileLine read;
        read.line = number;
        std::string why = readEntryId(fields[0], read.bookmark.entryId);
        if (why.empty() && decodeBookmarkField(fields[1], read.bookmark.keyword, why) &&
            decodeBookmarkField(fields[2], read.bookmark.description, why) &&
            decodeBookmarkField(fields[3], read.bookmark.note, why))
            why = unstorable(read.bookmark.description, "description", kBookmarkTextLimit);
        if (why.empty()) why = unstorable(read.bookmark.note, "note", kBookmarkTextLimit);
        if (!why.empty()) {
            contents.problems.push_back(where + why);
            continue;
        }
        contents.bookmarks.push_back(std::move(read));
    }
    return contents;
}

} // namespace catalogue
