#pragma once

#include "EditorState.h"
#include "PaletteComparison.h"

#include <QAbstractTableModel>

// The rows of the Compare window: for each entry that differs, its number, its terrain class,
// the reference colour and the colour now, each colour as a swatch and "#rrggbb".
class ComparisonModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { entryColumn, classColumn, referenceColumn, nowColumn, columnCount_ };

    explicit ComparisonModel(const TerrainNames &terrainNames, QObject *parent = nullptr);

    void setComparison(PaletteComparison comparison);
    const PaletteComparison &comparison() const { return m_comparison; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const TerrainNames &m_terrainNames;
    PaletteComparison m_comparison;
};
