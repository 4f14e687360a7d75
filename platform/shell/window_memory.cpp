#include "platform/shell/window_memory.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace platform {

namespace {
// Larger than any screen; a number beyond it is a damaged file, not a size.
constexpr int kLargest = 32767;
} // namespace

QString windowMemoryPath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(base)) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty()) return QString();
        base = home + QStringLiteral("/.config");
    }
    return base + QStringLiteral("/talvino/window");
}

QSize rememberedWindowSize() {
    QFile file(windowMemoryPath());
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly)) return QSize();
    const QStringList fields = QString::fromUtf8(file.read(64)).simplified().split(QLatin1Char(' '));
    if (fields.size() != 2) return QSize();
    bool wide = false, high = false;
    const int width = fields[0].toInt(&wide);
    const int height = fields[1].toInt(&high);
    if (!wide || !high || width <= 0 || height <= 0 || width > kLargest || height > kLargest) return QSize();
    return QSize(width, height);
}

bool rememberWindowSize(QSize size) {
    const QString path = windowMemoryPath();
    if (path.isEmpty() || !size.isValid()) return false;
    if (!QDir().mkpath(QFileInfo(path).path())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(QStringLiteral("%1 %2\n").arg(size.width()).arg(size.height()).toUtf8());
    return file.commit();
}

} // namespace platform
