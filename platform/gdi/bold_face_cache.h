// The made bold face (bold_face.h): made when the program is built and installed beside it, else
// kept between runs in the user's cache, so that only the first start, or the first after the
// regular face changed, pays for making it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform::gdi {

// The folder of the program's cached files: $XDG_CACHE_HOME/talvino, else ~/.cache/talvino; empty
// when neither names an absolute folder.
QString cacheFolder();

// The file in `folder` that holds the bold face made from `regular` with today's emboldening.
QString cachedBoldFaceFile(const QByteArray& regular, const QString& folder);

// emboldenedFace(regular), read from `folder` when a sound copy made from the same bytes is there,
// else made and stored there for the next run. Storing is best effort: a cache that cannot be read
// or written only costs the time to make the face.
QByteArray cachedEmboldenedFace(const QByteArray& regular, const QString& folder = cacheFolder());

// The folders of the faces made with the program: "fonts" beside the program file (the build
// tree) and "../share/talvino/fonts" from it (an install).
QStringList shippedFontFolders();

// The bold face made with the program for `regular`, from the first of `folders` that holds a
// sound one (named and sealed as in the cache); empty when none does, as when the regular face on
// this machine is not the one the program was built with.
QByteArray shippedEmboldenedFace(const QByteArray& regular, const QStringList& folders = shippedFontFolders());

} // namespace platform::gdi
