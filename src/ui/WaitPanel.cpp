#include "ui/WaitPanel.h"

#include "ui/JpegImage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>

namespace ui {

WaitPanel::WaitPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PWait"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    Picture = new QLabel(this);
    Picture->setObjectName(QStringLiteral("ImWait"));
    Picture->setPixmap(QPixmap::fromImage(waitPicture()));
    Picture->setFixedSize(32, 16);
    Caption = new QLabel(QStringLiteral("Conversion of Unix file"), this);
    Caption->setObjectName(QStringLiteral("STWait"));
    QFont font = Caption->font();
    font.setBold(true);
    Caption->setFont(font);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 16, 8);
    layout->setSpacing(10);
    layout->addWidget(Picture);
    layout->addWidget(Caption);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    hide();
}

} // namespace ui
