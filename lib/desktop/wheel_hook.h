#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <functional>
#include <optional>

class QWheelEvent;

namespace desktop {

// An application-wide hook that sees every mouse-wheel message once, whichever window or
// widget it is meant for, and then lets it go on to its normal handling. Exists as long as
// the object does.
// Qt hands one wheel turn first to the window and then to the widget under the pointer and
// its parents, each time through the application's event filters; the hook counts the
// turn once: at the window, or at the first widget when it was sent to a widget directly.
class WheelHook : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const QWheelEvent& event)>;

    explicit WheelHook(Handler handler, QObject* parent = nullptr);
    ~WheelHook() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the copies of one wheel message have in common.
    struct Signature {
        quint64 timestamp;
        QPointF globalPosition;
        QPoint angleDelta;
        QPoint pixelDelta;
        bool operator==(const Signature&) const = default;
    };

    Handler handler_;
    std::optional<Signature> lastMessage_;
};

} // namespace desktop
