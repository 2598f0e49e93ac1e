#include "gui/app/ipaddressedit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "gui/app/qtext.h"

namespace setforge {

namespace {

constexpr int kFieldGap = 12;
// A dot label between two fields keeps the gap: 3 px, the 6 px dot, 3 px.
constexpr int kDotWidth = 6;
constexpr int kDotMargin = (kFieldGap - kDotWidth) / 2;

} // namespace

IpAddressEdit::IpAddressEdit(const QString& namePrefix, QSize fieldSize, bool dots, QWidget* parent)
    : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(dots ? kDotMargin : kFieldGap);
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && dots) {
            auto* dot = new QLabel(".", this);
            dot->setFixedSize(kDotWidth, fieldSize.height());
            row->addWidget(dot);
        }
        auto* field = new QLineEdit(this);
        field->setObjectName(namePrefix + QString::number(i + 1));
        field->setFixedSize(fieldSize);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textChanged, this, &IpAddressEdit::edited);
        row->addWidget(field);
        m_fields[static_cast<std::size_t>(i)] = field;
    }
    setFixedSize(row->sizeHint());
}

QLineEdit* IpAddressEdit::field(int index) const
{
    return m_fields.at(static_cast<std::size_t>(index));
}

std::array<std::string, 4> IpAddressEdit::parts() const
{
    std::array<std::string, 4> parts;
    for (std::size_t i = 0; i < 4; ++i)
        parts[i] = us(m_fields[i]->text());
    return parts;
}

void IpAddressEdit::setParts(const std::array<std::string, 4>& parts)
{
    for (std::size_t i = 0; i < 4; ++i)
        m_fields[i]->setText(qs(parts[i]));
}

bool IpAddressEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->text() != QLatin1String("."))
        return QWidget::eventFilter(watched, event);
    for (std::size_t i = 0; i < 4; ++i) {
        if (watched != m_fields[i])
            continue;
        QLineEdit* next = i < 3 ? m_fields[i + 1] : (m_next ? m_next->m_fields[0] : nullptr);
        // A hidden or disabled field cannot take the focus; the dot is swallowed all the same.
        if (next && next->isVisible() && next->isEnabled())
            next->setFocus(Qt::TabFocusReason);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace setforge
