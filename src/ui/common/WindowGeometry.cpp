#include "ui/common/WindowGeometry.h"

#include "core/base/AppGlobals.h"

#include <QScreen>
#include <QSettings>
#include <QWidget>

int TwipsToPixels(int twips, const QWidget* widget) {
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return twips * dpi / 1440;
}

void CentreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

namespace {

QString PlacementKey(const QWidget* window) {
    return QStringLiteral("Windows/") + window->objectName();
}

} // namespace

void RestorePlacement(QWidget* window) {
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, AppTitle, AppTitle);
    const QByteArray saved = QByteArray::fromBase64(settings.value(PlacementKey(window)).toByteArray());
    if (!saved.isEmpty())
        window->restoreGeometry(saved);
}

void SavePlacement(const QWidget* window) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, AppTitle, AppTitle);
    settings.setValue(PlacementKey(window), window->saveGeometry().toBase64());
}
