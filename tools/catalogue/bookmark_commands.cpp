#include "tools/catalogue/bookmark_commands.h"

#include <sys/stat.h>

#include <fstream>
#include <iostream>

#include "tools/catalogue/bookmark_transfer.h"

namespace catalogue {

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

int usage(std::ostream& err, const std::string& message) {
    err << "talvino-catalogue: " << message << "\n"
        << "Try 'talvino-catalogue --help'.\n";
    return kUsage;
}

bool isFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

int exportTo(const std::string& catalogue, const std::string& file, std::ostream& out, std::ostream& err) {
    if (!isFile(catalogue)) {
        err << "talvino-catalogue: no file " << catalogue << "\n";
        return kFailed;
    }
    std::vector<ExportedBookmark> bookmarks;
    try {
        bookmarks = exportBookmarks(catalogue);
    } catch (const WriteError& e) {
        err << "talvino-catalogue: " << e.what() << "\n";
        return kFailed;
    }
    if (file == "-") {
        writeBookmarkFile(out, bookmarks);
        return out ? kOk : kFailed;
    }
    // Written beside FILE first, so that a failed export never leaves half a file in its place.
    const std::string temporary = file + ".tmp";
    {
        std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
        if (stream) writeBookmarkFile(stream, bookmarks);
        stream.close();
        if (!stream) {
            std::remove(temporary.c_str());
            err << "talvino-catalogue: cannot write " << file << "\n";
            return kFailed;
        }
    }
    if (std::rename(temporary.c_str(), file.c_str()) != 0) {
        std::remove(temporary.c_str());
        err << "talvino-catalogue: cannot write " << file << "\n";
        return kFailed;
    }
    out << file << ": " << bookmarks.size() << " bookmarks written\n";
    return kOk;
}

int importFrom(const std::string& catalogue, const std::string& file, std::ostream& out, std::ostream& err) {
    if (!isFile(catalogue)) {
        err << "talvino-catalogue: no file " << catalogue << "\n";
        return kFailed;
    }
    BookmarkFileContents contents;
    if (file == "-") {
        contents = readBookmarkFile(std::cin);
    } else {
        std::ifstream stream(file, std::ios::binary);
        if (!stream) {
            err << "talvino-catalogue: cannot read " << file << "\n";
            return kFailed;
        }
        contents = readBookmarkFile(stream);
    }
    if (!contents.recognised) {
        err << "talvino-catalogue: " << file << " is no bookmark file (its first line is not '"
            << kBookmarkFileHeader << "'); nothing imported\n";
        return kFailed;
    }
    // All or nothing: one line that cannot be imported leaves the catalogue untouched.
    if (!contents.problems.empty()) {
        constexpr std::size_t kShown = 20;
        for (std::size_t i = 0; i < contents.problems.size() && i < kShown; ++i)
            err << file << ": " << contents.problems[i] << "\n";
        if (contents.problems.size() > kShown)
            err << file << ": " << contents.problems.size() - kShown << " more lines like these not shown\n";
        err << "talvino-catalogue: " << contents.problems.size() << " of "
            << contents.problems.size() + contents.bookmarks.size()
            << " bookmark lines cannot be imported; nothing imported\n";
        return kFailed;
    }
    ImportReport report;
    try {
        report = importBookmarks(catalogue, contents.bookmarks);
    } catch (const WriteError& e) {
        err << "talvino-catalogue: " << e.what() << "; nothing imported\n";
        return kFailed;
    }
    for (const std::string& skipped : report.skipped)
        out << file << ": skipped " << skipped << "\n";
    for (const std::string& note : report.notes)
        out << file << ": " << note << "\n";
    out << catalogue << ": " << report.added << " bookmarks added, " << report.skipped.size() << " skipped\n";
    return kOk;
}

} // namespace

int runBookmarkCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.empty()) return usage(err, "bookmarks takes export or import");
    const std::string& command = arguments[0];
    if (command != "export" && command != "import") return usage(err, "unknown bookmarks command " + command);
    if (arguments.size() != 3) return usage(err, "bookmarks " + command + " takes CATALOGUE and FILE");
    return command == "export" ? exportTo(arguments[1], arguments[2], out, err)
                               : importFrom(arguments[1], arguments[2], out, err);
}

} // namespace catalogue
