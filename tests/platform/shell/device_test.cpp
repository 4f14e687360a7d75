// Start-up on the device, run as its own process: entry point, command line, locale, scale,
// the hook after the first dialog, the saved screen and the exit status.
#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ProbeRun {
    int status = -1;
    QString output;
    QImage screen;
};

ProbeRun runProbe(const QStringList& arguments) {
    QTemporaryDir folder;
    const QString png = folder.filePath(QStringLiteral("screen.png"));
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(DEVICE_PROBE), arguments + QStringList{png});
    ProbeRun run;
    if (!process.waitForFinished(60000)) return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    run.screen = QImage(png);
    return run;
}

} // namespace

TEST(RunDeviceTest, EntryPointGetsTheModuleCommandLineAndShowCommandAndItsResultIsTheExitStatus) {
    const ProbeRun run = runProbe({QStringLiteral("eins"), QStringLiteral("zwei")});
    EXPECT_EQ(run.status, 7);
    EXPECT_TRUE(run.output.contains(QStringLiteral("module=1 previous=1 show=5")))
        << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("locale=de_DE"))) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("command=eins zwei "))) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("caption=Sonde"))) << run.output.toStdString();
}

TEST(RunDeviceTest, ScreenIsSavedAtTheDevicesScale) {
    const ProbeRun one = runProbe({});
    EXPECT_TRUE(one.output.contains(QStringLiteral("saved=1 scale=1"))) << one.output.toStdString();
    EXPECT_EQ(one.screen.size(), QSize(240, 320));
    const ProbeRun two = runProbe({QStringLiteral("--scale"), QStringLiteral("2")});
    EXPECT_TRUE(two.output.contains(QStringLiteral("saved=1 scale=2"))) << two.output.toStdString();
    EXPECT_EQ(two.screen.size(), QSize(480, 640));
    // The layer's own option is not part of the program's command line.
    EXPECT_FALSE(two.output.contains(QStringLiteral("--scale"))) << two.output.toStdString();
}

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
