#include "ui/print/PreviewPrinterDevice.h"

#include "core/base/AppGlobals.h"
#include "core/base/FileError.h"
#include "core/base/UniqueFd.h"
#include "ui/common/Dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QPaintEngine>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Qt draws the preview's pages through a picture engine, which writes nothing anywhere; any other engine is the
// printout itself.
bool isPreviewPage(QPrinter* printer) {
    const QPaintEngine* engine = printer->paintEngine();
    return engine && engine->type() == QPaintEngine::Picture;
}

// Gives the finished file the chosen name; over a file that is there only when the clerk said so, including one
// that appeared while the question was open.
void moveIntoPlace(const QByteArray& written, const QString& path, bool replace) {
    const QByteArray target = QFile::encodeName(path);
    if (!replace) {
        if (::renameat2(AT_FDCWD, written.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
            return;
        if (errno != EINVAL && errno != ENOSYS)
            throw FileError(path + QStringLiteral(": ") + qt_error_string(errno));
        // A file system without the exclusive rename: as close as a check can come.
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
            throw FileError(path + QStringLiteral(": ") + qt_error_string(EEXIST));
    }
    if (::rename(written.constData(), target.constData()) != 0)
        throw FileError(path + QStringLiteral(": ") + qt_error_string(errno));
}

} // namespace

PreviewPrinterDevice::PreviewPrinterDevice(QWidget* window, const QString& printoutName)
    : m_window(window), m_name(printoutName),
      m_measure(std::make_unique<QtPrinterDevice>(QPrinterInfo::defaultPrinter(), printoutName)) {}

PreviewPrinterDevice::~PreviewPrinterDevice() = default;

double PreviewPrinterDevice::measure(const QString& text, const PrinterFont& font) const {
    return static_cast<const PrinterDevice&>(*m_measure).measure(text, font);
}

double PreviewPrinterDevice::lineHeight(const PrinterFont& font) const {
    return static_cast<const PrinterDevice&>(*m_measure).lineHeight(font);
}

double PreviewPrinterDevice::columnWidth(const PrinterFont& font) const {
    return static_cast<const PrinterDevice&>(*m_measure).columnWidth(font);
}

void PreviewPrinterDevice::beginDocument() {
    // The documents of one command (the forms of several employees) follow each other as pages of one preview.
    if (m_begun)
        m_steps.push_back([](PrinterDevice& d) { d.startPage(); });
    m_begun = true;
}

void PreviewPrinterDevice::drawText(double x, double y, const QString& text, const PrinterFont& font) {
    m_steps.push_back([=](PrinterDevice& d) { d.drawText(x, y, text, font); });
}

void PreviewPrinterDevice::drawPicture(const QImage& picture, double x, double y, double width, double height) {
    m_steps.push_back([=](PrinterDevice& d) { d.drawPicture(picture, x, y, width, height); });
}

void PreviewPrinterDevice::startPage() {
    m_steps.push_back([](PrinterDevice& d) { d.startPage(); });
}

void PreviewPrinterDevice::replay(PrinterDevice& target) const {
    target.beginDocument();
    for (const auto& step : m_steps)
        step(target);
    target.finishDocument();
}

void PreviewPrinterDevice::paint(QPrinter* target) {
    const QString path = target->outputFileName();
    if (path.isEmpty() || isPreviewPage(target)) {
        QtPrinterDevice device(target);
        replay(device);
        return;
    }
    try {
        printToFile(target, path);
    } catch (const FileError& e) {
        dialogs().MessageBox(m_window, QStringLiteral("The printout could not be saved:\r\n") + e.text(),
                             PrintToFileTitle(), MsgIcon::Exclamation, MsgButtons::OK);
    } catch (const PrinterError& e) {
        dialogs().MessageBox(m_window, QStringLiteral("The printout could not be saved:\r\n") + e.text(),
                             PrintToFileTitle(), MsgIcon::Exclamation, MsgButtons::OK);
    }
}

void PreviewPrinterDevice::printToFile(QPrinter* target, const QString& path) {
    // Left to itself, Qt writes the file with the umask's permissions, over whatever has the name: a report with
    // social security numbers readable by everyone, or somebody's file silently gone. The printout is written into
    // a file of the owner alone beside the chosen one, which takes the chosen name only once it is whole.
    const QFileInfo chosen(path);
    const bool there = chosen.exists() || chosen.isSymLink();
    if (there && dialogs().MessageBox(m_window, ReplacePrintFileText(path), PrintToFileTitle(), MsgIcon::Exclamation,
                                      MsgButtons::YesNo, MsgResult::No) != MsgResult::Yes)
        return;
    // Hidden, so that nobody opens it half-written; mkostemp makes it owner-only from the start, and Qt's writer,
    // which opens it again by name, keeps its permissions.
    QByteArray written =
        QFile::encodeName(chosen.absolutePath() + QStringLiteral("/.") + chosen.fileName() + QStringLiteral(".XXXXXX"));
    const UniqueFd fd(::mkostemp(written.data(), O_CLOEXEC));
    if (!fd)
        throw FileError(path + QStringLiteral(": ") + qt_error_string(errno));
    try {
        target->setOutputFileName(QFile::decodeName(written));
        {
            QtPrinterDevice device(target);
            replay(device);
        }
        target->setOutputFileName(path);
        if (::fsync(fd.get()) != 0)
            throw FileError(path + QStringLiteral(": ") + qt_error_string(errno));
        moveIntoPlace(written, path, there);
    } catch (...) {
        target->setOutputFileName(path);
        ::unlink(written.constData());
        throw;
    }
}

QString ReplacePrintFileText(const QString& path) {
    return QLatin1Char('\'') + path + QStringLiteral("'\r\n\r\nalready exists. Do you want to replace it?");
}

QString PrintToFileTitle() {
    return QStringLiteral("Print to File");
}

void PreviewPrinterDevice::finishOutput() {
    if (m_steps.empty())
        return;
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(AppTitle + QStringLiteral(" - ") + m_name);
    QPrintPreviewDialog preview(&printer, m_window);
    preview.setWindowTitle(AppTitle + QStringLiteral(" - Print Preview - ") + m_name);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [this](QPrinter* target) { paint(target); });
    preview.resize(900, 800);
    preview.exec();
}

bool PreviewPrintouts() {
    return GetSetting(QStringLiteral("PreviewPrintouts"), QStringLiteral("0")) == QLatin1String("1");
}

void SetPreviewPrintouts(bool on) {
    SaveSetting(QStringLiteral("PreviewPrintouts"), on ? QStringLiteral("1") : QStringLiteral("0"));
}
