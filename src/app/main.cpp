// quillon [FILE]: the window program. With FILE, the window opens on it: FILE is chosen as
// "Input  File" would choose it and scanned.

#include "ui/Adv.h"
#include "ui/Application.h"
#include "ui/Unit1.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::prepareApplication();
    QApplication::setApplicationVersion(QString::fromLatin1(ui::kVersion));

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Checks a RINEX 2 observation file and its navigation and meteo "
                       "companions, and shows what it holds."));
    options.addHelpOption();
    options.addVersionOption();
    options.addPositionalArgument(QStringLiteral("FILE"),
                                  QStringLiteral("The observation file to scan at start."),
                                  QStringLiteral("[FILE]"));
    options.process(app);
    const QStringList files = options.positionalArguments();
    if (files.size() > 1)
        options.showHelp(2);

    // The main window first (FormCreate), then the errors window and the about box.
    ui::TForm1 form;
    form.CreateSecondaryWindows();
    form.show();
    if (!files.isEmpty()) {
        // Once the loop runs, so that the window is drawn while the scan shows its progress.
        const QString file = files.front();
        QTimer::singleShot(0, &form, [&form, file] { form.openFile(file); });
    }
    return QApplication::exec();
}
