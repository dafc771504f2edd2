#pragma once

#include <QDialog>
#include <QString>
#include <array>

class FadeEngine;
class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTimer;
class ZelButton;

// The built-in manual: one help topic at a time under its heading, other topics from a pop-up menu, and the
// About box. Callers set HelpTopicIndex to the menu index of the first topic and show the window with exec().
class frmManual : public QDialog {
    Q_OBJECT

public:
    explicit frmManual(QWidget* parent = nullptr);

    // Menu indexes of the fixed entries of the topic menu.
    static constexpr int AboutIndex = 9;
    static constexpr int ExitIndex = 11;

    QLabel* labelHelpTopic;
    QPlainTextEdit* txtManual;
    ZelButton* cmdHelpTopic;
    ZelButton* cmdPrintHelp;
    ZelButton* cmdReturn;
    QMenu* menuHelpMenu;
    // Index 0 unused; separators included so that indexes match the menu's order.
    std::array<QAction*, ExitIndex + 1> menuHelpTopic{};
    QTimer* timerFadeInOut;

    // Menu index of the topic on show, 0 before the first.
    int CurrentTopic = 0;
    QString AboutText;
    bool WasActivated = false;

    FadeEngine* fade() const { return m_fade; }

public slots:
    void Form_Activate();
    void menuHelpTopic_Click(int index);
    void cmdHelpTopic_Click();
    void cmdPrintHelp_Click();
    void cmdReturn_Click();
    void FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade);
    void timerFadeInOut_Timer();

signals:
    // The topic menu is about to pop up with its top-left corner at globalPos.
    void helpMenuPopping(const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void BuildLayout();
    void BuildMenu();

    FadeEngine* m_fade;
};
