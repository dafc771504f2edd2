// The employee's picture on the "Photo" page: showing it with the record, choosing, viewing and printing, and
// deleting it.

#include "ui/main/frmMain.h"

#include "core/base/AppGlobals.h"
#include "core/base/DateRules.h"
#include "core/base/Trim.h"
#include "core/employees/EmployeeChanges.h"
#include "core/history/RecordHistory.h"
#include "core/print/PrintHelpers.h"
#include "core/record/PictureFile.h"
#include "core/record/RecordView.h"
#include "core/store/DataFile.h"
#include "core/store/ListScan.h"
#include "core/store/PersonnelStore.h"
#include "ui/common/Dialogs.h"
#include "ui/controls/Accessibility.h"
#include "ui/controls/ZelButton.h"
#include "ui/history/HistoryRefusal.h"
#include "ui/main/EmployeeGrid.h"
#include "ui/main/EntryField.h"
#include "ui/main/frmLargePic.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>

bool frmMain::StorePicturePath(const QString& path, bool modified) {
    OpenDataFile();
    const qint32 slot = HighlightedSlot();
    if (slot >= 1)
        ReadSlot(slot);
    // The slot may hold somebody else by now, or be gone (another program changed the file): nothing is written
    // then, for that would give the picture to the wrong employee or add a record holding nothing but a picture.
    if (!CheckShownEmployee())
        return false;
    const PersonnelRecord before = CurrentRecord;
    CurrentRecord.PicturePath = path;
    if (modified)
        CurrentRecord.LastModified = NowOADate();
    // With its line in the change history, or not at all (the reason is then shown).
    const QString event = path.isEmpty() ? HistoryEvent::PictureDeleted : HistoryEvent::PictureStored;
    CurrentVersion = m_shownVersion;
    try {
        if (!ChangeOrExplain(this, [&] { WriteSlotWithHistory(slot, before, event); }))
            return false;
    } catch (const StoreConflict& conflict) {
        ShowConflict(conflict, QStringLiteral("Employee Not Saved"));
        return false;
    }
    CloseDataFile();
    // The picture's write is the version the form now shows.
    ReadOneSlot(slot);
    m_shownVersion = CurrentVersion;
    return true;
}

QString frmMain::MissingPictureText(const QString& path) {
    return QStringLiteral("Can't find the picture file\r\nat the indicated location--\r\n\r\n(") + path +
           QLatin1Char(')');
}

QString frmMain::PictureDeleteQuestion() {
    return QStringLiteral("Are you SURE that you want\r\nto delete this picture?");
}

QString frmMain::FileAccessErrorText() {
    return QStringLiteral("There is some kind of problem\r\nin trying to access that picture file...");
}

int frmMain::FormPictureSide() const {
    // Twice what the frame shows, at most: a large photograph is read small, so that moving through the list with
    // the arrow keys stays quick.
    return static_cast<int>(2 * Twips(PictureFrameWidth) * std::max(1.0, devicePixelRatioF()));
}

void frmMain::ClearPicture() {
    imgPicture->hide();
    imgPicture->clear();
    imgPicture->resize(Twips(PictureFrameWidth), Twips(PictureFrameHeight));
    imgPicture->setToolTip(QString());
    DescribePhotograph(imgPicture, QString());
}

void frmMain::ShowPicture(const LoadedPicture& picture, const QString& path) {
    imgPicture->hide();
    const QSize natural = NaturalTwips(picture.NaturalSize, std::max(1, logicalDpiX()));
    const QSize fitted = FitPicture(natural, QSize(PictureFrameWidth, PictureFrameHeight));
    imgPicture->resize(Twips(fitted.width()), Twips(fitted.height()));
    imgPicture->setPixmap(QPixmap::fromImage(picture.Image));
    imgPicture->setToolTip(path);
    DescribePhotograph(imgPicture, PictureHeading());
    imgPicture->show();
}

void frmMain::ShowPictureButtons(bool stored) {
    lblPicture->setVisible(!stored);
    cmdPicAddEdit[1]->setVisible(!stored);
    cmdPicAddEdit[2]->setVisible(stored);
    cmdPicPrint->setVisible(stored);
    cmdPicDelete->setVisible(stored);
}

void frmMain::ShowRecordPicture(const QString& path) {
    ClearPicture();
    if (path.isEmpty()) {
        imgPicture->show();
        return;
    }
    const LoadedPicture picture = LoadPictureFile(path, FormPictureSide());
    if (picture.IsNull()) {
        // Showing a record never writes it: a share that is out of reach for a moment must not cost the record
        // its reference, and a Read Only user may only look. The path stays held, so that a save keeps it too;
        // the clerk is told once per run and path, not at every pass of the arrow keys.
        if (!m_missingPictures.contains(path)) {
            m_missingPictures.insert(path);
            dialogs().MessageBox(this, MissingPictureText(path), QStringLiteral("Error loading picture"),
                                 MsgIcon::Critical, MsgButtons::OK);
        }
        imgPicture->setToolTip(path);
        imgPicture->show();
        return;
    }
    ShowPicture(picture, path);
}

