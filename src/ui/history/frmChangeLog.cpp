#include "ui/history/frmChangeLog.h"

#include "core/base/AppGlobals.h"
#include "core/base/DateRules.h"
#include "core/store/PersonnelStore.h"
#include "ui/common/WindowGeometry.h"
#include "ui/controls/ZelButton.h"
#include "ui/history/HistoryPage.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

frmChangeLog::frmChangeLog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmChangeLog"));
    setWindowTitle(AppTitle + QStringLiteral(" - Change Log"));
    const auto Twips = [this](int twips) { return TwipsToPixels(twips, this); };
    setFixedSize(Twips(11400), Twips(6600));

    // Each filter: its caption, with the access key, in front of its box.
    int left = 120;
    const auto filter = [&](const char* name, const QString& caption, int labelWidth, int boxWidth) {
        auto* label = new QLabel(caption, this);
        label->setGeometry(Twips(left), Twips(150), Twips(labelWidth), Twips(300));
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setGeometry(Twips(left + labelWidth), Twips(120), Twips(boxWidth), Twips(330));
        label->setBuddy(box);
        connect(box, &QLineEdit::textChanged, this, &frmChangeLog::ApplyFilter);
        left += labelWidth + boxWidth + 180;
        return box;
    };
    txtEmployee = filter("txtEmployee", QStringLiteral("&Employee:"), 1020, 2100);
    txtUser = filter("txtUser", QStringLiteral("&User:"), 540, 1800);
    txtSince = filter("txtSince", QStringLiteral("&From:"), 570, 1350);
    txtUntil = filter("txtUntil", QStringLiteral("&To:"), 390, 1350);
    txtSince->setToolTip(QStringLiteral(" The first day to show, as 3/7/2026 "));
    txtUntil->setToolTip(QStringLiteral(" The last day to show, as 3/7/2026 "));

    lblChain = new QLabel(this);
    lblChain->setObjectName(QStringLiteral("lblChain"));
    lblChain->setGeometry(Twips(120), Twips(540), Twips(11160), Twips(300));

    gridChangeLog = new QTableWidget(this);
    gridChangeLog->setObjectName(QStringLiteral("gridChangeLog"));
    gridChangeLog->setGeometry(Twips(120), Twips(900), Twips(11160), Twips(4920));
    SetUpHistoryGrid(gridChangeLog, true);

    cmdPrint = new ZelButton(this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->setGeometry(Twips(8100), Twips(5940), Twips(1500), Twips(480));
    cmdPrint->setCaption(QStringLiteral("&Print"));
    cmdPrint->setToolTip(QStringLiteral(" Print the events shown "));
    cmdClose = new ZelButton(this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(Twips(9780), Twips(5940), Twips(1500), Twips(480));
    cmdClose->setCaption(QStringLiteral("&Close"));
    cmdClose->setCancel(true);
    connect(cmdPrint, &ZelButton::clicked, this, &frmChangeLog::cmdPrint_Click);
    connect(cmdClose, &ZelButton::clicked, this, &QDialog::accept);

    const QByteArray content = ActiveChangeLog();
    const ChainCheck check = CheckChain(content);
    m_all = ParseChangeLog(content);
    std::reverse(m_all.begin(), m_all.end());
    switch (check.State) {
    case ChainCheck::Intact:
        lblChain->setText(QStringLiteral("%1 lines; the chain of the change history is intact.").arg(check.Lines));
        break;
    case ChainCheck::Broken:
        lblChain->setText(QStringLiteral("Line %1 of the change history was changed, removed or inserted after it "
                                         "was written: the history from there on cannot be trusted.")
                              .arg(check.BadLine));
        lblChain->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0); font-weight: bold"));
        break;
    case ChainCheck::CutOff:
        lblChain->setText(QStringLiteral("The last line (%1) of the change history was cut off, as a power loss "
                                         "during a write leaves it; the lines before it are intact.")
                              .arg(check.BadLine));
        break;
    }
    ApplyFilter();
}

void frmChangeLog::ApplyFilter() {
    HistoryFilter filter;
    filter.Employee = txtEmployee->text().trimmed();
    filter.User = txtUser->text().trimmed();
    // A date still being typed narrows nothing yet.
    filter.Since = ParseDateEntry(txtSince->text()).value_or(QDate());
    filter.Until = ParseDateEntry(txtUntil->text()).value_or(QDate());
    m_shown.clear();
    for (const ChangeEvent& event : std::as_const(m_all))
        if (MatchesFilter(event, filter))
            m_shown << event;
    FillHistoryGrid(gridChangeLog, m_shown);
    cmdPrint->setEnabled(!m_shown.isEmpty());
}

void frmChangeLog::cmdPrint_Click() {
    PrintChangeHistoryCommand(this, AppTitle + QStringLiteral(" Change Log"), m_shown);
}
