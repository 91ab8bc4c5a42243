#include "results/CellDrag.h"

#include <QByteArray>
#include <QMimeData>

#include "results/CriteriaStream.h"
#include "results/FilterError.h"

namespace quorvane {
namespace {

QString CellMime() {
    return QStringLiteral("application/x-quorvane-cell-condition");
}

} // namespace

QMimeData* CellDragData(const TFilterCondition& condition) {
    const std::vector<uint8_t> stream =
        WriteCriteriaStream(TFilterGroup{TFilterGroupOperator::And, {condition}});
    auto* data = new QMimeData;
    data->setData(CellMime(), QByteArray(reinterpret_cast<const char*>(stream.data()),
                                         static_cast<qsizetype>(stream.size())));
    return data;
}

bool CarriesCell(const QMimeData& data) {
    return data.hasFormat(CellMime());
}

std::optional<TFilterCondition> DroppedCellCondition(const QMimeData& data) {
    if (!CarriesCell(data))
        return std::nullopt;
    const QByteArray bytes = data.data(CellMime());
    try {
        TFilterGroup group = ReadCriteriaStream(std::span<const uint8_t>(
            reinterpret_cast<const uint8_t*>(bytes.constData()), bytes.size()));
        if (group.Items.size() == 1)
            if (const auto* condition = std::get_if<TFilterCondition>(&group.Items[0].Node))
                return *condition;
    } catch (const TFilterError&) {
        // Not one of ours after all.
    }
    return std::nullopt;
}

} // namespace quorvane
