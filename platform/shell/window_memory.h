// The size the user last gave the device window, kept per user in
// $XDG_CONFIG_HOME/talvino/window (~/.config/talvino/window): one line "WIDTH HEIGHT".
#pragma once

#include <QSize>
#include <QString>

namespace platform {

QString windowMemoryPath(); // empty when neither XDG_CONFIG_HOME nor HOME says where
QSize rememberedWindowSize(); // invalid when none was kept or the file is not one of ours
// False when it could not be written (the program goes on; the next start fits the screen).
bool rememberWindowSize(QSize size);

} // namespace platform
