// The made bold face (bold_face.h) kept between runs in the user's cache, so that only the first
// start, or the first after the regular face changed, pays for making it.
#pragma once

#include <QByteArray>
#include <QString>

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

} // namespace platform::gdi
