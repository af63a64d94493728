#include "capture/FrameListModel.h"

#include "capture/CaptureFile.h"
#include "capture/FrameSummary.h"
#include "capture/TrafficTexts.h"
#include "diag/AnsiText.h"
#include "io/NewFile.h"

#include <QDateTime>

#include <algorithm>

namespace T = TrafficTextNumber;

namespace {

std::vector<QString> columnHeads()
{
    return {TrafficText(T::Time, "Zeit"),     TrafficText(T::Port, "Schnittstelle"),
            TrafficText(T::Direction, "Richtung"), TrafficText(T::Length, "L\xE4nge"),
            TrafficText(T::Summary, "Inhalt"), TrafficText(T::Result, "Ergebnis")};
}

// Local time to the microsecond: the frames of one transfer lie milliseconds apart.
QString timeText(int64_t timeUs)
{
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(timeUs / 1000);
    return time.toString(QStringLiteral("HH:mm:ss.zzz")) + QString::number(timeUs % 1000).rightJustified(3, u'0');
}

} // namespace

FrameListModel::FrameListModel(FrameTap& tap, QObject* parent)
    : QAbstractTableModel(parent)
    , m_tap(tap)
    , m_headers(columnHeads())
    , m_toDevice(TrafficText(T::ToDevice, "an QMX"))
    , m_fromDevice(TrafficText(T::FromDevice, "von QMX"))
{
    m_tap.Attach(*this);
}

FrameListModel::~FrameListModel()
{
    m_tap.Detach(*this);
}

void FrameListModel::OnFrame(const TappedFrame& frame)
{
    const std::lock_guard lock(m_mutex);
    if (m_paused)
        return;
    Row row{frame.timeUs, std::string(frame.port), frame.direction == TappedFrame::Direction::FromDevice,
            std::string(frame.bytes), frame.attempt, frame.result, ansiToQString(FrameSummary(frame.bytes)), {}};
    if (row.fromDevice) {
        if (frame.attempt <= 1)
            ++m_transfers;
        row.resultText = ansiToQString(m_words.Comment(m_transfers, frame.attempt, frame.result));
    }
    // The first frame of a batch asks the model's thread to take them in.
    if (m_pending.empty())
        QMetaObject::invokeMethod(this, &FrameListModel::takePending, Qt::QueuedConnection);
    m_pending.push_back(std::move(row));
}

void FrameListModel::takePending()
{
    std::vector<Row> batch;
    {
        const std::lock_guard lock(m_mutex);
        batch.swap(m_pending);
    }
    if (batch.empty())
        return;
    // Only the newest MaxFrames of the batch can stay; the oldest rows make room.
    const size_t keep = std::min(batch.size(), static_cast<size_t>(MaxFrames));
    const size_t total = m_rows.size() + keep;
    const size_t drop = total > MaxFrames ? total - MaxFrames : 0;
    if (drop > 0) {
        beginRemoveRows({}, 0, static_cast<int>(drop) - 1);
        m_rows.erase(m_rows.begin(), m_rows.begin() + static_cast<std::ptrdiff_t>(drop));
        endRemoveRows();
    }
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows({}, first, first + static_cast<int>(keep) - 1);
    std::move(batch.end() - static_cast<std::ptrdiff_t>(keep), batch.end(), std::back_inserter(m_rows));
    endInsertRows();
}

void FrameListModel::SetPaused(bool paused)
{
    const std::lock_guard lock(m_mutex);
    m_paused = paused;
}

bool FrameListModel::Paused() const
{
    const std::lock_guard lock(m_mutex);
    return m_paused;
}

void FrameListModel::Clear()
{
    {
        const std::lock_guard lock(m_mutex);
        m_pending.clear();
    }
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

QString FrameListModel::HexLines(const QModelIndexList& rows) const
{
    std::vector<int> numbers;
    for (const QModelIndex& index : rows)
        numbers.push_back(index.row());
    std::ranges::sort(numbers);
    const auto [end, last] = std::ranges::unique(numbers);
    numbers.erase(end, last);
    QString text;
    for (const int row : numbers) {
        if (row >= 0 && static_cast<size_t>(row) < m_rows.size())
            text += QString::fromLatin1(QByteArray::fromStdString(m_rows[static_cast<size_t>(row)].bytes).toHex(' ').toUpper())
                    + u'\n';
    }
    return text;
}

std::string FrameListModel::SaveCapture(const std::string& path) const
{
    CaptureFile file(CreateNamedFile(path));
    for (const Row& row : m_rows)
        file.Write({row.fromDevice ? TappedFrame::Direction::FromDevice : TappedFrame::Direction::ToDevice, row.port,
                    row.timeUs, row.bytes, row.attempt, row.result});
    return file.ok() ? std::string() : file.error();
}

int FrameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int FrameListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FrameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || static_cast<size_t>(index.row()) >= m_rows.size())
        return {};
    const Row& row = m_rows[static_cast<size_t>(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() == LengthColumn)
        return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case TimeColumn: return timeText(row.timeUs);
    case PortColumn: return ansiToQString(row.port);
    case DirectionColumn: return row.fromDevice ? m_fromDevice : m_toDevice;
    case LengthColumn: return static_cast<int>(row.bytes.size());
    case SummaryColumn: return row.summary;
    case ResultColumn: return row.resultText;
    default: return {};
    }
}

QVariant FrameListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_headers[static_cast<size_t>(section)];
}
