#pragma once

#include <QImage>
#include <QString>

#include <stdexcept>

// The printer as every printout draws on it: a page with a current position in inches, a font, text printed at the
// position either ending the line or staying on it, new pages and the end of a document. The rules of printing
// (where the position goes after a text, a line end, a new page) live here once; a device only draws runs of
// text and pictures where it is told.

struct PrinterFont {
    QString Name = QStringLiteral("Arial");
    double Size = 10; // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethru = false;

    bool operator==(const PrinterFont&) const = default;
};

// The printer failed or refused a document. Nothing in the printing code catches it: like a file error it ends
// at the event-handler boundary, which shows its text.
class PrinterError : public std::runtime_error {
public:
    explicit PrinterError(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;

    // Current position, inches in the scale's coordinates: x = scaleLeft() is the left edge of the printable
    // area, y = scaleTop() its top edge. A text is printed with the top of its line at currentY().
    double currentX() const { return m_x; }
    double currentY() const { return m_y; }
    void setCurrentX(double x);
    void setCurrentY(double y);

    const PrinterFont& font() const { return m_font; }
    void setFont(const PrinterFont& font);
    void setFontName(const QString& name);
    void setFontSize(double points);
    void setFontBold(bool on);
    void setFontItalic(bool on);
    void setFontUnderline(bool on);
    void setFontStrikethru(bool on);

    // Width of a text in the current font, and the height of one line, in inches.
    double textWidth(const QString& text) const { return measure(text, m_font); }
    double textHeight() const { return lineHeight(m_font); }
    // Width of the sheet in inches.
    virtual double pageWidth() const = 0;
    // Page number within the current document, from 1.
    int page() const { return m_page; }

    // Prints the text at the current position and ends the line. A CR LF inside the text ends the line there.
    void print(const QString& text);
    // Prints the text at the current position and stays on the line: the position moves to the end of the text.
    void printInline(const QString& text);
    // Ends the current line (an empty line when nothing was printed on it).
    void endLine();
    // Moves across to print column `column` (1 is the left edge of the printable area); a column is the average
    // character width of the current font.
    void tab(int column);

    void newPage();
    // Ends the document; the next output starts a new one on a fresh page. Nothing happens when nothing has
    // been printed since the last end.
    void endDoc();
    // Ends an open document and finishes the output (the last job or the file). Called once, after the last
    // document of a command.
    void close();

    // Scale origin: the coordinate of the printable area's left and top edges.
    double scaleLeft() const { return m_scaleLeft; }
    double scaleTop() const { return m_scaleTop; }
    void setScaleLeft(double inches) { m_scaleLeft = inches; }
    void setScaleTop(double inches) { m_scaleTop = inches; }

    // Offset of the printable area from the sheet's edges, in device pixels, and the conversion to inches.
    virtual double physicalOffsetX() const = 0;
    virtual double physicalOffsetY() const = 0;
    virtual double pixelsToInchesX(double pixels) const = 0;
    virtual double pixelsToInchesY(double pixels) const = 0;

    // Draws the picture scaled into the rectangle (inches, scale coordinates).
    void paintPicture(const QImage& picture, double x, double y, double width, double height);

    // Where the output went when it is a file; empty for a printer.
    virtual QString outputFile() const { return QString(); }
    // Documents ended so far.
    int documentCount() const { return m_documents; }

protected:
    // Sheet coordinates (inches from the sheet's top-left corner) of a position in scale coordinates.
    double sheetX(double x) const;
    double sheetY(double y) const;

    virtual double measure(const QString& text, const PrinterFont& font) const = 0;
    virtual double lineHeight(const PrinterFont& font) const = 0;
    // Average character width: the width of a print column.
    virtual double columnWidth(const PrinterFont& font) const = 0;

    // Drawing, in sheet inches. beginDocument comes before the first drawing of each document.
    virtual void beginDocument() = 0;
    virtual void drawText(double x, double y, const QString& text, const PrinterFont& font) = 0;
    virtual void drawPicture(const QImage& picture, double x, double y, double width, double height) = 0;
    virtual void startPage() = 0;
    virtual void finishDocument() = 0;
    virtual void finishOutput() = 0;

private:
    // Records a printout's drawing to replay it into a print preview.
    friend class PreviewPrinterDevice;

    void ensureDocument();
    void flushRun();
    void printSegment(const QString& text);

    double m_x = 0;
    double m_y = 0;
    double m_scaleLeft = 0;
    double m_scaleTop = 0;
    PrinterFont m_font;
    int m_page = 1;
    int m_documents = 0;
    bool m_inDocument = false;
    bool m_closed = false;

    // Texts printed one after the other on a line are drawn as one run, so that a word printed letter by letter
    // stays one word in the output.
    struct Run {
        double sheetX = 0;
        double sheetY = 0;
        double sheetEndX = 0;
        QString text;
        PrinterFont font;
    };
    Run m_run;
};

// The window that a printout keeps busy: disabled, with the hourglass pointer, while the printout is drawn.
class PrintOwner {
public:
    virtual ~PrintOwner() = default;
    virtual void MakeBusy() = 0;
    virtual void MakeUsable() = 0;
};
