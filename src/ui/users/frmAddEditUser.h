#pragma once

#include <QDialog>
#include <array>

class FadeEngine;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class ZelButton;
class frmAdmin;

// Adds a user or shows one for viewing and changing. The caller names the mode in Tag ("Add a User" or
// "View/Edit this User") before exec(); a save sets the Tag of the administration window's cmdAddUser or
// cmdEditUser to "Update" and leaves the saved record in the shared user record buffer.
class frmAddEditUser : public QDialog {
    Q_OBJECT

public:
    // admin supplies the record number to edit (its grid's highlighted RecNum) and takes the save report; without
    // one, RecordNumber must be set before an edit.
    explicit frmAddEditUser(frmAdmin* admin = nullptr);

    static constexpr int CommentsLength = 439;

    // Index 0 unused. 1 first name, 2 last name, 3 password (QLineEdit); 4 comments (QPlainTextEdit).
    QLabel* imgBackground;
    std::array<QWidget*, 5> txtField{};
    std::array<QLabel*, 5> lblField{};
    std::array<QRadioButton*, 5> optAccessLevel{};
    QLabel* lblAccessLevel;
    QLabel* lblMandatory;
    QLabel* lblDateCreated;
    QLabel* lblSpaceFull;
    ZelButton* cmdSave;
    ZelButton* cmdCancel;

    QString Tag;
    qint32 RecordNumber = 0;
    qint16 SelectedLevel = 1;
    bool Activated = false;

    bool Editing() const;
    QString FieldText(int index) const;
    void SetFieldText(int index, const QString& text);
    QLineEdit* lineField(int index) const;
    QPlainTextEdit* commentsField() const;
    // The colour of a box's face.
    QColor FieldFace(int index) const;

    FadeEngine* fade() const { return m_fade; }

    // " ###% full " for comments of the given length.
    static QString SpaceFullCaption(int length);

public slots:
    void Form_Activate();
    void txtField_GotFocus(int index);
    void txtField_LostFocus(int index);
    void txtField_Change(int index);
    void optAccessLevel_Click(int index);
    void cmdSave_Click();
    void cmdCancel_Click();
    void FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade);
    void timerFadeInOut_Timer();

    // Esc and the window's close box leave as cmdCancel does, fade included.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void BuildControls();
    void EntryChanged();
    // Closes the dialog at once; the end of cmdCancel's way out.
    void Leave();
    void SetFieldFace(int index, const QColor& colour);
    int Twips(int twips) const;

    frmAdmin* m_admin;
    FadeEngine* m_fade;
    bool m_leaving = false;
};
