#include "ui/common/AppIcon.h"

#include <QDir>
#include <QIconEngine>
#include <QPainter>

#include <memory>

namespace {

QIcon loadAllSizes() {
    QIcon icon;
    const QDir folder(QStringLiteral(":/icons"));
    for (const QString& name : folder.entryList({QStringLiteral("vardel-*.png")}))
        icon.addFile(folder.filePath(name));
    return icon;
}

// Answers as the icon of every size would, reading the files at the first question that needs their pixels.
// The sizes alone come from the files' names ("vardel-48.png").
class FirstUseIconEngine : public QIconEngine {
public:
    FirstUseIconEngine() = default;
    FirstUseIconEngine(const FirstUseIconEngine& other) : QIconEngine(other), m_icon(other.m_icon) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        if (m_icon || mode != QIcon::Normal || state != QIcon::Off)
            return icon().availableSizes(mode, state);
        QList<QSize> sizes;
        for (const QString& name : QDir(QStringLiteral(":/icons")).entryList({QStringLiteral("vardel-*.png")})) {
            const int side = QStringView(name).mid(7, name.size() - 11).toInt();
            sizes << QSize(side, side);
        }
        return sizes;
    }
    QString key() const override { return QStringLiteral("VardelFirstUse"); }
    QIconEngine* clone() const override { return new FirstUseIconEngine(*this); }
    bool isNull() override { return false; }

private:
    QIcon& icon() {
        if (!m_icon)
            m_icon = std::make_shared<QIcon>(loadAllSizes());
        return *m_icon;
    }

    std::shared_ptr<QIcon> m_icon;
};

} // namespace

QIcon ApplicationIcon() {
    return QIcon(new FirstUseIconEngine);
}
