#include "platform/gdi/bold_face_cache.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSaveFile>
#include <cstdint>
#include <cstring>

#include "platform/gdi/bold_face.h"
#include "platform/ui/windows.h"

namespace platform::gdi {
namespace {

// A cached face ends in this mark and a fingerprint of the face before it, so that a file cut
// short or overwritten is made again rather than handed to the font database.
constexpr char sealMark[8] = {'T', 'L', 'V', 'B', 'O', 'L', 'D', '1'};
constexpr qsizetype sealSize = sizeof sealMark + sizeof(std::uint64_t);

// Not a cryptographic hash: it tells one font file from another, eight bytes a step so that
// checking costs next to nothing beside making the face.
std::uint64_t fingerprint(const char* data, std::size_t size) {
    std::uint64_t h = 0xcbf29ce484222325ull ^ size;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + i, 8);
        h = (h ^ word) * 0x100000001b3ull;
        h ^= h >> 32;
    }
    for (; i < size; ++i)
        h = (h ^ static_cast<unsigned char>(data[i])) * 0x100000001b3ull;
    return h;
}

QByteArray sealOf(const QByteArray& face) {
    const std::uint64_t print = fingerprint(face.constData(), static_cast<std::size_t>(face.size()));
    QByteArray seal(sealMark, sizeof sealMark);
    seal.append(reinterpret_cast<const char*>(&print), sizeof print);
    return seal;
}

// The face in a cached file, or empty when the file is missing, short or not sealed as written.
QByteArray readSealed(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray stored = file.readAll();
    if (stored.size() <= sealSize) return {};
    const QByteArray seal = stored.right(sealSize);
    stored.truncate(stored.size() - sealSize);
    return seal == sealOf(stored) ? stored : QByteArray();
}

// Written whole to a temporary file and then renamed, so that a reader (another start at the same
// time, a shared home) sees the old file or the new one, never half of one.
void writeSealed(const QString& folder, const QString& path, const QByteArray& face) {
    if (!QDir().mkpath(folder)) return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(face);
    file.write(sealOf(face));
    file.commit();
}

} // namespace

QString cacheFolder() {
    const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (QDir::isAbsolutePath(cache)) return cache + QStringLiteral("/talvino");
    const QString home = qEnvironmentVariable("HOME");
    if (QDir::isAbsolutePath(home)) return home + QStringLiteral("/.cache/talvino");
    return {};
}

QString cachedBoldFaceFile(const QByteArray& regular, const QString& folder) {
    const std::uint64_t print = fingerprint(regular.constData(), static_cast<std::size_t>(regular.size()));
    return folder + QStringLiteral("/bold-face-v%1-em%2-%3-%4.ttf")
                        .arg(emboldeningVersion)
                        .arg(emboldeningDivisor)
                        .arg(regular.size())
                        .arg(print, 16, 16, QLatin1Char('0'));
}

QByteArray cachedEmboldenedFace(const QByteArray& regular, const QString& folder) {
    if (folder.isEmpty()) return emboldenedFace(regular);
    const QString path = cachedBoldFaceFile(regular, folder);
    QByteArray face = readSealed(path);
    if (!face.isEmpty()) return face;
    face = emboldenedFace(regular);
    if (!face.isEmpty()) writeSealed(folder, path, face);
    return face;
}

QStringList shippedFontFolders() {
    char16_t path[4096] = {};
    if (GetModuleFileNameW(nullptr, path, 4096) == 0) return {};
    const QString folder = QFileInfo(QString::fromUtf16(path)).absolutePath();
    return {folder + QStringLiteral("/fonts"), folder + QStringLiteral("/../share/talvino/fonts")};
}

QByteArray shippedEmboldenedFace(const QByteArray& regular, const QStringList& folders) {
    for (const QString& folder : folders) {
        QByteArray face = readSealed(cachedBoldFaceFile(regular, folder));
        if (!face.isEmpty()) return face;
    }
    return {};
}

} // namespace platform::gdi
