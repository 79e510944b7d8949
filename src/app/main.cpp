// quillon: the window program.

#include "ui/Application.h"
#include "ui/Unit1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::prepareApplication();

    // The main window first (FormCreate), then the errors window and the about box.
    ui::TForm1 form;
    form.CreateSecondaryWindows();
    form.show();
    return QApplication::exec();
}
