#pragma once

#include <QDialog>

class FadeEngine;
class QCheckBox;
class QFrame;
class QLabel;
class QScrollArea;
class QTimer;
class ZelButton;

// The first-run overview: a short introduction shown before the first log-in until the user asks not to see
// it again.
class frmNewUser : public QDialog {
    Q_OBJECT
public:
    explicit frmNewUser(QWidget* parent = nullptr);

    QLabel* imgBackground; // holds the tile; the window's face shows it tiled
    QFrame* Shape1;
    QLabel* lblHeading;
    QScrollArea* scrollText;
    QLabel* lbl;
    QCheckBox* chk;
    ZelButton* cmdContinue;
    FadeEngine* fadeEngine;
    QTimer* timerFadeInOut;

    bool Activated = false;

    // The caption the window was designed with; the running caption is built from it.
    static QString DesignCaption() { return QStringLiteral("New User Overview"); }

public slots:
    void Form_Load();
    void Form_Activate();
    void cmdContinue_Click();
    void timerFadeInOut_Timer();
    void FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade);
};
