#include <QtTest>

#include <functional>

class QLabel;
extern char** environ;

namespace setforge {

struct Cell {
    int row = 0;
};

class AllowedTest : public QObject {
    Q_OBJECT
private slots:
    void passes() { QVERIFY(true); }
};

} // namespace setforge

Q_DECLARE_METATYPE(setforge::Cell)

template <> struct std::hash<setforge::Cell> {
    size_t operator()(const setforge::Cell& cell) const { return std::hash<int>()(cell.row); }
};

QTEST_MAIN(setforge::AllowedTest)
#include "allowed_test.moc"
