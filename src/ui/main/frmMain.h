#pragma once

#include "core/record/RecordIdentity.h"
#include "core/record/EntryValidation.h"
#include "core/list/ListOptions.h"

#include <QSet>
#include <QWidget>

#include <array>

class EmployeeGrid;
class EntryField;
struct LoadedPicture;
class FadeEngine;
class QAction;
class StoreConflict;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QTabWidget;
class ZelButton;

// The main window of a logged-in user: the employee list with the highlighted employee's record beneath it
// (tab 0), the list display options (tab 1), and outside the tabs the user, help, backup and restore, the way
// back to the administration window and Quit.
//
// The code is split by concern: frmMain.cpp (loading, tabs, commands of the window), frmMainLayout.cpp (the
// controls of the window, the list and the options), frmMainRecordLayout.cpp (the controls of the record form),
// frmMainOptions.cpp (list display options), frmMainList.cpp (building the list), frmMainRecord.cpp (showing a
// record, the e-mail command), frmMainEntry.cpp (add and edit mode of the record form and its entry events),
// frmMainSave.cpp (checking and saving an entry), frmMainRemove.cpp (removing an employee), frmMainPicture.cpp (the
// picture on the "Photo" page and the picture window frmLargePic). Control arrays are indexed as their names say;
// index 0 is unused.
class frmMain : public QWidget {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);

    // The window height (twips) on the list tab for a screen of the given height (twips).
    static int ListTabHeight(int screenHeightTwips);
    // Design sizes, twips.
    static constexpr int DesignWidth = 10455;
    static constexpr int DesignHeight = 9000;

    // Outside the tabs.
    QLabel* lblUserInfo;
    ZelButton* cmdHelp;
    ZelButton* cmdBackupRestore;
    ZelButton* cmdAdminWindow;
    ZelButton* cmdQuit;
    QMenu* menuBackupRestoremenu;
    // 1 backup, 2 restore, 3 separator, 4 exit the menu, 5 verify a backup (shown before the separator)
    std::array<QAction*, 6> menuBackupRestore{};
    QTabWidget* tabMain;
    // frame(1) list, frame(2) details, frame(4) to frame(9) the options; frame(3) is not used.
    std::array<QGroupBox*, 10> frame{};

    // The list (frame(1)).
    EmployeeGrid* grid;
    ZelButton* cmdAddEmployee;
    ZelButton* cmdPrintList;
    ZelButton* cmdPrintUpdateForms;
    ZelButton* cmdRemoveEmployee;
    ZelButton* cmdCheckData;
    ZelButton* cmdExportList;
    ZelButton* cmdImportEmployees;

    // The options (tab 1).
    QLabel* lblListDisplayHeading;
    std::array<QRadioButton*, 5> optTypeList{};
    QComboBox* comboListWith;
    std::array<QRadioButton*, 3> optEmpStatus{};
    std::array<QRadioButton*, 4> optEmpSworn{};
    std::array<QRadioButton*, 7> optRace{};
    std::array<QRadioButton*, 4> optSex{};
    std::array<QLabel*, 5> lbl{};
    QComboBox* comboMonth;
    QComboBox* comboYear;
    QComboBox* comboAgeGroup;
    QLineEdit* txtOther;
    QCheckBox* chkSearchNotepad;

    // The record form (frame(2)).
    QTabWidget* tabNameInfo;
    std::array<EntryField*, 23> txtField{};
    std::array<QLabel*, 23> lblField{};
    std::array<QLabel*, 3> lblDataInfo{};
    QLabel* lblYearsDOB;
    QLabel* lblYearsDOE;
    QLabel* lblYearsDOT;
    QLabel* lblYearsDOI;
    QGroupBox* frameEmergency;
    QGroupBox* frameStatus;
    QGroupBox* frameSworn;
    std::array<QRadioButton*, 3> optStatus{};
    std::array<QRadioButton*, 3> optSworn{};
    QLabel* lblSpaceFull;
    QLabel* imgPicture;
    QLabel* lblPicture;
    std::array<ZelButton*, 3> cmdPicAddEdit{};
    ZelButton* cmdPicPrint;
    ZelButton* cmdPicDelete;
    ZelButton* cmdPrintLabel;
    ZelButton* cmdEmail;
    ZelButton* cmdEditEntry;
    ZelButton* cmdPrintEntry;
    ZelButton* cmdAddEditSave;
    ZelButton* cmdAddEditCancel;

    // Form state, reset when the window is loaded.
    bool WasActivated = false;
    bool Adding = false;
    bool Editing = false;
    bool WasSworn = false;
    qint16 PreviousStatus = 0;
    qint32 KeepRow = 0;
    qint32 KeepTopRow = 0;
    qint32 NewRecordNumber = 0;
    bool EmptyListHelpShown = false;

    FadeEngine* fade() const { return m_fade; }
    // The options as the controls now hold them.
    ListOptions ReadListOptions() const;
    // The slot number of the highlighted row (column 3), 0 when no row is highlighted.
    qint32 HighlightedSlot() const;
    // The picture path held for the form (the picture's tool tip), empty for no picture.
    QString HeldPicturePath() const;

    // Removal and picture messages.
    static QString RemoveQuestion(const QString& listedName);
    static QString RemoveRefusedText(const QString& listedName);
    // The refusal of a save (an edit or a picture change) whose slot no longer holds the employee shown.
    static QString NotSavedText(const QString& listedName, bool editing);
    static QString MissingPictureText(const QString& path);
    static QString PictureDeleteQuestion();
    static QString FileAccessErrorText();
    // The heading of the picture window: the employee as listed, or while adding the name being entered.
    QString PictureHeading() const;
    // Tags of controls without a Tag of their own (the saved design sizes), as text.
    static QString Tag(const QObject* control);
    static void SetTag(QObject* control, const QString& text);

