// talvino-catalogue: builds, checks, prints and queries the catalogue file.
#include <sys/stat.h>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "platform/data/utf.h"
#include "tools/catalogue/bookmark_commands.h"
#include "tools/catalogue/catalogue_writer.h"
#include "tools/catalogue/source_reader.h"
#include "tools/catalogue/verifier.h"

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char kHelp[] =
    "Usage: talvino-catalogue COMMAND ARGUMENTS\n"
    "\n"
    "  build SOURCES OUT [--encoding utf8|utf16]\n"
    "      Build the catalogue OUT from the text sources in the folder SOURCES (laender.txt,\n"
    "      regionen/, rebsorten.txt, weine/). OUT is replaced only when the build succeeds; the\n"
    "      bookmarks of an existing OUT are carried over.\n"
    "  verify FILE\n"
    "      Check that every page and row reads (SQLite's integrity check and a full read), schema,\n"
    "      column positions, scrambled and lower-case columns, references and the names the program\n"
    "      looks up. One line per problem, quoted texts cut short, past 20 of a kind only their\n"
    "      number; exit status 1 when there is one.\n"
    "  dump FILE\n"
    "      Print the whole catalogue readably, scrambled texts decoded. A row that cannot be read\n"
    "      stops it with exit status 1 and a message on stderr.\n"
    "  query FILE SQL\n"
    "      Run SQL as the program does (same dialect, '*' and '?' in LIKE) and print the rows,\n"
    "      tab-separated, scrambled columns decoded.\n"
    "  synth N OUT [--encoding utf8|utf16] [--seed S]\n"
    "      Write a synthetic catalogue of N entries for benchmarks and scale tests.\n"
    "  bookmarks export CATALOGUE FILE\n"
    "      Write every bookmark of CATALOGUE (entry, keyword, description, note) to FILE: UTF-8,\n"
    "      one a line, tab-separated, \\t \\n \\r \\\\ escaped, \\N for no value (see\n"
    "      talvino-catalogue(1)). FILE '-' is standard output.\n"
    "  bookmarks import CATALOGUE FILE\n"
    "      Add the bookmarks of FILE to CATALOGUE. Bookmarks already there, and bookmarks of\n"
    "      entries that already have one, are skipped and listed with the reason.\n"
    "\n"
    "Exit status: 0 success, 1 the data or the file failed, 2 wrong usage.\n";

int usage(const std::string& message) {
    std::cerr << "talvino-catalogue: " << message << "\n"
              << "Try 'talvino-catalogue --help'.\n";
    return kUsage;
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// Splits "--encoding X" and "--seed S" off the positional arguments.
struct Options {
    std::vector<std::string> positional;
    catalogue::TextEncoding encoding = catalogue::kDefaultEncoding;
    unsigned seed = 2006;
    std::string error;
};

Options parse(int argc, char** argv, int from) {
    Options o;
    for (int i = from; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--encoding" || a == "--seed") {
            if (i + 1 >= argc) {
                o.error = a + " needs a value";
                return o;
            }
            const std::string v = argv[++i];
            if (a == "--encoding") {
                if (v == "utf8")
                    o.encoding = catalogue::TextEncoding::Utf8;
                else if (v == "utf16")
                    o.encoding = catalogue::TextEncoding::Utf16;
                else
                    o.error = "--encoding takes utf8 or utf16";
            } else {
                try {
                    o.seed = static_cast<unsigned>(std::stoul(v));
                } catch (...) {
                    o.error = "--seed takes a number";
                }
            }
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            o.error = "unknown option " + a;
        } else {
            o.positional.push_back(a);
        }
    }
    return o;
}

