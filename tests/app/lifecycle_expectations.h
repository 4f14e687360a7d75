// What every end of the program leaves behind, for the lifecycle tests in and out of process: the
// global objects' teardown and the threads still running.
#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <string>
#include <unistd.h>
#include <vector>

// The main menu's shutdown as the global objects' log records it.
inline const std::vector<std::string> kTeardown = {"~search form",      "~utility",
                                                   "~results state",    "~grape varieties",
                                                   "~help index",       "~bookmarks help",
                                                   "~temperature help", "~grape varieties help",
                                                   "~wines help",       "~temperature screen",
                                                   "~database",         "~application"};

#if defined(__SANITIZE_THREAD__)
constexpr bool kSanitizerThreadShares = true;
#else
constexpr bool kSanitizerThreadShares = false;
#endif

// The names of the process's threads besides the calling one, as /proc shows them. The program's
// own threads carry names of their own ("talvino-thread", "talvino-count"); under
// ThreadSanitizer the runtime's background thread, which keeps the process's name, is left out.
inline QStringList otherThreadNames() {
    const QString tasks = QStringLiteral("/proc/self/task/");
    QFile own(QStringLiteral("/proc/self/comm"));
    const QString ownName =
        own.open(QIODevice::ReadOnly) ? QString::fromUtf8(own.readAll()).trimmed() : QString();
    QStringList names;
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (task.toLong() == static_cast<long>(gettid())) continue;
        QFile file(tasks + task + QStringLiteral("/comm"));
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString name = QString::fromUtf8(file.readAll()).trimmed();
        if (kSanitizerThreadShares && name == ownName && task.toLong() != static_cast<long>(getpid()))
            continue;
        names << name;
    }
    return names;
}
