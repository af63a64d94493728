#pragma once

#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

// Runs `open`, which shows `dialog` modally, and lets `user` act on the dialog
// once it is up. A dialog the script leaves open is closed after ten seconds,
// so that a failing test ends instead of hanging.
inline void WhileModal(QDialog& dialog, const std::function<void()>& open, const std::function<void()>& user)
{
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (dialog.isVisible()) {
            poll.stop();
            user();
        }
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &dialog, [&dialog] {
        ADD_FAILURE() << "the dialog was left open";
        dialog.reject();
    });
    poll.start();
    watchdog.start(10000);
    open();
}
