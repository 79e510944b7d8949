// ui_snapshots <folder>: renders the window program's pieces filled with small fixtures to PNG
// files, for looking at them (run under xvfb-run or the offscreen platform).

#include "ui/JpegImage.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QWidget>

#include <cstdio>

static bool save(const QImage& image, const QString& folder, const char* name) {
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: ui_snapshots <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    bool ok = save(ui::seaPhoto(), folder, "sea.png");
    ok = save(ui::waitPicture().scaled(128, 64), folder, "wait.png") && ok;
    return ok ? 0 : 1;
}