int build(const Options& o) {
    if (o.positional.size() != 2) return usage("build takes SOURCES and OUT");
    const std::string& sources = o.positional[0];
    const std::string& out = o.positional[1];
    catalogue::Content content;
    try {
        content = catalogue::readSources(sources);
    } catch (const catalogue::SourceError& e) {
        for (const std::string& p : e.problems())
            std::cerr << p << "\n";
        std::cerr << "talvino-catalogue: build stopped, " << e.problems().size() << " problem(s); " << out
                  << " is unchanged\n";
        return kFailed;
    }
    if (exists(out)) {
        try {
            content.bookmarks = catalogue::readBookmarks(out);
        } catch (const catalogue::WriteError& e) {
            std::cerr << "talvino-catalogue: " << out << " exists but its bookmarks cannot be read ("
                      << e.what() << "); move it away to build a new catalogue\n";
            return kFailed;
        }
    }
    try {
        catalogue::writeCatalogue(out, content, o.encoding);
    } catch (const catalogue::WriteError& e) {
        std::cerr << "talvino-catalogue: " << e.what() << "\n";
        return kFailed;
    }
    std::cout << out << ": " << content.countries.size() << " countries, " << content.regions.size()
              << " regions, " << content.grapes.size() << " grape varieties, " << content.entries.size()
              << " entries, " << content.bookmarks.size() << " bookmarks kept\n";
    return kOk;
}

int verify(const Options& o) {
    if (o.positional.size() != 1) return usage("verify takes FILE");
    const catalogue::Findings f = catalogue::verifyCatalogue(o.positional[0]);
    for (const std::string& p : f.problems)
        std::cout << o.positional[0] << ": " << p << "\n";
    for (const std::string& w : f.warnings)
        std::cout << o.positional[0] << ": warning: " << w << "\n";
    if (!f.problems.empty()) return kFailed;
    std::cout << o.positional[0] << ": ok\n";
    return kOk;
}

int dump(const Options& o) {
    if (o.positional.size() != 1) return usage("dump takes FILE");
    if (!exists(o.positional[0])) {
        std::cerr << "talvino-catalogue: no file " << o.positional[0] << "\n";
        return kFailed;
    }
    try {
        catalogue::dumpCatalogue(o.positional[0], std::cout);
    } catch (const catalogue::WriteError& e) {
        std::cout.flush();
        std::cerr << "talvino-catalogue: " << o.positional[0] << ": " << e.what() << "\n";
        return kFailed;
    }
    return kOk;
}

int query(const Options& o) {
    if (o.positional.size() != 2) return usage("query takes FILE and SQL");
    return catalogue::queryCatalogue(o.positional[0], ado::toUtf16(o.positional[1]), std::cout, std::cerr)
               ? kOk
               : kFailed;
}

int synth(const Options& o) {
    if (o.positional.size() != 2) return usage("synth takes N and OUT");
    long long n = 0;
    try {
        std::size_t used = 0;
        n = std::stoll(o.positional[0], &used);
        if (used != o.positional[0].size()) n = -1;
    } catch (...) {
        n = -1;
    }
    if (n < 0 || n > 10000000) return usage("N must be a number from 0 to 10000000");
    try {
        catalogue::writeCatalogue(o.positional[1], catalogue::synthContent(static_cast<int>(n), o.seed),
                                  o.encoding);
    } catch (const catalogue::WriteError& e) {
        std::cerr << "talvino-catalogue: " << e.what() << "\n";
        return kFailed;
    }
    std::cout << o.positional[1] << ": " << n << " synthetic entries\n";
    return kOk;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage("no command given");
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kHelp;
        return kOk;
    }
    if (command == "bookmarks")
        return catalogue::runBookmarkCommand({argv + 2, argv + argc}, std::cout, std::cerr);
    const Options o = parse(argc, argv, 2);
    if (!o.error.empty()) return usage(o.error);
    if (command == "build") return build(o);
    if (command == "verify") return verify(o);
    if (command == "dump") return dump(o);
    if (command == "query") return query(o);
    if (command == "synth") return synth(o);
    return usage("unknown command " + command);
}
