#include "cli/StationReply.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <cmath>
#include <limits>

namespace {

QString bytesText(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The bytes of a text made by bytesText; none when a character lies beyond
// U+00FF.
std::optional<std::string> textBytes(const QJsonValue& value)
{
    if (!value.isString())
        return std::nullopt;
    const QString text = value.toString();
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return std::nullopt;
    }
    return text.toLatin1().toStdString();
}

std::optional<int64_t> wholeNumber(const QJsonValue& value, int64_t min, int64_t max)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || std::floor(number) != number || number < static_cast<double>(min)
        || number > static_cast<double>(max))
        return std::nullopt;
    return static_cast<int64_t>(number);
}

QJsonArray linkFields(const LinkRecord& link)
{
    return {link.ModulQ, link.RegVon, link.BitVon, link.AnzBit, link.ModulZ, link.RegZ, link.BitZ, link.deaktiv};
}

std::optional<LinkRecord> linkOf(const QJsonValue& value)
{
    const QJsonArray fields = value.toArray();
    if (!value.isArray() || fields.size() != 8)
        return std::nullopt;
    LinkRecord link;
    int32_t* const targets[8] = {&link.ModulQ, &link.RegVon, &link.BitVon, &link.AnzBit,
                                 &link.ModulZ, &link.RegZ,   &link.BitZ,   &link.deaktiv};
    for (qsizetype f = 0; f < 8; ++f) {
        const auto number =
            wholeNumber(fields[f], std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
        if (!number)
            return std::nullopt;
        *targets[f] = static_cast<int32_t>(*number);
    }
    link.encodedText = LinkWordsText(EncodeLinkWords(link));
    return link;
}

std::optional<std::vector<std::string>> rowOf(const QJsonValue& value)
{
    if (!value.isArray())
        return std::nullopt;
    std::vector<std::string> row;
    for (const QJsonValue& cell : value.toArray()) {
        auto bytes = textBytes(cell);
        if (!bytes)
            return std::nullopt;
        row.push_back(std::move(*bytes));
    }
    return row;
}

} // namespace

QByteArray EncodeStationReply(const StationReply& reply)
{
    QJsonObject object{{QStringLiteral("ok"), reply.ok}};
    QJsonArray notes;
    for (const StationNote& note : reply.notes)
        notes.append(QJsonObject{{QStringLiteral("kind"), note.kind}, {QStringLiteral("text"), bytesText(note.text)}});
    object.insert(QStringLiteral("notes"), notes);
    if (!reply.ok) {
        object.insert(QStringLiteral("error"), bytesText(reply.error));
    } else {
        object.insert(QStringLiteral("serial"), reply.station.serialNumber);
        object.insert(QStringLiteral("address"), reply.station.address);
        object.insert(QStringLiteral("type"), reply.station.type);
        QJsonArray links;
        for (const LinkRecord& link : reply.links)
            links.append(linkFields(link));
        object.insert(QStringLiteral("links"), links);
        QJsonArray overview;
        for (const std::vector<std::string>& row : reply.overview) {
            QJsonArray cells;
            for (const std::string& cell : row)
                cells.append(bytesText(cell));
            overview.append(cells);
        }
        object.insert(QStringLiteral("overview"), overview);
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<StationReply> DecodeStationReply(const QByteArray& output)
{
    const QByteArray trimmed = output.trimmed();
    const QByteArray line = trimmed.mid(trimmed.lastIndexOf('\n') + 1);
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    if (!object.value(QStringLiteral("ok")).isBool() || !object.value(QStringLiteral("notes")).isArray())
        return std::nullopt;

    StationReply reply;
    reply.ok = object.value(QStringLiteral("ok")).toBool();
    for (const QJsonValue& value : object.value(QStringLiteral("notes")).toArray()) {
        const auto kind = wholeNumber(value[QStringLiteral("kind")], 0, 255);
        auto text = textBytes(value[QStringLiteral("text")]);
        if (!kind || !text)
            return std::nullopt;
        reply.notes.push_back({static_cast<int>(*kind), std::move(*text)});
    }
    if (!reply.ok) {
        auto error = textBytes(object.value(QStringLiteral("error")));
        if (!error)
            return std::nullopt;
        reply.error = std::move(*error);
        return reply;
    }

    const auto serial = wholeNumber(object.value(QStringLiteral("serial")), 0, 0xFFFF);
    const auto address = wholeNumber(object.value(QStringLiteral("address")), std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int32_t>::max());
    const auto type = wholeNumber(object.value(QStringLiteral("type")), 0, 0xFFFF);
    const QJsonValue links = object.value(QStringLiteral("links"));
    const QJsonValue overview = object.value(QStringLiteral("overview"));
    if (!serial || !address || !type || !links.isArray() || !overview.isArray()
        || links.toArray().size() > kMaxLinks)
        return std::nullopt;
    reply.station = {static_cast<uint16_t>(*serial), static_cast<int32_t>(*address), static_cast<uint16_t>(*type)};
    for (const QJsonValue& value : links.toArray()) {
        auto link = linkOf(value);
        if (!link)
            return std::nullopt;
        reply.links.push_back(std::move(*link));
    }
    for (const QJsonValue& value : overview.toArray()) {
        auto row = rowOf(value);
        if (!row)
            return std::nullopt;
        reply.overview.push_back(std::move(*row));
    }
    return reply;
}
