// The anchored ticker's wait on Qt: a single-shot precise QTimer.
#pragma once

#include "platform/AnchoredTicker.h"

#include <QTimer>

namespace durmivela::qt {

class QtTicker final : public AnchoredTicker {
public:
    QtTicker(Timer& timer, const Clock& clock);
    ~QtTicker() override { stop(); }

private:
    void startWait(int ms) override { qtimer_.start(ms); }
    void cancelWait() override { qtimer_.stop(); }

    QTimer qtimer_;
};

}  // namespace durmivela::qt
