#include "core/base/UniqueFd.h"

#include <QTest>

#include <fcntl.h>

namespace {
bool isOpen(int fd) {
    return ::fcntl(fd, F_GETFD) != -1;
}
} // namespace

class TestUniqueFd : public QObject {
    Q_OBJECT

private slots:
    // Every way an owner lets go: the descriptor is closed exactly when no owner is left, and errno survives.
    void closesWhenNoOwnerIsLeft_data() {
        QTest::addColumn<int>("way");
        QTest::addColumn<bool>("stillOpen");
        QTest::newRow("owner ends") << 0 << false;
        QTest::newRow("reset") << 1 << false;
        QTest::newRow("moved to an owner that lives on") << 2 << true;
        QTest::newRow("another moved over it") << 3 << false;
        QTest::newRow("released") << 4 << true;
    }
    void closesWhenNoOwnerIsLeft() {
        QFETCH(int, way);
        QFETCH(bool, stillOpen);
        const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        UniqueFd survivor;
        {
            UniqueFd owner(fd);
            errno = ENOSPC;
            if (way == 1)
                owner.reset();
            if (way == 2)
                survivor = std::move(owner);
            if (way == 3)
                owner = UniqueFd();
            if (way == 4)
                QCOMPARE(owner.release(), fd);
        }
        QCOMPARE(errno, ENOSPC);
        QCOMPARE(isOpen(fd), stillOpen);
        if (way == 4)
            ::close(fd);
    }
};

QTEST_GUILESS_MAIN(TestUniqueFd)
#include "tst_uniquefd.moc"
