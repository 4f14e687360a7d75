#include "app/catalogue_location.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "db/schema.h"
#include "platform/data/ado.h"
#include "platform/data/utf.h"
#include "tools/catalogue/bookmark_transfer.h"
#include "tools/catalogue/catalogue_writer.h"

namespace {

namespace fs = std::filesystem;

const std::string kFileName = ado::toUtf8(schema::kCatalogueFileName);
// Beside the user's copy: which shipped catalogue it was made from, the copy an upgrade
// replaces until the new one has opened, and the lock of the running programs.
const std::string kOriginSuffix = ".origin";
const std::string kBackupSuffix = ".backup";
const std::string kLockName = "talvino.lock";
// Where an unreadable copy is kept, beside the new one: <copy>.damaged-<date>.
const std::string kDamagedSuffix = ".damaged-";
// What a start leaves only while it runs: a copy being made, a proof that the folder takes files,
// a note being written. A start that holds the folder alone removes those of dead starts.
const std::string kLeftoverPrefixes[] = {kFileName + ".new-", ".probe-", kFileName + kOriginSuffix + ".new"};

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

bool isFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Write permission as the catalogue component sees it (a file or folder without write bits is
// read-only for everybody, root too) and as the system grants it.
bool writable(const std::string& path, bool folder) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    if (folder ? !S_ISDIR(info.st_mode) : !S_ISREG(info.st_mode)) return false;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return ::access(path.c_str(), folder ? W_OK | X_OK : W_OK) == 0;
}

std::string systemError() {
    return std::strerror(errno);
}

// Makes every missing folder of the path 0700: what lies under the user's data folder is theirs
// alone. Folders that are there keep their permissions.
bool makeFolders(const std::string& folder, std::string& why) {
    std::string path;
    for (std::size_t start = 0; start <= folder.size();) {
        const std::size_t slash = folder.find('/', start + 1);
        path = folder.substr(0, slash);
        start = slash == std::string::npos ? folder.size() + 1 : slash;
        if (path.empty() || ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) continue;
        why = "cannot make " + path + ": " + systemError();
        return false;
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        why = "cannot make " + folder + ": " + systemError();
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        why = "cannot make " + folder + ": a file of that name is in the way";
        return false;
    }
    return true;
}

// Makes the folder and proves it takes a new file (a read-only or full file system says so here).
bool prepareFolder(const std::string& folder, std::string& why) {
    if (!makeFolders(folder, why)) return false;
    if (!writable(folder, true)) {
        why = folder + " cannot be written";
        return false;
    }
    std::string probe = folder + "/.probe-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        why = "cannot write in " + folder + ": " + systemError();
        return false;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// A copy of `from` in `folder` under a temporary name, on disk before it is returned; empty when
// it could not be made (nothing is left behind then).
std::string copyToTemporary(const std::string& from, const std::string& folder, std::string& why) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        why = "cannot read " + from + ": " + systemError();
        return {};
    }
    std::string temporary = folder + "/" + kFileName + ".new-XXXXXX";
    const int out = ::mkstemp(temporary.data());
    if (out < 0) {
        why = "cannot write in " + folder + ": " + systemError();
        ::close(in);
        return {};
    }
    bool ok = true;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        if (!writeAll(out, buffer, static_cast<std::size_t>(n))) {
            ok = false;
            break;
        }
    }
    if (ok && ::fsync(out) != 0) ok = false;
    if (!ok) why = "cannot copy " + from + " to " + folder + ": " + systemError();
    ::close(in);
    if (::close(out) != 0) ok = false;
    if (!ok) {
        ::unlink(temporary.c_str());
        return {};
    }
    return temporary;
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Size and FNV-1a hash of the file's bytes: a rebuilt catalogue differs even when it has the same
// size and the same second as its time stamp.
std::string fingerprintOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::uint64_t hash = 1469598103934665603ull;
    std::uint64_t size = 0;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        const std::streamsize n = in.gcount();
        for (std::streamsize i = 0; i < n; ++i)
            hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
        size += static_cast<std::uint64_t>(n);
    }
    return std::to_string(size) + " " + std::to_string(hash);
}

// Which shipped catalogue the copy was made from: the fingerprint of its bytes, and the file as it
// was then (device, inode, size, modification and change times), so that a start whose shipped
// file is the very same one need not read it through again. The third line names the copy the
// note belongs to (its device and inode, which saving bookmarks keeps): the note is written before
// a new copy is renamed into place, so a note that names another file belongs to a copy that never
// arrived, and the copy at hand is of unknown origin.
struct Origin {
    std::string fingerprint;
    std::string file;
    std::string copy;
};

std::string copyIdentityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    return std::to_string(static_cast<long long>(info.st_dev)) + " " +
           std::to_string(static_cast<long long>(info.st_ino));
}

