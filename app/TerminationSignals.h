#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the event loop normally on SIGTERM, SIGINT or SIGHUP, so that a
// program closed from a terminal or by its session still writes the log's
// end line. The signal only writes a byte to a pipe; the loop does the rest.
class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    QSocketNotifier* m_notifier = nullptr;
};
