#include "ui/print/frmPrintLabel.h"

#include "core/base/AppGlobals.h"
#include "ui/common/FadeEngine.h"
#include "ui/common/FirstActivation.h"
#include "ui/common/TileBackground.h"
#include "ui/common/WindowGeometry.h"
#include "ui/controls/Accessibility.h"
#include "ui/controls/ZelButton.h"
#include "ui/print/PrintJob.h"
#include "core/print/Printouts.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QShowEvent>

namespace {

// A small drawing of the label sheet with the label that will print filled in.
class LabelSheet : public QWidget {
public:
    explicit LabelSheet(const frmPrintLabel* dialog, QWidget* parent) : QWidget(parent), m_dialog(dialog) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF sheet = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QColor(120, 110, 90));
        painter.setBrush(Qt::white);
        painter.drawRect(sheet);
        // Letter paper, 8.5 x 11 inches; labels 2 5/8 x 1 from 3/16 inch and 1/2 inch in, 1/8 inch apart.
        const double sx = sheet.width() / 8.5;
        const double sy = sheet.height() / 11.0;
        for (int row = 1; row <= LabelRows; ++row) {
            for (int column = 1; column <= LabelColumns; ++column) {
                const QRectF label(sheet.left() + (0.1875 + 2.75 * (column - 1)) * sx,
                                   sheet.top() + (0.5 + (row - 1)) * sy, 2.625 * sx, 1.0 * sy);
                const bool chosen = row == m_dialog->LabelRow() && column == m_dialog->LabelColumn();
                painter.setPen(chosen ? QColor(30, 58, 108) : QColor(190, 190, 190));
                painter.setBrush(chosen ? QColor(30, 58, 108) : QColor(248, 248, 248));
                painter.drawRoundedRect(label.adjusted(1, 1, -1, -1), 2, 2);
            }
        }
    }

private:
    const frmPrintLabel* m_dialog;
};

void SetBackground(QLineEdit* edit, const QColor& colour) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colour);
    // Yellow and cyan are light under any theme: the text on them is dark.
    palette.setColor(QPalette::Text, Qt::black);
    edit->setPalette(palette);
}

} // namespace

QString frmPrintLabel::DesignCaption() {
    return QStringLiteral(" Print a 1\" x 2 5/8\" Label");
}