std::string fileIdentityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    std::string identity;
    for (const auto value :
         {static_cast<long long>(info.st_dev), static_cast<long long>(info.st_ino),
          static_cast<long long>(info.st_size), static_cast<long long>(info.st_mtim.tv_sec),
          static_cast<long long>(info.st_mtim.tv_nsec), static_cast<long long>(info.st_ctim.tv_sec),
          static_cast<long long>(info.st_ctim.tv_nsec)})
        identity += (identity.empty() ? "" : " ") + std::to_string(value);
    return identity;
}

Origin originOf(const std::string& shipped) {
    return {fingerprintOf(shipped), fileIdentityOf(shipped), {}};
}

Origin readOrigin(const std::string& copy) {
    std::ifstream in(copy + kOriginSuffix);
    Origin origin;
    std::getline(in, origin.fingerprint);
    std::getline(in, origin.file);
    std::getline(in, origin.copy);
    return origin;
}

// The note of `copy`, naming `copyFile` (the copy itself, or the temporary file about to become it).
bool writeOrigin(const std::string& copy, Origin origin, const std::string& copyFile) {
    origin.copy = copyIdentityOf(copyFile);
    const std::string target = copy + kOriginSuffix;
    const std::string temporary = target + ".new";
    const std::string text = origin.fingerprint + "\n" + origin.file + "\n" + origin.copy + "\n";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool ok = writeAll(fd, text.data(), text.size()) && ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (!ok || std::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

// Moves a database file with its journal, so that a journal never meets a file it was not made for.
bool moveDatabase(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) return false;
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        if (isFile(from + suffix)) std::rename((from + suffix).c_str(), (to + suffix).c_str());
    return true;
}

// The folder, the copy and its note are the user's alone, also where an earlier version made
// them readable for everybody.
void keepToTheUser(const std::string& folder, const std::string& copy) {
    for (const std::string& path : {folder, copy, copy + kOriginSuffix}) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && info.st_uid == ::getuid() && (info.st_mode & 077) != 0)
            ::chmod(path.c_str(), info.st_mode & 0700);
    }
}

// Removes what dead starts left; only a start that holds the folder alone calls it.
void removeLeftovers(const std::string& folder) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        for (const std::string& prefix : kLeftoverPrefixes)
            if (name.rfind(prefix, 0) == 0) {
                ::unlink(entry.path().c_str());
                break;
            }
    }
}

// Opens the file the way the program will: the component's own checks decide.
bool opensAsCatalogue(const std::string& path) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return false;
    CLSID clsid;
    void* object = nullptr;
    if (FAILED(CLSIDFromProgID(ado::kConnectionProgId, &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IADOCEConnection, &object)) ||
        !object)
        return false;
    auto* connection = static_cast<ado::Connection*>(object);
    const std::u16string wide = ado::toUtf16(path);
    const bool opened = SUCCEEDED(connection->Open(wide.c_str(), u"", u"", ado::adOptionUnspecified));
    if (opened) connection->Close();
    connection->Release();
    return opened;
}

// The first start: the shipped catalogue becomes the user's copy through a temporary file.
bool makeCopy(const std::string& shipped, const std::string& copy, const std::string& folder,
              std::vector<std::string>& notes) {
    std::string why;
    const std::string temporary = copyToTemporary(shipped, folder, why);
    if (temporary.empty() || !writeOrigin(copy, originOf(shipped), temporary) ||
        std::rename(temporary.c_str(), copy.c_str()) != 0) {
        if (!temporary.empty()) ::unlink(temporary.c_str());
        notes.push_back(why.empty() ? "cannot make " + copy + ": " + systemError() : why);
        return false;
    }
    syncFolder(folder);
    return true;
}

