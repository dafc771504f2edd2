#pragma once

#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>

class FadeEngine;
class QLabel;
class QTimer;
class ZelButton;

// The title window: the program's name, description and version over a picture, and the Continue button
// that leads through the first-run overview, the screen check and the data-file check to the log-in.
class frmTitlePage : public QWidget {
    Q_OBJECT
public:
    explicit frmTitlePage(QWidget* parent = nullptr);

    QLabel* imgBackground;
    QLabel* imgEmblem;
    QLabel* labelAppTitle;
    QLabel* labelAppDescription;
    QLabel* labelVersion;
    QLabel* labelPublisher;
    QLabel* labelCopyright;
    ZelButton* cmdContinue;
    FadeEngine* fadeEngine;
    QTimer* timerFadeInOut;

    bool Activated = false;

    // Where Continue leads and how the program ends from here; tests replace them.
    std::function<void()> handOver;
    std::function<void()> endProgram;
    // The screen's size in pixels, as the screen check sees it.
    std::function<QSize()> screenPixels;

public slots:
    void Form_Load();
    void Form_Activate();
    void cmdContinue_Click();
    void timerFadeInOut_Timer();
    void FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade);

private:
    void closeAfterFade();
    QSize currentScreenPixels() const;
};

// The warning shown when the screen is narrower than 800 pixels.
QString ScreenResolutionText(int widthPixels, int heightPixels);
QString ScreenResolutionTitle();
