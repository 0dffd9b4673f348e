// The real `vantrel-studio` program: on a real X server (xvfb-run) a script runs in the window and
// the screenshot shows what it drew; usage errors end the program before any window opens.
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QString errors;
};

enum class Server { Xvfb, None };

// On an X server of its own (xvfb-run), or offscreen where no window is wanted: xvfb-run's own
// clean-up can fail under load (its status 5), which must not be taken for the program's.
Run runStudio(const QStringList& arguments, Server server = Server::None)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VANTREL_MODULE_PATH", VANTREL_MODULE);
    if (server == Server::Xvfb) {
        env.remove("QT_QPA_PLATFORM");
        process.setProcessEnvironment(env);
        process.start("xvfb-run", QStringList{"-a", "-s", "-screen 0 1280x1024x24", VANTREL_STUDIO} + arguments);
    } else {
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(VANTREL_STUDIO, arguments);
    }
    if (!process.waitForFinished(90000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class StudioProgramTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable("xvfb-run").isEmpty(), "xvfb-run is missing: run tools/setup");
    }

    void screenshotShowsWhatTheScriptDrew()
    {
        QTemporaryDir folder;
        const QString script = folder.filePath("red.scr"), shot = folder.filePath("shot.png");
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // A filled red solid across most of the view.
        file.write("layer\nmake\nred\ncolor\n1\nred\n\nsolid\n10,10\n90,10\n10,90\n90,90\n\nzoom\ne\n");
        file.close();
        const Run run = runStudio({"--profile", folder.filePath("profile.toml"), "-s", script, "--screenshot", shot},
                                  Server::Xvfb);
        QVERIFY2(run.status == 0, qPrintable(run.errors));
        QImage image(shot);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() > 300 && image.height() > 200);
        int red = 0, other = 0;
        for (int y = 0; y < image.height(); y += 4)
            for (int x = 0; x < image.width(); x += 4) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                    ++red;
                else
                    ++other;
            }
        // The solid fills much of the view; the rest is the window around it.
        QVERIFY2(red > (red + other) / 10, qPrintable(QString("%1 red of %2").arg(red).arg(red + other)));
        QVERIFY(other > 0);
    }

    void badDrawingOrOptionEndsWithoutAWindow()
    {
        QTemporaryDir folder;
        const Run missing = runStudio({"--profile", folder.filePath("p.toml"), folder.filePath("none.dxf")});
        QCOMPARE(missing.status, 1);
        QVERIFY(missing.errors.contains("none.dxf"));
        QCOMPARE(runStudio({"--no-such-option"}).status, 2);
        const Run noScript = runStudio({"--profile", folder.filePath("p.toml"), "-s", folder.filePath("none.scr")});
        QCOMPARE(noScript.status, 1);
        QVERIFY(noScript.errors.contains("none.scr: cannot read"));
    }
};

QTEST_MAIN(StudioProgramTest)
#include "studio_program_test.moc"