// A new shipped catalogue: a fresh copy of it takes every bookmark of the user's copy, is checked,
// and replaces the old copy, which stays as a backup until the new one has opened.
bool upgradeCopy(const std::string& shipped, const Origin& origin, const std::string& copy,
                 const std::string& folder, std::vector<std::string>& notes) {
    const Origin before = readOrigin(copy);
    std::vector<catalogue::Bookmark> bookmarks;
    try {
        bookmarks = catalogue::readBookmarks(copy);
    } catch (const catalogue::WriteError& e) {
        notes.push_back("the bookmarks of " + copy + " cannot be read (" + e.what() +
                        "); it is not replaced by the new catalogue");
        return false;
    }
    std::string why;
    const std::string temporary = copyToTemporary(shipped, folder, why);
    if (temporary.empty()) {
        notes.push_back(why + "; " + copy + " stays as it was");
        return false;
    }
    try {
        catalogue::replaceBookmarks(temporary, bookmarks);
        if (catalogue::readBookmarks(temporary) != bookmarks)
            throw catalogue::WriteError("the bookmarks did not read back as written");
        if (!opensAsCatalogue(temporary)) throw catalogue::WriteError("the new copy does not open");
    } catch (const catalogue::WriteError& e) {
        ::unlink(temporary.c_str());
        notes.push_back("cannot carry the bookmarks into the new catalogue (" + std::string(e.what()) +
                        "); " + copy + " stays as it was");
        return false;
    }
    // The note first: until the new copy is in place it names a file that is not the copy.
    if (!writeOrigin(copy, origin, temporary)) {
        ::unlink(temporary.c_str());
        notes.push_back("cannot write " + copy + kOriginSuffix + ": " + systemError() + "; " + copy +
                        " stays as it was");
        return false;
    }
    const std::string backup = copy + kBackupSuffix;
    if (!moveDatabase(copy, backup)) {
        ::unlink(temporary.c_str());
        notes.push_back("cannot keep " + copy + " as a backup: " + systemError() + "; it stays as it was");
        return false;
    }
    if (std::rename(temporary.c_str(), copy.c_str()) != 0 || !opensAsCatalogue(copy)) {
        std::rename(backup.c_str(), copy.c_str());
        ::unlink(temporary.c_str());
        if (!before.fingerprint.empty()) writeOrigin(copy, before, copy);
        notes.push_back("the new copy did not open; " + copy + " stays as it was");
        return false;
    }
    syncFolder(folder);
    ::unlink(backup.c_str());
    return true;
}

std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

} // namespace

std::string damagedCopyNotice(std::size_t recovered, const std::string& damaged) {
    // Short lines for the device's box: the folder (the home folder written as "~") on a line of
    // its own, and of the file's long name the part that tells it apart.
    std::string folder = folderOf(damaged);
    const char* home = std::getenv("HOME");
    if (home && *home && (folder + "/").rfind(std::string(home) + "/", 0) == 0)
        folder = "~" + folder.substr(std::strlen(home));
    const std::size_t mark = damaged.rfind(kDamagedSuffix);
    const std::string ending =
        mark == std::string::npos ? damaged.substr(folderOf(damaged).size() + 1) : damaged.substr(mark);
    std::string text = "Ihre Lesezeichen-Datei war beschädigt. Talvino hat eine neue angelegt";
    if (recovered == 0)
        text += "; aus der alten ließ sich kein Lesezeichen mehr lesen. Sie";
    else
        text += " und " + std::to_string(recovered) + " Lesezeichen daraus übernommen. Die alte Datei";
    return text + " liegt im Ordner\n" + folder + "\nund endet auf \"" + ending + "\".";
}

namespace {

// A copy that no longer opens: kept beside the new one as <copy>.damaged-<date>, and every
// bookmark that can still be read from it goes into a fresh copy of the shipped catalogue.
bool recoverDamagedCopy(const std::string& shipped, const std::string& copy, const std::string& folder,
                        CatalogueChoice& choice) {
    std::vector<catalogue::Bookmark> bookmarks = catalogue::salvageBookmarks(copy);
    std::string damaged = copy + kDamagedSuffix + today();
    for (int n = 2; isFile(damaged) || fs::exists(damaged); ++n)
        damaged = copy + kDamagedSuffix + today() + "-" + std::to_string(n);
    std::string why;
    const std::string temporary = copyToTemporary(shipped, folder, why);
    if (temporary.empty()) {
        choice.notes.push_back(copy + " cannot be opened and " + why);
        return false;
    }
    try {
        catalogue::replaceBookmarks(temporary, bookmarks);
    } catch (const catalogue::WriteError& e) {
        ::unlink(temporary.c_str());
        choice.notes.push_back(
            copy + " cannot be opened, and its bookmarks cannot be carried into a new copy: " + e.what());
        return false;
    }
    if (!writeOrigin(copy, originOf(shipped), temporary) || !moveDatabase(copy, damaged)) {
        ::unlink(temporary.c_str());
        choice.notes.push_back(copy + " cannot be opened and cannot be moved aside: " + systemError());
        return false;
    }
    if (std::rename(temporary.c_str(), copy.c_str()) != 0) {
        moveDatabase(damaged, copy);
        ::unlink(temporary.c_str());
        choice.notes.push_back(copy + " cannot be opened and cannot be replaced: " + systemError());
        return false;
    }
    syncFolder(folder);
    choice.notes.push_back(copy + " could not be opened; it is kept as " + damaged + ", and " +
                           std::to_string(bookmarks.size()) + " bookmarks were carried into a new copy");
    choice.notice = damagedCopyNotice(bookmarks.size(), damaged);
    return true;
}

// The user's copy where there is one, else the shipped catalogue read-only, else the one beside the
// program (whose open then reports what is wrong).
void takeWhatIsThere(CatalogueChoice& choice, const std::string& copy, const std::string& shipped,
                     const std::string& beside) {
    if (isFile(copy)) {
        choice.kind = CatalogueChoice::Kind::UserCopy;
        choice.path = copy;
    } else if (!shipped.empty()) {
        choice.kind = CatalogueChoice::Kind::ShippedReadOnly;
        choice.path = shipped;
    } else {
        choice.path = beside;
    }
}

} // namespace

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

