#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the event loop normally on SIGTERM, SIGINT or SIGHUP, so that a
// program closed from a terminal or by its session still writes the log's
// end line. The signal only writes a byte to a socket; the loop does the rest.
class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // A signal came before the event loop ran (during start-up's port
    // search, say): the program must not enter the loop at all.
    static bool requested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