public slots:
    // Shell and tabs (frmMain.cpp).
    void Form_Activate();
    void FitWindowToTab();
    void tabMain_Click(int previousTab);
    void cmdHelp_Click();
    // True when the key was handled (F1).
    bool Form_KeyDown(int keyCode, Qt::KeyboardModifiers shift);
    void cmdBackupRestore_Click();
    void menuBackupRestore_Click(int index);
    void cmdAdminWindow_Click();
    void cmdQuit_Click();
    void FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade);
    void timerFadeInOut_Timer();

    // Options (frmMainOptions.cpp).
    void RefreshListOptions();
    void optTypeList_Click(int index);
    void txtOther_Change();

    // List (frmMainList.cpp).
    void ShowEmployeeList();
    void BuildEmployeeList();
    void grid_RowColChange();
    void cmdAddEmployee_Click();
    void cmdPrintList_Click();
    void cmdPrintUpdateForms_Click();
    // The data-quality check (frmMainCheck.cpp).
    void cmdCheckData_Click();
    // Shows the record of slot, bringing it into the list first when the options hide it.
    void ShowCheckedEmployee(qint32 slot, bool previous);
    // Spreadsheets in and out (frmMainExchange.cpp).
    void cmdExportList_Click();
    void cmdImportEmployees_Click();

    // Record form (frmMainRecord.cpp).
    void ShowEmployeeRecord();
    void tabNameInfo_Click(int previousPage);
    void txtField_MouseMove(int index);
    void cmdEditEntry_Click();
    void cmdPrintEntry_Click();
    void cmdPrintLabel_Click();

    // Removing an employee (frmMainRemove.cpp), the picture (frmMainPicture.cpp) and e-mail (frmMainRecord.cpp).
    void cmdRemoveEmployee_Click();
    void cmdPicAddEdit_Click(int index);
    void cmdPicPrint_Click();
    void cmdPicDelete_Click();
    void cmdEmail_Click();

    // Adding and editing an employee (frmMainEntry.cpp, frmMainSave.cpp). cmdAddEmployee_Click and
    // cmdEditEntry_Click live in frmMainEntry.cpp as well.
    void BeginRecordEntry();
    void UpdateSaveButton();
    void cmdAddEditCancel_Click();
    void cmdAddEditSave_Click();
    // True when the entry may be saved; rewrites the fields it checks (capitals, blanks).
    bool ValidateEntry();
    void txtField_GotFocus(int index);
    void txtField_LostFocus(int index);
    void txtField_Change(int index);
    void optSworn_Click(int index);
    void optStatus_Click(int index);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // During an entry, Tab from the last field of a page goes on to the next page (frmMainEntry.cpp).
    bool focusNextPrevChild(bool next) override;

