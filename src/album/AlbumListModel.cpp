#include "AlbumListModel.h"

#include "KindIcons.h"

#include "app/Album.h"

namespace zv {
namespace {

const QString &caption(int column)
{
    static const QString captions[] = {
        QStringLiteral("Dateiname"), QStringLiteral("Größe in KB"), QStringLiteral("Datum"),
        QStringLiteral("Ort"),       QStringLiteral("Namen"),       QStringLiteral("Anlass"),
        QStringLiteral("Typ"),       QStringLiteral("Schreibschutz")};
    return captions[column];
}

} // namespace

AlbumListModel::AlbumListModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_firstCaption(caption(Dateiname))
{
}

void AlbumListModel::fill(const Album &album, const std::function<void(int, int)> &progress)
{
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(album.size());
    const int total = static_cast<int>(album.size());
    int i = 0;
    for (const AlbumEntry &e : album.entries()) {
        ++i;
        m_rows.push_back({i, e.name, e.sizeText(), e.info.datum, e.info.ort, e.info.namen, e.info.anlass, e.kind, e.isReadOnly()});
        if (progress)
            progress(i, total);
    }
    endResetModel();
    setLoadedCount(total);
}

void AlbumListModel::setLoadedCount(int count)
{
    m_firstCaption = caption(Dateiname) + QStringLiteral(" [") + QString::number(count)
                     + QStringLiteral(" Dateien geladen]");
    Q_EMIT headerDataChanged(Qt::Horizontal, Dateiname, Dateiname);
}

QString AlbumListModel::text(int rowIndex, int column) const
{
    const ListRow &r = row(rowIndex);
    switch (column) {
    case Dateiname: return r.name;
    case Groesse: return r.size;
    case Datum: return r.datum;
    case Ort: return r.ort;
    case Namen: return r.namen;
    case Anlass: return r.anlass;
    case Typ: return KindNames(r.kind);
    case Schreibschutz: return r.readOnly ? QStringLiteral("X") : QString();
    default: return {};
    }
}

int AlbumListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int AlbumListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AlbumListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const ListRow &r = row(index.row());
    switch (role) {
    case Qt::DisplayRole: return text(index.row(), index.column());
    case Qt::DecorationRole:
        return index.column() == Dateiname ? QVariant(KindIcons::icon(r.kind)) : QVariant();
    case Qt::ToolTipRole: return KindNames(r.kind);
    case Qt::TextAlignmentRole:
        return index.column() == Groesse ? int(Qt::AlignRight | Qt::AlignVCenter)
                                         : int(Qt::AlignLeft | Qt::AlignVCenter);
    case RowKeyRole: return rowKey(r);
    case KindRole: return static_cast<int>(r.kind);
    default: return {};
    }
}

QVariant AlbumListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return section == Dateiname ? m_firstCaption : caption(section);
    if (role == Qt::TextAlignmentRole)
        return section == Groesse ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

} // namespace zv
