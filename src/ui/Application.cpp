#include "ui/Application.h"

#include "ui/Unit1.h"

#include <QApplication>

namespace ui {

QString windowCaption(const QString& given) {
    return given + QStringLiteral(" \u2014 ") + QString::fromLatin1(kProgramName);
}

void prepareApplication() {
    QApplication::setApplicationName(QString::fromLatin1(kProgramName));
    QApplication::setDesktopFileName(QStringLiteral("quillon"));
    QApplication::setWindowIcon(programIcon());
}

} // namespace ui
