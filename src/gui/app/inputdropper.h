#pragma once

#include <QObject>

namespace setforge {

// While it lives, every window goes on painting but user input (keys, mouse, wheel, touch and
// the close box) is dropped: neither acted on nor kept for later. For the modal waits on an
// updater or the version query, where a click must not act then, nor be replayed afterwards.
class InputDropper : public QObject {
public:
    InputDropper();
    ~InputDropper() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace setforge