frmPrintLabel::frmPrintLabel(const QStringList& lines, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPrintLabel"));
    CallOnActivation(this, [this] { Form_Activate(); });
    setModal(true);

    imgBackground = new QLabel(this);
    imgBackground->setObjectName(QStringLiteral("imgBackground"));
    imgBackground->setPixmap(BackgroundTile());
    imgBackground->hide();

    Shape1 = NewLinenPanel(this);

    const auto label = [this](const QString& name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->setTextFormat(Qt::PlainText);
        return l;
    };
    lblEditLines = label(QStringLiteral("lblEditLines"), QStringLiteral("You can edit the lines below if you wish..."));
    lblOptional = label(QStringLiteral("lblOptional"), QStringLiteral("optional line (example-- attn: or re:)"));
    lblOptional->setWordWrap(true);
    // The design's "row && column" shows a single ampersand.
    lblIndicate =
        label(QStringLiteral("lblIndicate"), QStringLiteral("Indicate which 'row & column' label to print..."));
    lblSheetNote = label(QStringLiteral("lblSheetNote"),
                         QStringLiteral("This feature assumes an Avery 5160/8160 (or equivalent) sheet of 1x2 5/8 inch "
                                        "address labels, 3 across and 10 down."));
    lblSheetNote->setWordWrap(true);
    QFont small = lblSheetNote->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    lblSheetNote->setFont(small);
    lblOptional->setFont(small);

    for (int i = 1; i <= 4; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("txtPrintLabel_") + QString::number(i));
        edit->setMaxLength(LabelLineLength);
        edit->setText(lines.value(i - 1).left(LabelLineLength));
        edit->installEventFilter(this);
        txtPrintLabel[static_cast<size_t>(i)] = edit;
    }

    const int maxima[] = {0, LabelRows, LabelColumns};
    const QString captions[] = {QString(), QStringLiteral("Row 1"), QStringLiteral("Col 1")};
    for (int i = 1; i <= 2; ++i) {
        auto* bar = new QScrollBar(Qt::Horizontal, this);
        bar->setObjectName(QStringLiteral("scroll_") + QString::number(i));
        bar->setRange(1, maxima[i]);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        bar->setValue(1);
        // Reachable with Tab and moved with the arrow keys, like the text lines.
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->installEventFilter(this);
        connect(bar, &QScrollBar::valueChanged, this, [this, i] { scroll_Change(i); });
        scroll[static_cast<size_t>(i)] = bar;
        lblPosition[static_cast<size_t>(i)] = label(QStringLiteral("lblPosition_") + QString::number(i), captions[i]);
    }

    picSheet = new LabelSheet(this, this);
    picSheet->setObjectName(QStringLiteral("picSheet"));

    cmdPrintLabel = new ZelButton(this);
    cmdPrintLabel->setObjectName(QStringLiteral("cmdPrintLabel"));
    cmdPrintLabel->setDefault(true);
    cmdCancel = new ZelButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setCancel(true);
    // Rounded on the tiled background, as on the overview window, which has the same panel.
    cmdPrintLabel->setButtonType(3);
    cmdCancel->setButtonType(3);
    connect(cmdPrintLabel, &ZelButton::clicked, this, &frmPrintLabel::cmdPrintLabel_Click);
    connect(cmdCancel, &ZelButton::clicked, this, &frmPrintLabel::cmdCancel_Click);

    setTabOrder(txtPrintLabel[1], txtPrintLabel[2]);
    setTabOrder(txtPrintLabel[2], txtPrintLabel[3]);
    setTabOrder(txtPrintLabel[3], txtPrintLabel[4]);
    setTabOrder(txtPrintLabel[4], scroll[1]);
    setTabOrder(scroll[1], scroll[2]);
    setTabOrder(scroll[2], cmdPrintLabel);
    setTabOrder(cmdPrintLabel, cmdCancel);
    for (int i = 1; i <= 4; ++i)
        SetAccessibleName(txtPrintLabel[static_cast<size_t>(i)], QStringLiteral("Label line %1").arg(i));
    SetAccessibleDescription(txtPrintLabel[4], lblOptional->text());
    SetAccessibleName(scroll[1], QStringLiteral("Label row"));
    SetAccessibleName(scroll[2], QStringLiteral("Label column"));
    PressOnKeys(this, QKeySequence(Qt::CTRL | Qt::Key_P), [this] { return cmdPrintLabel; });

    fadeEngine = new FadeEngine(this, [this] { close(); });
    timerFadeInOut = fadeEngine->timerFadeInOut;

    Form_Load();
}

void frmPrintLabel::Form_Load() {
    FadeOn = PrepareFade(this, 0, false);
    const auto px = [this](int twips) { return TwipsToPixels(twips, this); };
    setFixedSize(px(6510), px(5265));
    setWindowTitle(DesignCaption());
    TileBackground(imgBackground->pixmap(), this);

    Shape1->setGeometry(px(180), px(150), width() - 2 * px(180), px(4080));
    lblEditLines->setGeometry(px(360), px(270), px(4000), px(300));
    for (int i = 1; i <= 4; ++i)
        txtPrintLabel[static_cast<size_t>(i)]->setGeometry(px(360), px(600) + (i - 1) * px(420), px(3700), px(345));
    lblOptional->setGeometry(px(4180), px(600) + 3 * px(420) - px(60), px(2000), px(460));
    lblIndicate->setGeometry(px(360), px(2400), px(4800), px(300));
    for (int i = 1; i <= 2; ++i) {
        const int top = px(2760) + (i - 1) * px(420);
        scroll[static_cast<size_t>(i)]->setGeometry(px(360), top, px(2600), px(300));
        lblPosition[static_cast<size_t>(i)]->setGeometry(px(3100), top, px(900), px(300));
    }
    lblSheetNote->setGeometry(px(360), px(3600), px(3700), px(560));
    picSheet->setGeometry(px(4850), px(2700), px(1150), px(1480));
    cmdPrintLabel->setGeometry(px(360), px(4410), px(1800), px(660));
    cmdCancel->setGeometry(width() - px(360) - px(1800), px(4410), px(1800), px(660));
}

