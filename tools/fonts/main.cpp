// Makes the program's bold face from the regular one when the program is built, so that no start
// has to (the program reads it from the folder it is installed with, see bold_face_cache.h).
//
//   talvino-bold-face REGULAR OUTDIR
// Without REGULAR (no wine fonts on the building machine) it makes nothing and says so: the
// program then makes the face on its first start and keeps it in the user's cache.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdio>

#include "platform/gdi/bold_face_cache.h"
#include "platform/gdi/font_tables.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s REGULAR OUTDIR\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(folder); // installed as it is, even empty
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::printf("%s: not there, no bold face made\n", argv[1]);
        return 0;
    }
    // The face as the program registers it, so that the program finds the bold made from it.
    const QByteArray regular = platform::gdi::withWindowsLineSpacing(file.readAll());
    if (platform::gdi::cachedEmboldenedFace(regular, folder).isEmpty() ||
        platform::gdi::shippedEmboldenedFace(regular, {folder}).isEmpty()) {
        std::fprintf(stderr, "%s: cannot make its bold face into %s\n", argv[1], argv[2]);
        return 1;
    }
    std::printf("%s\n", qPrintable(platform::gdi::cachedBoldFaceFile(regular, folder)));
    return 0;
}