private:
    void Form_Load();
    void BuildControls();
    void BuildListFrame(QWidget* page);
    void BuildOptionsTab(QWidget* page);
    void BuildRecordForm(QWidget* page);
    void BuildRecordPages();
    void ConnectControls();
    void ClosingAction();
    // Closes the window for good, past the quit question that a close from the title bar gets.
    void CloseWindow();
    // Shows the record's picture (or none) on the "Photo" page; a picture that cannot be loaded is reported once
    // per run and path, and the record keeps its reference to it.
    void ShowRecordPicture(const QString& path);
    // The picture frame emptied, hidden, at its design size, with no held path.
    void ClearPicture();
    // The picture fitted into the frame and shown, path held.
    void ShowPicture(const LoadedPicture& picture, const QString& path);
    // The picture buttons and the placeholder for a record with or without a picture.
    void ShowPictureButtons(bool stored);
    // The longest side, in pixels, a picture for the "Photo" page is read at.
    int FormPictureSide() const;
    // Where the file dialog for a picture opens.
    QString PictureStartFolder() const;
    int Twips(int twips) const;
    int ToTwips(int pixels) const;
    // Screen height in twips.
    int ScreenHeight() const;

    FadeEngine* m_fade;
    bool m_closeAllowed = false;
    // The employee the record form shows, as read from the file: what a write back into the slot checks.
    RecordIdentity m_shownIdentity;
    // Its version as the store gave it: what a save or removal of it hands back, so that a store shared with other
    // desks can tell that somebody changed it since.
    qint64 m_shownVersion = 0;
    // A save or removal refused because another desk changed or removed the employee: says so in the store's own
    // words under title, then shows the employee as stored now (the list built again), leaving any edit.
    void ShowConflict(const StoreConflict& conflict, const QString& title);
    // Whether the highlighted slot, read into CurrentRecord from the open data file, still holds the employee shown;
    // if not, closes the file, says so and rebuilds the list, keeping the form (and any entry) as it is.
    bool CheckShownEmployee();
    // Stores path as the picture of the employee shown, at once; modified stamps the record as changed now. False
    // when the slot no longer holds that employee (nothing written, the refusal shown).
    bool StorePicturePath(const QString& path, bool modified);
    // Picture paths already reported as unreadable.
    QSet<QString> m_missingPictures;
    bool m_activating = false;
    // The first activation's fade-in already ran, to show the window under a message.
    bool m_fadedIn = false;
    int m_shownTab = 0;

    // Adding and editing an employee (frmMainEntry.cpp, frmMainSave.cpp).
    void ConnectEntryControls();
    // Runs a fade of the window when fading is on and waits until it has finished.
    void FadeAndWait(quint8 fadeFrom, quint8 fadeTo);
    // The entry as the fields hold it.
    EntryFields ReadEntryFields() const;
    void ShowNotepadGauge();
    // The list display options an add leaves, so that the new employee is in the list that follows.
    void ResetListOptionsAfterAdd();
    // Asks for the date a current employee left until a date or nothing is given.
    void AskInactivationDate(SaveChoices& choices);
    // Where the window, the tab control and the details frame were (pixels) before add mode shortened the window.
    struct AddLayout {
        int windowTop = 0;
        int windowHeight = 0;
        int tabHeight = 0;
        int detailsTop = 0;
    } m_beforeAdd;
    // Where the first caption sits while a record is viewed; during an entry it rises into the free line above.
    QRect m_firstCaptionPlace;
};
