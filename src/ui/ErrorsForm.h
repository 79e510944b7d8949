#pragma once

#include "text/Diagnostics.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QLabel;
class QListView;
class QPushButton;
class QRadioButton;

namespace ui {

/// The errors window: for each file kind its header and data diagnostics, one kind at a time,
/// chosen by six radio buttons. It shows the core's twelve lists and never changes them.
class TFormErrors : public QDialog {
    Q_OBJECT

public:
    /// The lists must outlive the window.
    explicit TFormErrors(const text::DiagnosticsLists& lists, QWidget* parent = nullptr);

    /// Takes the lists' present contents (done on every opening as well).
    void refresh();
    /// The header caption of a kind ("Header of file " + name during a scan).
    void setHeaderCaption(text::FileKind kind, const QString& caption);
    /// Checks the kind's radio button, which shows its panel.
    void checkChoice(text::FileKind kind);
    /// The kind whose panel is shown.
    text::FileKind shownKind() const noexcept { return m_shown; }

    void RBObsClick();
    void RBGPSClick();
    void RBGLOClick();
    void RBMeteoClick();
    void RBGEOClick();
    void RBGALClick();
    void BBCloseClick();

    QWidget *PO, *PN, *PG, *PM, *PH, *PL;
    QLabel *STHeader, *STHeaderN, *STHeaderG, *STHeaderM, *STHeaderH, *STHeaderL;
    QLabel *STData, *STDataN, *STDataG, *STDataM, *STDataH, *STDataL;
    QListView *LBHeader, *LBHeaderN, *LBHeaderG, *LBHeaderM, *LBHeaderH, *LBHeaderL;
    QListView *LBData, *LBDataN, *LBDataG, *LBDataM, *LBDataH, *LBDataL;
    QGroupBox* GBRinexFiles;
    QRadioButton *RBObs, *RBGPS, *RBGLO, *RBMeteo, *RBGEO, *RBGAL;
    QPushButton* BBClose;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct KindWidgets {
        QWidget* panel;
        QLabel* headerCaption;
        QListView* headerList;
        QLabel* dataCaption;
        QListView* dataList;
        QRadioButton* choice;
    };
    KindWidgets& widgetsOf(text::FileKind kind);
    void choiceClicked(text::FileKind kind);

    const text::DiagnosticsLists& m_lists;
    std::array<KindWidgets, 6> m_kinds{};
    text::FileKind m_shown = text::FileKind::O;
};

} // namespace ui
