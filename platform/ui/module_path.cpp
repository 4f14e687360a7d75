// The program's own path. Differs from the platform: paths use '/', and the module handle is
// ignored (there is one program image); tests may pretend the program lives elsewhere.
#include <QCoreApplication>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <mutex>
#include <string>

#include "platform/ui/windows.h"

namespace {
std::mutex pathMutex;
std::u16string overriddenPath;

std::u16string executablePath() {
    const QString path = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return path.toStdU16String();
}
} // namespace

void platform::overrideModuleFileName(LPCWSTR path) {
    std::lock_guard<std::mutex> lock(pathMutex);
    overriddenPath = path ? std::u16string(path) : std::u16string();
}

DWORD GetModuleFileNameW(HINSTANCE, LPWSTR buffer, DWORD capacity) {
    if (!buffer || capacity == 0) return 0;
    std::u16string path;
    {
        std::lock_guard<std::mutex> lock(pathMutex);
        path = overriddenPath;
    }
    if (path.empty()) path = executablePath();
    // Cut to fit, always terminated, as the platform does.
    const DWORD length = static_cast<DWORD>(std::min<std::size_t>(path.size(), capacity - 1));
    path.copy(buffer, length);
    buffer[length] = u'\0';
    return length;
}
