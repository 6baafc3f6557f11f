#include "FolderTree.h"

#include "platform/FileNames.h"

namespace zv {

QString FolderTree::driveTypeName(DriveType type)
{
    switch (type) {
    case DriveType::Removable:
        return QStringLiteral("wechselbar");
    case DriveType::Fixed:
        return QStringLiteral("intern");
    case DriveType::Network:
        return QStringLiteral("netzwerk");
    case DriveType::CdRom:
        return QStringLiteral("CD");
    case DriveType::RamDisk:
        return QStringLiteral("ram");
    case DriveType::Unknown:
        break;
    }
    return QStringLiteral("unbekannt");
}

QString FolderTree::placeImage(const Place &place)
{
    switch (place.kind) {
    case PlaceKind::Home:
        return QStringLiteral("heim");
    case PlaceKind::Pictures:
        return QStringLiteral("bilder");
    case PlaceKind::Phone:
        return QStringLiteral("telefon");
    case PlaceKind::Camera:
        return QStringLiteral("kamera");
    case PlaceKind::Share:
        return QStringLiteral("freigabe");
    case PlaceKind::Medium:
        break;
    }
    return place.type == DriveType::CdRom     ? QStringLiteral("CD")
           : place.type == DriveType::Network ? QStringLiteral("freigabe")
                                              : QStringLiteral("medium");
}

int FolderTree::add(FolderNode node)
{
    if (m_byKey.contains(node.key))
        return -1;
    const int id = size();
    m_byKey.insert(node.key, id);
    if (node.parent >= 0)
        m_nodes[std::size_t(node.parent)].children.push_back(id);
    m_nodes.push_back(std::move(node));
    return id;
}

std::vector<FolderRead> FolderTree::fill(const QList<DriveInfo> &drives, Offer offer)
{
    std::vector<FolderRead> reads;
    for (const DriveInfo &d : drives) {
        if (offer == Offer::NoCdOrUnknown && (d.type == DriveType::Unknown || d.type == DriveType::CdRom))
            continue;
        FolderNode n;
        n.key = QStringLiteral("drive:") + d.root;
        n.text = displayFileName(d.name);
        n.image = driveTypeName(d.type);
        n.path = d.root;
        n.isDrive = true;
        const int id = add(std::move(n));
        if (id >= 0)
            reads.push_back({id, d.root});
    }
    return reads;
}

std::vector<FolderRead> FolderTree::fillPlaces(const QList<Place> &places, Offer offer)
{
    std::vector<FolderRead> reads;
    for (const Place &p : places) {
        if (offer == Offer::NoCdOrUnknown
            && (p.kind == PlaceKind::Camera || p.type == DriveType::Unknown || p.type == DriveType::CdRom))
            continue;
        FolderNode n;
        n.key = QStringLiteral("place:") + p.path;
        n.text = displayFileName(p.name);
        n.image = placeImage(p);
        n.path = p.path;
        n.isDrive = true;
        n.isPlace = true;
        const int id = add(std::move(n));
        if (id >= 0)
            reads.push_back({id, p.path});
    }
    return reads;
}

std::vector<FolderRead> FolderTree::expand(int i)
{
    FolderNode &n = m_nodes[std::size_t(i)];
    if (!n.isDrive)
        n.image = QStringLiteral("auf");
    std::vector<FolderRead> reads;
    for (const int child : n.children)
        if (!m_nodes[std::size_t(child)].listed)
            reads.push_back({child, m_nodes[std::size_t(child)].path});
    return reads;
}

void FolderTree::collapse(int i)
{
    FolderNode &n = m_nodes[std::size_t(i)];
    if (!n.isDrive)
        n.image = QStringLiteral("zu");
}

std::vector<int> FolderTree::deliver(int i, const std::optional<QList<SubFolder>> &subfolders)
{
    std::vector<int> added;
    m_nodes[std::size_t(i)].unreadable = !subfolders;
    if (!subfolders)
        return added;
    m_nodes[std::size_t(i)].listed = true;
    // A place's folders are also folders of their drive, or of another place (the pictures in
    // the home folder): under a place they are nodes of their own, so each shows its children.
    int top = i;
    while (m_nodes[std::size_t(top)].parent >= 0)
        top = m_nodes[std::size_t(top)].parent;
    const QString prefix =
        m_nodes[std::size_t(top)].isPlace ? m_nodes[std::size_t(top)].key + QLatin1Char('|') : QString();
    added.reserve(std::size_t(subfolders->size()));
    for (const SubFolder &f : *subfolders) {
        FolderNode n;
        n.key = prefix + f.path;
        n.text = displayFileName(f.name);
        n.image = QStringLiteral("zu");
        n.path = f.path;
        n.parent = i;
        const int id = add(std::move(n));
        if (id >= 0)
            added.push_back(id);
    }
    return added;
}

void FolderTree::markUnreadable(int i)
{
    if (!m_nodes[std::size_t(i)].listed)
        m_nodes[std::size_t(i)].unreadable = true;
}

std::vector<int> FolderTree::topLevel() const
{
    std::vector<int> top;
    for (const bool places : {true, false})
        for (int i = 0; i < size(); ++i)
            if (m_nodes[std::size_t(i)].parent < 0 && m_nodes[std::size_t(i)].isPlace == places)
                top.push_back(i);
    return top;
}

void FolderTree::readNow(const std::vector<FolderRead> &reads, const FolderSource &source)
{
    for (const FolderRead &r : reads)
        deliver(r.node, source.subfolders(r.path));
}

} // namespace zv
