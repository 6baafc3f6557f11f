#pragma once

#include "MediaKind.h"

#include "store/PictureInfo.h"

#include <QAbstractTableModel>

#include <functional>
#include <span>
#include <vector>

namespace zv {

class Album;
struct AlbumEntry;

// One row of lstBilder. The list is a working store of its own: search drops rows and
// sorting rewrites them, so rows copy the album's texts (shared, not duplicated, by QString).
struct ListRow {
    int key = 0; // position in the album at filling time, shown as "D" + key
    QString name; // as the album holds it (undecodable bytes escaped)
    QString size;
    QString datum;
    QString ort;
    QString namen;
    QString anlass;
    MediaKind kind = MediaKind::Unbekannt;
    bool readOnly = false;

    static ListRow fromEntry(int key, const AlbumEntry &entry);
};

// The album list as the windows share it: the main window shows it, the slide show walks it,
// the import appends to it. Changes arrive as whole runs of rows, never as resets, so a view
// keeps its selection and scroll position.
class AlbumListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Dateiname, Groesse, Datum, Ort, Namen, Anlass, Typ, Schreibschutz, ColumnCount };
    enum Role { RowKeyRole = Qt::UserRole + 1, KindRole, NameRole };

    // Called when the user finishes editing a name cell; true when the file was renamed, and
    // only then does the row take the new name.
    using RenameHandler = std::function<bool(int row, const QString &newName)>;

    explicit AlbumListModel(QObject *parent = nullptr);

    // Rebuilds all rows; progress(i, total) after each row.
    void fill(const Album &album, const std::function<void(int, int)> &progress = {});
    // The header of the first column: "Dateiname [N Dateien geladen]" and the like.
    void setLoadedCount(int count);
    void setFoundCount(int count);

    void setRowInfo(int row, const PictureInfo &info);
    // Size and texts of a file replaced on disk; key, icons and the last two columns stay.
    void setRowFile(int row, const QString &size, const PictureInfo &info);
    void setRowName(int row, const QString &name);
    void setRenameHandler(RenameHandler handler) { m_renameHandler = std::move(handler); }
    void appendRows(std::vector<ListRow> rows);
    // Removes the given rows (ascending, unique) with one removal per run of adjacent rows.
    void removeRowList(std::span<const int> ascending);
    void removeRowsIf(const std::function<bool(const ListRow &)> &drop);
    // Reorders the rows; a stable sort, so equal keys keep their order. Selections follow
    // their rows.
    void sortRows(const std::function<bool(const ListRow &, const ListRow &)> &less);
    // Rewrites one cell kind of every row in place (sorting by size blanks zero sizes).
    void rewriteRows(const std::function<void(ListRow &)> &rewrite);

    const ListRow &row(int i) const { return m_rows[physical(i)]; }
    // Row of the named file, or -1; names compare without case, as the album's index does.
    int rowOf(const QString &name) const;
    QString text(int row, int column) const;
    static QString rowKey(const ListRow &row) { return QStringLiteral("D") + QString::number(row.key); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // While runs are being removed the rows stay in place until the end; rows past a removed
    // run are read through the runs already announced.
    std::size_t physical(int logical) const;
    void setFirstCaption(const QString &suffix);

    std::vector<ListRow> m_rows;
    struct RemovedRun {
        int logicalStart;
        int removedBefore; // rows removed by the runs announced so far, up to and with this one
    };
    std::vector<RemovedRun> m_removing; // in announcement order: back to front
    int m_logicalCount = 0;
    QString m_firstCaption;
    RenameHandler m_renameHandler;
};

} // namespace zv
