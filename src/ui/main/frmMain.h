#pragma once

#include <QWidget>

class FadeEngine;
class QLabel;
class ZelButton;

// The main window of a logged-in user. This build shows who is logged in and offers the way back to the
// administration window, help and quitting; the employee list and record form take the empty space later.
class frmMain : public QWidget {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);

    QLabel* lblUserInfo;
    QLabel* lblNote;
    ZelButton* cmdHelp;
    ZelButton* cmdAdminWindow;
    ZelButton* cmdQuit;

    bool WasActivated = false;

    FadeEngine* fade() const { return m_fade; }

    // The caption for the configured agency; without one the caption names the program's purpose instead.
    static QString MainCaption();

public slots:
    void Form_Activate();
    void cmdHelp_Click();
    void cmdAdminWindow_Click();
    void cmdQuit_Click();
    void FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade);
    void timerFadeInOut_Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void ClosingAction();
    // Closes the window for good, past the quit question that a close from the title bar gets.
    void CloseWindow();

    FadeEngine* m_fade;
    bool m_closeAllowed = false;
};