void frmPrintLabel::Form_Activate() {
    if (Activated)
        return;
    Activated = true;
    cmdPrintLabel->setCaption(QStringLiteral("&Print\r\n<Enter>"));
    cmdPrintLabel->setToolTip(QStringLiteral(" Place an Avery 5160 label sheet (or equivalent) in the printer "));
    cmdCancel->setCaption(QStringLiteral("&Return\r\n<Esc>"));
    if (FadeOn)
        FadeWindow(0, 255, 20, false);
}

int frmPrintLabel::LabelRow() const {
    return scroll[1]->value();
}

int frmPrintLabel::LabelColumn() const {
    return scroll[2]->value();
}

QStringList frmPrintLabel::LabelLines() const {
    QStringList lines;
    for (int i = 1; i <= 4; ++i)
        lines << txtPrintLabel[static_cast<size_t>(i)]->text();
    return lines;
}

void frmPrintLabel::scroll_Change(int index) {
    QLabel* position = lblPosition[static_cast<size_t>(index)];
    position->setText(position->text().left(4) + QString::number(scroll[static_cast<size_t>(index)]->value()));
    picSheet->update();
}

bool frmPrintLabel::eventFilter(QObject* watched, QEvent* event) {
    // Qt's scroll bar leaves the arrow keys alone; here they step the row and column.
    if (event->type() == QEvent::KeyPress && (watched == scroll[1] || watched == scroll[2])) {
        auto* bar = static_cast<QScrollBar*>(watched);
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
            return true;
        case Qt::Key_Right:
        case Qt::Key_Up:
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            return true;
        default:
            break;
        }
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        for (int i = 1; i <= 4; ++i) {
            if (watched != txtPrintLabel[static_cast<size_t>(i)])
                continue;
            if (event->type() == QEvent::FocusIn)
                txtPrintLabel_GotFocus(i);
            else
                txtPrintLabel_LostFocus(i);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmPrintLabel::txtPrintLabel_GotFocus(int index) {
    SetBackground(txtPrintLabel[static_cast<size_t>(index)], QColor(255, 255, 0));
}

void frmPrintLabel::txtPrintLabel_LostFocus(int index) {
    SetBackground(txtPrintLabel[static_cast<size_t>(index)], QColor(0, 255, 255));
}

void frmPrintLabel::cmdPrintLabel_Click() {
    QWidget* focus = focusWidget();
    PrintJob job(this, QStringLiteral("Address Label"));
    {
        const BusyWindow busy(this);
        PrintAddressLabel(job.printer(), LabelLines(), LabelRow(), LabelColumn());
    }
    if (focus)
        focus->setFocus();
    cmdPrintLabel->setCaption(QStringLiteral("&Print\r\nAgain"));
    cmdCancel->setCaption(QStringLiteral("&Finished\r\n<Esc>"));
    cmdCancel->setToolTip(QStringLiteral(" No more printing "));
    job.finish();
}

void frmPrintLabel::cmdCancel_Click() {
    fadeEngine->FadeOutAndClose();
}

void frmPrintLabel::FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade) {
    fadeEngine->FadeWindow(fadeFrom, fadeTo, fadeStep, closeAfterFade);
}

void frmPrintLabel::timerFadeInOut_Timer() {
    fadeEngine->timerFadeInOut_Timer();
}
