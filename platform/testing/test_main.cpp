// The main of every test program that works windows: a headless application with the device's
// locale, style and fonts, and the device window, before GoogleTest runs.
#include <QApplication>
#include <gtest/gtest.h>

#include "platform/shell/device_window.h"
#include "platform/ui/hooks.h"

namespace {
// Whatever a test left open is closed before the next one starts.
class LeftoverDialogs : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        const std::vector<HWND> open = platform::openDialogs();
        for (auto it = open.rbegin(); it != open.rend(); ++it)
            platform::destroyDialog(*it);
        platform::setMessageBoxResponder({});
        platform::setDialogActivatedHook({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
};
// The offscreen platform warns about what it cannot do for drop-down lists; nothing to see.
QtMessageHandler defaultHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    if (defaultHandler) defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(quietHandler);
    QApplication application(argc, argv);
    platform::prepareDevice();
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new LeftoverDialogs);
    const int status = RUN_ALL_TESTS();
    platform::destroyDeviceWindow();
    return status;
}
