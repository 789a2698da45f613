#include "ComparisonModel.h"

#include <QColor>

ComparisonModel::ComparisonModel(const TerrainNames &terrainNames, QObject *parent)
    : QAbstractTableModel(parent), m_terrainNames(terrainNames) {}

void ComparisonModel::setComparison(PaletteComparison comparison) {
    // The same entries listed again only change colours: the view keeps its current row and
    // scroll position and repaints just what it shows.
    const bool sameRows = comparison.differences.size() == m_comparison.differences.size() &&
                          std::equal(comparison.differences.cbegin(), comparison.differences.cend(),
                                     m_comparison.differences.cbegin(),
                                     [](const EntryDifference &a, const EntryDifference &b) {
                                         return a.entry == b.entry;
                                     });
    if (sameRows) {
        m_comparison = std::move(comparison);
        if (!m_comparison.differences.isEmpty())
            emit dataChanged(index(0, referenceColumn), index(rowCount() - 1, nowColumn));
        return;
    }
    beginResetModel();
    m_comparison = std::move(comparison);
    endResetModel();
}

int ComparisonModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_comparison.differences.size());
}

int ComparisonModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : columnCount_;
}

QVariant ComparisonModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const EntryDifference &difference = m_comparison.differences[index.row()];
    const int column = index.column();
    const bool colourColumn = column == referenceColumn || column == nowColumn;
    const QRgb colour = column == referenceColumn ? difference.reference : difference.now;
    switch (role) {
    case Qt::DisplayRole:
        if (column == entryColumn)
            return difference.entry;
        if (column == classColumn)
            return m_terrainNames[difference.entry];
        return QColor(colour).name();
    case Qt::DecorationRole:
        return colourColumn ? QVariant(QColor(colour)) : QVariant();
    case Qt::TextAlignmentRole:
        return column == entryColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

QVariant ComparisonModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case entryColumn:
        return QStringLiteral("Entry");
    case classColumn:
        return QStringLiteral("Terrain class");
    case referenceColumn:
        return QStringLiteral("Reference");
    case nowColumn:
        return QStringLiteral("Now");
    default:
        return {};
    }
}