QString frmMain::HeldPicturePath() const {
    return imgPicture->toolTip();
}

QString frmMain::PictureStartFolder() const {
    // Where the picture shown now lies, else where the user keeps pictures; never the data folder.
    const QString held = HeldPicturePath();
    if (!held.isEmpty() && QFileInfo(held).absoluteDir().exists())
        return QFileInfo(held).absolutePath();
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QDir(pictures).exists() ? pictures : QDir::homePath();
}

void frmMain::cmdPicAddEdit_Click(int) {
    const bool hadPicture = !HeldPicturePath().isEmpty();
    lblPicture->hide();
    const QString chosen =
        dialogs().OpenFile(this, QStringLiteral("Choose a Picture"), PictureStartFolder(), QString());
    if (chosen.isEmpty()) {
        lblPicture->setVisible(!hadPicture);
        return;
    }
    const QString path = QDir::cleanPath(QFileInfo(chosen).absoluteFilePath());

    // A path the record cannot hold as it is would name another file at the next showing.
    if (CheckPicturePath(path) != PicturePathProblem::None) {
        dialogs().MessageBox(this, PicturePathRefusalText(path), PicturePathRefusalTitle(path), MsgIcon::Critical,
                             MsgButtons::OK);
        lblPicture->setVisible(!hadPicture);
        return;
    }
    // An unreadable choice changes nothing: the picture held before (which a save writes back) stays on show.
    LoadedPicture picture;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        picture = LoadPictureFile(path, FormPictureSide());
        QApplication::restoreOverrideCursor();
    }
    if (picture.IsNull()) {
        dialogs().MessageBox(this, FileAccessErrorText(), QStringLiteral("File Access Error"), MsgIcon::None,
                             MsgButtons::OK);
        lblPicture->setVisible(!hadPicture);
        return;
    }
    if (picture.Partial &&
        dialogs().MessageBox(this, PicturePartialText(), QStringLiteral("Picture Incomplete"), MsgIcon::Exclamation,
                             MsgButtons::YesNo, MsgResult::No) != MsgResult::Yes) {
        lblPicture->setVisible(!hadPicture);
        return;
    }

    if (Adding) {
        CurrentRecord.PicturePath = path;
    } else {
        if (!StorePicturePath(path, true)) {
            lblPicture->setVisible(!hadPicture);
            return;
        }
        // The stamp on the "Basic Info" page tells the truth at once.
        const RecordView view = ViewRecord(CurrentRecord, QDate::currentDate());
        lblDataInfo[2]->setText(view.Modified);
        lblDataInfo[2]->show();
    }
    ShowPicture(picture, path);
    ShowPictureButtons(true);
    // The button pressed is gone; the keyboard goes on from its stand-in.
    if (cmdPicAddEdit[2]->isEnabled())
        cmdPicAddEdit[2]->setFocus();
}

void frmMain::cmdPicDelete_Click() {
    QCoreApplication::processEvents();
    if (Adding) {
        CurrentRecord.PicturePath.clear();
    } else if (dialogs().MessageBox(this, PictureDeleteQuestion(), QStringLiteral("Confirm Picture Delete"),
                                    MsgIcon::Question, MsgButtons::YesNo, MsgResult::No) == MsgResult::Yes) {
        if (!StorePicturePath(QString(), false))
            return;
    } else {
        return;
    }
    if (!TrimBlanks(CurrentRecord.PicturePath).isEmpty())
        return;
    imgPicture->hide();
    QCoreApplication::processEvents();
    ClearPicture();
    imgPicture->show();
    ShowPictureButtons(false);
    if (cmdPicAddEdit[1]->isEnabled())
        cmdPicAddEdit[1]->setFocus();
}

QString frmMain::PictureHeading() const {
    // While adding, the highlighted row is somebody else: the picture is headed by the name being entered.
    if (Adding) {
        const QString last = TrimBlanks(txtField[3]->text());
        const QString first = TrimBlanks(txtField[1]->text());
        return last.isEmpty() && first.isEmpty() ? QString() : last + QStringLiteral(", ") + first;
    }
    return grid->TextMatrix(grid->Row(), 0);
}

void frmMain::cmdPicPrint_Click() {
    frmLargePic window(this);
    const QString path = TrimBlanks(HeldPicturePath());
    if (!window.LoadPicture(path)) {
        // The window does not open, so a print-on-open request must not wait for the next one.
        PrintPictureOnOpen = false;
        dialogs().MessageBox(this, MissingPictureText(path), QStringLiteral("Error loading picture"), MsgIcon::Critical,
                             MsgButtons::OK);
        return;
    }
    window.lblPicHeading->setText(PictureHeading());
    if (FadeOn)
        FadeWindow(255, 204, 2, false);
    window.exec();
    if (FadeOn)
        FadeWindow(204, 255, 2, false);
}
