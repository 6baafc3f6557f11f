#pragma once

#include "Album.h"
#include "MediaKind.h"

#include "store/PictureInfo.h"

#include <QAbstractTableModel>

#include <functional>
#include <span>
#include <vector>

namespace zv {

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

// The album list as the windows share it: the main window shows it, the slide show walks it.
// It follows the album it was given: an entry appended, changed, renamed or removed there is a
// row appended, changed, renamed or removed here. Changes arrive as whole runs of rows, never as
// resets, so a view keeps its selection and scroll position.
class AlbumListModel : public QAbstractTableModel, private AlbumObserver {
    Q_OBJECT
public:
    enum Column { Dateiname, Groesse, Datum, Ort, Namen, Anlass, Typ, Schreibschutz, ColumnCount };
    enum Role { RowKeyRole = Qt::UserRole + 1, KindRole, NameRole };

    // Called when the user finishes editing a name cell; true when the file was renamed, and
    // only then does the row take the new name.
    using RenameHandler = std::function<bool(int row, const QString &newName)>;

    explicit AlbumListModel(QObject *parent = nullptr);
    ~AlbumListModel() override;

    // From now on the rows follow this album's changes; the album must outlive the model or be
    // followed by no other.
    void follow(Album &album);

    // Rebuilds all rows; progress(i, total) after each row.
    void fill(const Album &album, const std::function<void(int, int)> &progress = {});
    // The header of the first column: "Dateiname [N Dateien geladen]" and the like.
    void setLoadedCount(int count);
    void setFoundCount(int count);

    void setRowInfo(int row, const PictureInfo &info);
    void setRenameHandler(RenameHandler handler) { m_renameHandler = std::move(handler); }
    // Icons and fonts are the windows' business (QtGui); the window showing the list hands in
    // the name cell's icon per row (its kind's, or its thumbnail) and the font of the marked row.
    // Without them the list has neither, and works the same as a store.
    using RowDecoration = std::function<QVariant(const ListRow &)>;
    void setDecorations(RowDecoration icon, QVariant markFont);
    void appendRows(std::vector<ListRow> rows);
    // Rows dragged out are offered as the files of this folder, to be copied (text/uri-list);
    // without a folder no row can be dragged.
    void setMediaFolder(const QString &folder) { m_mediaFolder = folder; }
    // The row of this exact name is set apart (the shown file, while another row is selected);
    // an empty name marks none.
    void setMarkedName(const QString &name);
    const QString &markedName() const { return m_markedName; }
    // Removes the given rows (ascending, unique): one removal per run of adjacent rows, or one
    // layout change when there are very many runs.
    void removeRowList(std::span<const int> ascending);
    void removeRowsIf(const std::function<bool(const ListRow &)> &drop);
    // Reorders the rows; a stable sort, so equal keys keep their order. Selections follow
    // their rows.
    void sortRows(const std::function<bool(const ListRow &, const ListRow &)> &less);
    // Puts the rows in the given order: order[i] is the row that becomes row i.
    void reorderRows(const std::vector<int> &order);
    // Rewrites cells of every row in place (sorting by size blanks zero sizes); the function
    // says whether it changed the row, and only those rows are announced.
    void rewriteRows(const std::function<bool(ListRow &)> &rewrite);

    const ListRow &row(int i) const { return at(physical(i)); }
    // Row of the file of exactly this name, or -1.
    int rowOf(const QString &name) const;
    QString text(int row, int column) const;
    static QString rowKey(const ListRow &row) { return QStringLiteral("D") + QString::number(row.key); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    // Copies only: an album file never moves out of the album by a drag.
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

private:
    void entryAppended(int key, const AlbumEntry &entry) override;
    void entryChanged(const AlbumEntry &entry) override;
    void entryRenamed(const QString &oldName, const AlbumEntry &entry) override;
    void entriesRemoved(const QSet<QString> &names) override;
    void announceRow(int row, int firstColumn, int lastColumn);

    // While runs are being removed the rows stay in place until the end; rows past a removed
    // run are read through the runs already announced.
    std::size_t physical(int logical) const;
    void removeRunsOneByOne(const std::vector<std::pair<int, int>> &runs);
    void removeRunsInOneLayoutChange(const std::vector<std::pair<int, int>> &runs);
    void compact(const std::vector<std::pair<int, int>> &runs);
    void setFirstCaption(const QString &suffix);

    const ListRow &at(std::size_t place) const { return m_rows[std::size_t(m_order[place])]; }
    ListRow &at(std::size_t place) { return m_rows[std::size_t(m_order[place])]; }

    // The rows as filled and appended; m_order names them in the list's order, so sorting and
    // removing move numbers, not rows.
    std::vector<ListRow> m_rows;
    std::vector<int> m_order;
    struct RemovedRun {
        int logicalStart;
        int removedBefore; // rows removed by the runs announced so far, up to and with this one
    };
    std::vector<RemovedRun> m_removing; // in announcement order: back to front
    int m_logicalCount = 0;
    QString m_firstCaption;
    QString m_markedName;
    RenameHandler m_renameHandler;
    RowDecoration m_rowIcon;
    QVariant m_markFont;
    QString m_mediaFolder;
    Album *m_followed = nullptr;
};

} // namespace zv
