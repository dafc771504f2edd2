#pragma once

#include <QDialog>
#include <QStringList>
#include <array>

class FadeEngine;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollBar;
class QTimer;
class ZelButton;

// Prints one address label on a sheet of 3 x 10 labels of 1 x 2 5/8 inches (Avery 5160/8160): the user may edit
// the four lines and picks the label's row and column, so that a partly used sheet can be used up. It stays open
// for further labels until closed.
class frmPrintLabel : public QDialog {
    Q_OBJECT

public:
    // lines: the four label lines, each cut to 35 characters (see AddressLabelLines).
    explicit frmPrintLabel(const QStringList& lines, QWidget* parent = nullptr);

    QLabel* imgBackground; // holds the tile; the window's face shows it tiled
    QFrame* Shape1;
    QLabel* lblEditLines;
    std::array<QLineEdit*, 5> txtPrintLabel{}; // 1 to 4
    QLabel* lblOptional;
    QLabel* lblIndicate;
    std::array<QScrollBar*, 3> scroll{};  // 1 row, 2 column
    std::array<QLabel*, 3> lblPosition{}; // "Row N", "Col N"
    QWidget* picSheet;                    // the sheet with the chosen label marked
    QLabel* lblSheetNote;
    ZelButton* cmdPrintLabel;
    ZelButton* cmdCancel;
    FadeEngine* fadeEngine;
    QTimer* timerFadeInOut;

    bool Activated = false;

    int LabelRow() const;
    int LabelColumn() const;
    QStringList LabelLines() const;

    static QString DesignCaption(); // " Print a 1" x 2 5/8" Label"

public slots:
    void Form_Activate();
    void scroll_Change(int index);
    void txtPrintLabel_GotFocus(int index);
    void txtPrintLabel_LostFocus(int index);
    void cmdPrintLabel_Click();
    void cmdCancel_Click();
    void FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade);
    void timerFadeInOut_Timer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
};
