#pragma once

#include <QWidget>

class FadeEngine;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;
class QTimer;
class ZelButton;

// The gate of the program: pick a user, type the password and go on to the main window; an administrator who
// knows the access code maintains the user list, reviews the user log and sets the agency name here.
//
// Grid rows: the grid's fixed header row is the table's horizontal header, so grid row n (n >= 1, the data
// rows) is table row n - 1. GridRow()/SetGridRow() and TopRow() speak in grid rows.
class frmAdmin : public QWidget {
    Q_OBJECT

public:
    explicit frmAdmin(QWidget* parent = nullptr);

    enum GridColumn { ColUser = 0, ColLevel = 1, ColCreated = 2, ColNameSort = 3, ColRecNum = 4 };

    QLabel* imgBackground;
    QTableWidget* grid;
    QPlainTextEdit* txtUserLog;
    QLineEdit* txtPassword;
    ZelButton* cmdAdmin;
    ZelButton* cmdAddUser;
    ZelButton* cmdEditUser;
    ZelButton* cmdDeleteUser;
    ZelButton* cmdReviewUserLog;
    ZelButton* cmdReviewChangeLog;
    ZelButton* cmdUserSelected;
    ZelButton* cmdContinue;
    ZelButton* cmdCancel;
    ZelButton* cmdHelp;
    ZelButton* cmdQuit;
    ZelButton* cmdAgencyName;
    ZelButton* cmdBackupSettings;
    QFrame* shp;
    QCheckBox* chkPreviewPrintouts;
    QCheckBox* chkFadeStatus;
    QTimer* timerFlashButton;

    bool AdminMode = false;
    bool ViewingLog = false;
    bool Activated = false;
    // The window's tag: its caption while the user log covers the grid.
    QString Tag;

    // Flashing button colour levels.
    qint16 FlashFore = 0;
    qint16 FlashBack = 0;
    qint16 FlashStep = 0;

    FadeEngine* fade() const { return m_fade; }

    // Number of user rows (the header row not counted).
    int UserRowCount() const;
    // Current grid row (1 = first user), 0 when no user row is current.
    int GridRow() const;
    // Makes grid row n current with columns 0-2 selected, scrolled into view unless scroll is false.
    void SetGridRow(int row, bool scroll = true);
    // First grid row in view.
    int TopRow() const;
    void SetTopRow(int row);
    bool RowIsVisible(int row) const;
    QString GridText(int row, int column) const;
    // Record number of the highlighted user (column RecNum), 0 when none.
    qint32 SelectedRecNum() const;

public slots:
    void Form_Activate();
    void FillUserGrid();
    void UpdateAdminButtons();
    void cmdAdmin_Click();
    void cmdAddUser_Click();
    void cmdEditUser_Click();
    void cmdDeleteUser_Click();
    void cmdReviewUserLog_Click();
    void cmdReviewChangeLog_Click();
    void cmdUserSelected_Click();
    void txtPassword_Change();
    void cmdContinue_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    void cmdQuit_Click();
    void cmdAgencyName_Click();
    void cmdBackupSettings_Click();
    void chkFadeStatus_Click();
    void grid_DblClick();
    // Sets the grid's tooltip for the mouse at pos (viewport coordinates).
    void grid_MouseMove(const QPoint& pos);
    void timerFlashButton_Timer();
    void FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade);
    void timerFadeInOut_Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void BuildControls();
    void ShowAddEditDialog(ZelButton* button, const QString& mode);
    // First use on an installation: the administrator chooses the code. True when one was stored.
    bool ChooseAccessCode();
    bool AskForAccessCode();
    void ClosingAction();
    void CloseWindow();
    int Twips(int twips) const;

    FadeEngine* m_fade;
    bool m_closeAllowed = false;
    int m_logTop = 0;
};
