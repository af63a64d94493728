#pragma once

// The frames of the traffic view, as they pass: time, port, direction,
// length, the decoded summary and, on the frame that ends an attempt, the
// transfer's result, a repeat named as such. Fed by the frame tap from any
// thread; the rows change on the model's own thread only. Keeps the newest
// MaxFrames.

#include "capture/TransferWords.h"
#include "protocol/FrameTap.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QModelIndexList>
#include <QString>

#include <deque>
#include <mutex>
#include <string>
#include <vector>

class FrameListModel : public QAbstractTableModel, public FrameListener {
    Q_OBJECT
public:
    static constexpr int MaxFrames = 100000;
    enum Column { TimeColumn, PortColumn, DirectionColumn, LengthColumn, SummaryColumn, ResultColumn, ColumnCount };

    // Listens to `tap` from now on, which must outlive the model; reads its
    // texts here.
    explicit FrameListModel(FrameTap& tap, QObject* parent = nullptr);
    ~FrameListModel() override;

    // While paused the list stays as it is: frames that pass are not listed.
    void SetPaused(bool paused);
    bool Paused() const;
    void Clear();

    // The frames of `rows`, one line each, in hex bytes ("61 00 00 ...").
    QString HexLines(const QModelIndexList& rows) const;
    // The listed frames as a pcapng capture. Empty, or why it failed.
    std::string SaveCapture(const std::string& path) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void OnFrame(const TappedFrame& frame) override;

private:
    FrameTap& m_tap;
    struct Row {
        int64_t timeUs = 0;
        std::string port;
        bool fromDevice = false;
        std::string bytes;
        int32_t attempt = 0;
        int32_t result = 0;
        QString summary;
        QString resultText; // "Übertragung 7: 0 ok" on a reply
    };
    void takePending();

    const TransferWords m_words;
    const std::vector<QString> m_headers;
    const QString m_toDevice;
    const QString m_fromDevice;
    std::deque<Row> m_rows;

    // Shared with the threads that publish frames.
    mutable std::mutex m_mutex;
    std::vector<Row> m_pending;
    bool m_paused = false;
    int64_t m_transfers = 0;
};
