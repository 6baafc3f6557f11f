#pragma once

#include "app/MediaKind.h"

#include <QAbstractTableModel>

#include <functional>
#include <vector>

namespace zv {

class Album;

// One row of lstBilder. The list is a working store of its own: search drops rows and
// sorting rewrites them, so rows copy the album's texts (shared, not duplicated, by QString).
struct ListRow {
    int key = 0; // position in the album at filling time, shown as "D" + key
    QString name;
    QString size;
    QString datum;
    QString ort;
    QString namen;
    QString anlass;
    MediaKind kind = MediaKind::Unbekannt;
    bool readOnly = false;
};

class AlbumListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Dateiname, Groesse, Datum, Ort, Namen, Anlass, Typ, Schreibschutz, ColumnCount };
    enum Role { RowKeyRole = Qt::UserRole + 1, KindRole };

    explicit AlbumListModel(QObject *parent = nullptr);

    // Rebuilds all rows; progress(i, total) after each row.
    void fill(const Album &album, const std::function<void(int, int)> &progress = {});
    // The header of the first column counts the album's entries after a fill.
    void setLoadedCount(int count);

    const ListRow &row(int i) const { return m_rows[static_cast<std::size_t>(i)]; }
    QString text(int row, int column) const;
    static QString rowKey(const ListRow &row) { return QStringLiteral("D") + QString::number(row.key); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<ListRow> m_rows;
    QString m_firstCaption;
};

} // namespace zv
