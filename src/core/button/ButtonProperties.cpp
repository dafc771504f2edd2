#include "core/button/ButtonProperties.h"

#include "core/button/ButtonColours.h"

#include <QPixmap>

ButtonProperties NewButtonProperties(const QColor& face, const QColor& text, const QFont& font) {
    ButtonProperties p;
    p.BackColor = p.BackOver = face;
    p.ForeColor = p.ForeOver = text;
    p.Font = font;
    return p;
}

QColor BagColour(const QVariant& value, const QColor& missing) {
    if (!value.isValid())
        return missing;
    if (value.typeId() == QMetaType::QColor)
        return value.value<QColor>();
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    return ok ? BgrToColour(quint32(number) & 0xFFFFFF) : missing;
}

namespace {

QImage ReadImage(const QVariantMap& bag, const char* key) {
    const QVariant value = bag.value(QLatin1String(key));
    if (value.typeId() == QMetaType::QPixmap)
        return value.value<QPixmap>().toImage();
    return value.typeId() == QMetaType::QImage ? value.value<QImage>() : QImage();
}

template <class T> T Read(const QVariantMap& bag, const char* key, const T& missing) {
    const QVariant value = bag.value(QLatin1String(key));
    return value.isValid() && value.canConvert<T>() ? value.value<T>() : missing;
}

} // namespace

ButtonProperties ReadPropertyBag(const QVariantMap& bag, const QColor& systemFace, const QColor& systemText,
                                 const QFont& holderFont) {
    namespace K = ButtonKeys;
    ButtonProperties p;
    p.BackColor = BagColour(bag.value(QLatin1String(K::BackColor)), systemFace);
    p.BackOver = BagColour(bag.value(QLatin1String(K::BackOver)), p.BackColor);
    p.ForeColor = BagColour(bag.value(QLatin1String(K::ForeColor)), systemText);
    p.ForeOver = BagColour(bag.value(QLatin1String(K::ForeOver)), p.ForeColor);
    p.MaskColor = BagColour(bag.value(QLatin1String(K::MaskColor)), BgrToColour(0xC0C0C0));
    p.ButtonType = Read<int>(bag, K::ButtonType, 2);
    p.Caption = Read<QString>(bag, K::Caption, QString());
    p.Enabled = Read<bool>(bag, K::Enabled, true);
    p.Font = Read<QFont>(bag, K::Font, holderFont);
    p.ColorScheme = Read<int>(bag, K::ColorScheme, 1);
    p.ShowFocusRect = Read<bool>(bag, K::ShowFocusRect, true);
    p.MousePointer = Read<qint16>(bag, K::MousePointer, 0);
    p.MouseIcon = ReadImage(bag, K::MouseIcon);
    p.SoftBevel = Read<bool>(bag, K::SoftBevel, false);
    p.PictureNormal = ReadImage(bag, K::PictureNormal);
    p.PictureOver = ReadImage(bag, K::PictureOver);
    p.PicturePosition = Read<int>(bag, K::PicturePosition, 0);
    p.UseMaskColor = Read<bool>(bag, K::UseMaskColor, true);
    p.UseGreyscale = Read<bool>(bag, K::UseGreyscale, false);
    p.SpecialEffect = Read<int>(bag, K::SpecialEffect, 0);
    p.CheckBoxBehaviour = Read<bool>(bag, K::CheckBoxBehaviour, false);
    p.Value = Read<bool>(bag, K::Value, false);
    return p;
}

QVariantMap WritePropertyBag(const ButtonProperties& p) {
    namespace K = ButtonKeys;
    auto colour = [](const QColor& c) { return QVariant(qlonglong(ColourToBgr(c))); };
    QVariantMap bag;
    bag.insert(QLatin1String(K::BackColor), colour(p.BackColor));
    bag.insert(QLatin1String(K::BackOver), colour(p.BackOver));
    bag.insert(QLatin1String(K::ForeColor), colour(p.ForeColor));
    bag.insert(QLatin1String(K::ForeOver), colour(p.ForeOver));
    bag.insert(QLatin1String(K::MaskColor), colour(p.MaskColor));
    bag.insert(QLatin1String(K::ButtonType), p.ButtonType);
    bag.insert(QLatin1String(K::Caption), p.Caption);
    bag.insert(QLatin1String(K::Enabled), p.Enabled);
    bag.insert(QLatin1String(K::Font), p.Font);
    bag.insert(QLatin1String(K::ColorScheme), p.ColorScheme);
    bag.insert(QLatin1String(K::ShowFocusRect), p.ShowFocusRect);
    bag.insert(QLatin1String(K::MousePointer), p.MousePointer);
    bag.insert(QLatin1String(K::MouseIcon), p.MouseIcon);
    bag.insert(QLatin1String(K::SoftBevel), p.SoftBevel);
    bag.insert(QLatin1String(K::PictureNormal), p.PictureNormal);
    bag.insert(QLatin1String(K::PictureOver), p.PictureOver);
    bag.insert(QLatin1String(K::PicturePosition), p.PicturePosition);
    bag.insert(QLatin1String(K::UseMaskColor), p.UseMaskColor);
    bag.insert(QLatin1String(K::UseGreyscale), p.UseGreyscale);
    bag.insert(QLatin1String(K::SpecialEffect), p.SpecialEffect);
    bag.insert(QLatin1String(K::CheckBoxBehaviour), p.CheckBoxBehaviour);
    bag.insert(QLatin1String(K::Value), p.Value);
    return bag;
}
