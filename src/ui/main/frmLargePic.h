#pragma once

#include <QDialog>
#include <QImage>

class FadeEngine;
class QLabel;
class QTimer;
class ZelButton;

// The picture window: an employee's picture large, under the employee's name, with a button that prints it. The
// main window creates it anew for each showing, loads the picture and sets the heading, and shows it modally.
// With PrintPictureOnOpen set (by the information report) it prints the picture and closes by itself.
class frmLargePic : public QDialog {
    Q_OBJECT

public:
    explicit frmLargePic(QWidget* parent = nullptr);

    // Design sizes, twips: the window and the frame a picture is fitted into.
    static constexpr int DesignWidth = 8505;
    static constexpr int DesignHeight = 7530;
    static constexpr int PictureWidth = 8000;
    static constexpr int PictureHeight = 6000;
    static QString InitialCaption(); // "Picture: "

    QLabel* lblPicHeading;
    QLabel* imgPicture;
    ZelButton* cmdPrintPic;
    ZelButton* cmdReturn;
    QTimer* timerFadeInOut;

    bool WasActivated = false;

    // Loads the picture file into imgPicture fitted into 8000 x 6000 twips and keeps the trimmed path as the
    // image's held path (its tool tip). False, with nothing shown, when the file cannot be read as a picture.
    bool LoadPicture(const QString& path);
    QString HeldPicturePath() const;
    // The picture as read, which is what prints.
    const QImage& Picture() const { return m_picture; }
    FadeEngine* fade() const { return m_fade; }

public slots:
    void Form_Activate();
    void cmdPrintPic_Click();
    void cmdReturn_Click();
    void FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade);
    void timerFadeInOut_Timer();

private:
    void Form_Load();
    int Twips(int twips) const;

    QImage m_picture;
    FadeEngine* m_fade;
};