std::string userDataFolder(const char* xdgDataHome, const char* home) {
    if (xdgDataHome && xdgDataHome[0] == '/') return std::string(xdgDataHome) + "/talvino";
    std::string base = home && *home ? home : "";
    if (base.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid())) base = entry->pw_dir ? entry->pw_dir : "";
    }
    return base + "/.local/share/talvino";
}

std::string userDataFolder() {
    return userDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

std::string shippedCataloguePath(const std::string& programPath) {
    return fs::path(folderOf(programPath) + "/../share/talvino/catalogue/" + kFileName)
        .lexically_normal()
        .string();
}

CatalogueChoice locateCatalogue(const std::string& programPath, const std::string& userFolder) {
    CatalogueChoice choice;
    const std::string beside = folderOf(programPath) + "/" + kFileName;
    if (writable(beside, false) && writable(folderOf(beside), true)) {
        choice.kind = CatalogueChoice::Kind::NextToProgram;
        choice.path = beside;
        return choice;
    }

    // A read-only catalogue beside the program, without an installed one, is the one to copy.
    std::string shipped = shippedCataloguePath(programPath);
    if (!isFile(shipped)) shipped = isFile(beside) ? beside : std::string();
    const std::string copy = userFolder + "/" + kFileName;
    const std::string backup = copy + kBackupSuffix;

    // The install puts the catalogue in a folder of its own, so that no prefix (~/.local included)
    // makes it the user's copy; should links make them one file all the same, it stays read-only.
    std::error_code same;
    if (!shipped.empty() && (fs::path(shipped).lexically_normal() == fs::path(copy).lexically_normal() ||
                             fs::equivalent(shipped, copy, same))) {
        choice.kind = CatalogueChoice::Kind::ShippedReadOnly;
        choice.path = shipped;
        choice.notes.push_back("the catalogue is installed in your own data folder " + userFolder +
                               "; install Talvino with another prefix to save bookmarks");
        return choice;
    }

    std::string why;
    if (!prepareFolder(userFolder, why)) {
        choice.notes.push_back(why);
        takeWhatIsThere(choice, copy, shipped, beside);
        return choice;
    }

    // Every running program holds the lock shared; only a start that holds it alone may make or
    // replace the copy.
    const std::string lockPath = userFolder + "/" + kLockName;
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    const bool alone = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;

    if (alone) {
        // An upgrade that stopped between its two renames left only the backup.
        if (!isFile(copy) && isFile(backup)) moveDatabase(backup, copy);
        removeLeftovers(userFolder);
        keepToTheUser(userFolder, copy);
        if (!shipped.empty()) {
            const Origin recorded = readOrigin(copy);
            // Earlier versions wrote no third line: their note is taken as the copy's.
            const bool noteOfThisCopy = recorded.copy.empty() || recorded.copy == copyIdentityOf(copy);
            if (!isFile(copy)) {
                makeCopy(shipped, copy, userFolder, choice.notes);
            } else if (!opensAsCatalogue(copy)) {
                if (opensAsCatalogue(shipped))
                    recoverDamagedCopy(shipped, copy, userFolder, choice);
                else
                    choice.notes.push_back("neither " + copy + " nor " + shipped + " can be opened");
            } else if (!noteOfThisCopy) {
                upgradeCopy(shipped, originOf(shipped), copy, userFolder, choice.notes);
            } else if (recorded.file.empty() || recorded.file != fileIdentityOf(shipped)) {
                const Origin current = originOf(shipped);
                if (current.fingerprint != recorded.fingerprint)
                    upgradeCopy(shipped, current, copy, userFolder, choice.notes);
                else
                    writeOrigin(copy, current, copy); // the same catalogue in another file, or an older note
            }
            // An upgrade that stopped after its second rename: the new copy is complete.
            if (isFile(backup) && isFile(copy) && readOrigin(copy).copy == copyIdentityOf(copy))
                ::unlink(backup.c_str());
        }
    } else if (fd >= 0 && isFile(copy)) {
        choice.notes.push_back(
            "another Talvino is running; the catalogue is brought up to date at a later start");
    }
    if (fd >= 0) ::flock(fd, LOCK_SH);
    choice.lock = FolderLock(fd);

    takeWhatIsThere(choice, copy, shipped, beside);
    return choice;
}
