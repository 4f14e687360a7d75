// The names of the process's threads besides the calling one, as /proc shows them. The program's
// own threads carry names of their own ("talvino-thread", "talvino-count"); under
// ThreadSanitizer the runtime's background thread, which keeps the process's name, is left out.
#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <unistd.h>

#if defined(__SANITIZE_THREAD__)
constexpr bool kSanitizerThreadShares = true;
#else
constexpr bool kSanitizerThreadShares = false;
#endif

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
