#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace ui {

inline constexpr const char* kVersion = "1.0.6";
inline constexpr const char* kVersionText = "Version 1.0.6";
inline constexpr const char* kBuildDate = "25 May 2009";

/// The about box: the program's name, version and date. Modal, on top, centred on the screen.
/// F1 asks the main window for help (helpRequested), since the topic is that of the main
/// window's focused control.
class TFormAdv : public QDialog {
    Q_OBJECT

public:
    explicit TFormAdv(QWidget* parent = nullptr);

    QLabel* STTitle;
    QLabel* StaticText1; // the version, set before the box is shown
    QLabel* StaticText2; // "Build"
    QLabel* StaticText3; // the date, set before the box is shown
    QPushButton* BB;

signals:
    /// F1 was released in the box; owner is the OK button.
    void helpRequested(QWidget* owner);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

} // namespace ui
