#pragma once

#include <QFrame>

class QLabel;

namespace ui {

/// The wait notice `PWait`: the small picture and "Conversion of Unix file", hidden except
/// while a file with bare line feeds is copied.
class WaitPanel : public QFrame {
    Q_OBJECT

public:
    explicit WaitPanel(QWidget* parent = nullptr);

    QLabel* Picture;
    QLabel* Caption;
};

} // namespace ui
