#pragma once

#include <QObject>

// While it lives, clicks, keys and wheel turns are swallowed application-wide:
// a device sequence holds the GUI thread and lets the window repaint, but no
// command may start in the middle of it, nor queue up behind it.
class InputBlocker : public QObject {
public:
    InputBlocker();
    ~InputBlocker() override;

    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
