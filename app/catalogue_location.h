// Which catalogue the program opens. Where the catalogue next to the program can be written (the
// build tree, a portable copy) it is used as it is. Otherwise each user works on a copy of their
// own in $XDG_DATA_HOME/talvino, made from the shipped catalogue (../share/talvino/catalogue/ from
// the program, a folder no install prefix can make the user's) on the first start and rebuilt with
// every bookmark when the shipped one changes. A copy that no longer opens is kept beside a new one
// that takes every bookmark still readable. A user whose folder cannot be written reads the
// shipped catalogue, which is installed read-only.
#pragma once

#include <string>
#include <vector>

// Held while the program runs, so that no other start replaces the user's copy under it.
class FolderLock {
  public:
    FolderLock() = default;
    explicit FolderLock(int fd) : fd_(fd) {}
    ~FolderLock();
    FolderLock(FolderLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    int fd_ = -1;
};

struct CatalogueChoice {
    enum class Kind {
        NextToProgram,   // the writable catalogue beside the program
        UserCopy,        // the user's own copy
        ShippedReadOnly, // the user's folder cannot be written
        Missing,         // no catalogue anywhere: the path next to the program, which fails to open
    };
    Kind kind = Kind::Missing;
    std::string path;
    std::vector<std::string> notes; // what went wrong on the way, one line each
    std::string notice;             // for the user, once, in German (a damaged copy was replaced)
    FolderLock lock;
};

// The user's folder: $XDG_DATA_HOME/talvino, or $HOME/.local/share/talvino when the variable is
// unset, empty or not an absolute path (as the XDG base directory rules say).
std::string userDataFolder(const char* xdgDataHome, const char* home);
std::string userDataFolder(); // from the environment

// The shipped catalogue for a program at `programPath`: ../share/talvino/catalogue/ from its folder.
std::string shippedCataloguePath(const std::string& programPath);

// What the user is told, once, after a copy that no longer opened was kept aside as `damaged` and
// `recovered` bookmarks were carried into a new one (German, for a HINWEIS box).
std::string damagedCopyNotice(std::size_t recovered, const std::string& damaged);

// Chooses, and makes or upgrades the user's copy in `userFolder` where needed.
CatalogueChoice locateCatalogue(const std::string& programPath, const std::string& userFolder);
