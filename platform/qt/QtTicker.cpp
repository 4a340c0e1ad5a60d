#include "platform/qt/QtTicker.h"

namespace durmivela::qt {

QtTicker::QtTicker(Timer& timer, const Clock& clock) : AnchoredTicker(timer, clock) {
    qtimer_.setSingleShot(true);
    qtimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&qtimer_, &QTimer::timeout, &qtimer_, [this] { expired(); });
    follow(false);
}

}  // namespace durmivela::qt
