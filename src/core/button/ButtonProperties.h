#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QVariantMap>

// The persisted configuration of one button. A window can describe its buttons as data: a bag of values under
// the keys below, read with ReadPropertyBag and written with WritePropertyBag. Colours in a bag are 0x00BBGGRR
// numbers; pictures are images (pixmaps are read too); the font is a font.
struct ButtonProperties {
    QColor BackColor;
    QColor BackOver;
    QColor ForeColor;
    QColor ForeOver;
    QColor MaskColor = QColor(0xC0, 0xC0, 0xC0);
    int ButtonType = 14;
    QString Caption;
    bool Enabled = true;
    QFont Font;
    int ColorScheme = 2;
    bool ShowFocusRect = true;
    qint16 MousePointer = 0;
    QImage MouseIcon;
    bool SoftBevel = false;
    QImage PictureNormal;
    QImage PictureOver;
    int PicturePosition = 0;
    bool UseMaskColor = true;
    bool UseGreyscale = false;
    int SpecialEffect = 0;
    bool CheckBoxBehaviour = false;
    bool Value = false;
};

// The bag keys, in the order of the properties.
namespace ButtonKeys {
inline constexpr const char* BackColor = "BCOL";
inline constexpr const char* BackOver = "BCOLO";
inline constexpr const char* ForeColor = "FCOL";
inline constexpr const char* ForeOver = "FCOLO";
inline constexpr const char* MaskColor = "MCOL";
inline constexpr const char* ButtonType = "BTYPE";
inline constexpr const char* Caption = "TX";
inline constexpr const char* Enabled = "ENAB";
inline constexpr const char* Font = "FONT";
inline constexpr const char* ColorScheme = "COLTYPE";
inline constexpr const char* ShowFocusRect = "FOCUSR";
inline constexpr const char* MousePointer = "MPTR";
inline constexpr const char* MouseIcon = "MICON";
inline constexpr const char* SoftBevel = "SOFT";
inline constexpr const char* PictureNormal = "PICN";
inline constexpr const char* PictureOver = "PICH";
inline constexpr const char* PicturePosition = "PICPOS";
inline constexpr const char* UseMaskColor = "UMCOL";
inline constexpr const char* UseGreyscale = "NGREY";
inline constexpr const char* SpecialEffect = "FX";
inline constexpr const char* CheckBoxBehaviour = "CHECK";
inline constexpr const char* Value = "VALUE";
} // namespace ButtonKeys

// A newly placed button: style 14, colour scheme 2, the given face and text colours for the normal and hover
// looks, the holder's font.
ButtonProperties NewButtonProperties(const QColor& face, const QColor& text, const QFont& font);

// Reads a bag. A missing key takes its stored default: "BTYPE" 2, "TX" empty, "COLTYPE" 1, "BCOL" the system
// button face, "BCOLO" what "BCOL" gave, "FCOL" the system button text, "FCOLO" what "FCOL" gave, "MCOL"
// 0xC0C0C0; the other keys take the values of a newly placed button, with the holder's font.
ButtonProperties ReadPropertyBag(const QVariantMap& bag, const QColor& systemFace, const QColor& systemText,
                                 const QFont& holderFont);

// Writes every key with its current value.
QVariantMap WritePropertyBag(const ButtonProperties& properties);

// A colour from a bag value: a 0x00BBGGRR number, or a colour.
QColor BagColour(const QVariant& value, const QColor& missing);
