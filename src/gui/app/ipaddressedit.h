#pragma once

#include <array>
#include <string>

#include <QSize>
#include <QWidget>

class QLineEdit;

namespace setforge {

// Four byte fields of one IPv4 address in a row. "." in a field never enters a dot: it moves
// on to the next field, and from the fourth to the first field of the address chained after
// this one (see chainTo). The fields are named `namePrefix` + 1..4, for example E_IP1..E_IP4.
class IpAddressEdit : public QWidget {
    Q_OBJECT
public:
    // With `dots`, a "." label sits between two fields; either way the fields are 12 px apart.
    IpAddressEdit(const QString& namePrefix, QSize fieldSize, bool dots, QWidget* parent);

    // Field 0..3, left to right.
    QLineEdit* field(int index) const;
    // The four field texts, first byte first.
    std::array<std::string, 4> parts() const;
    void setParts(const std::array<std::string, 4>& parts);
    // "." in the fourth field moves on to `next`'s first field (null: the dot is only swallowed).
    void chainTo(IpAddressEdit* next) { m_next = next; }

signals:
    // A field's text changed, by the user or by setParts.
    void edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLineEdit*, 4> m_fields = {};
    IpAddressEdit* m_next = nullptr;
};

} // namespace setforge
