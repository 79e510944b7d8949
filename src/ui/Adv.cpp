#include "ui/Adv.h"

#include "ui/Application.h"
#include "ui/HelpWindow.h"
#include "ui/JpegImage.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace ui {

namespace {

// The title over a strip of the sea photograph.
class TitleLabel : public QLabel {
public:
    explicit TitleLabel(QWidget* parent) : QLabel(QStringLiteral("Quillon"), parent) {
        m_sea = seaPhoto();
        QFont f = font();
        f.setPointSizeF(f.pointSizeF() * 2.2);
        f.setBold(true);
        setFont(f);
        setAlignment(Qt::AlignCenter);
        setMinimumHeight(72);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (!m_sea.isNull()) {
            const QRect source(0, m_sea.height() / 3, m_sea.width(),
                               m_sea.width() * height() / std::max(1, width()));
            painter.drawImage(rect(), m_sea, source);
        }
        painter.setFont(font());
        painter.setPen(QColor(0, 0, 0, 90));
        painter.drawText(rect().translated(2, 2), Qt::AlignCenter, text());
        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter, text());
    }

private:
    QImage m_sea;
};

} // namespace

TFormAdv::TFormAdv(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormAdv"));
    setWindowTitle(windowCaption(QStringLiteral("About Quillon")));
    setModal(true);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    STTitle = new TitleLabel(this);
    STTitle->setObjectName(QStringLiteral("STTitle"));
    StaticText1 = new QLabel(this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText2 = new QLabel(QStringLiteral("Build"), this);
    StaticText2->setObjectName(QStringLiteral("StaticText2"));
    StaticText3 = new QLabel(this);
    StaticText3->setObjectName(QStringLiteral("StaticText3"));
    for (QLabel* label : {StaticText1, StaticText2, StaticText3})
        label->setAlignment(Qt::AlignCenter);
    BB = new QPushButton(QStringLiteral("OK"), this);
    BB->setObjectName(QStringLiteral("BB"));
    BB->setDefault(true);
    setHelpTopic(BB, 1);
    connect(BB, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BB);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(STTitle);
    layout->addSpacing(6);
    layout->addWidget(StaticText1);
    layout->addWidget(StaticText2);
    layout->addWidget(StaticText3);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    setFixedWidth(320);
}

void TFormAdv::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        emit helpRequested(BB);
        return;
    }
    QDialog::keyReleaseEvent(event);
}

void TFormAdv::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace ui
