#include "FolderTree.h"

#include "platform/FileNames.h"

#include <QCollator>

#include <algorithm>

namespace zv {
namespace {

QString withoutEndSlash(const QString &path)
{
    return path.size() > 1 && path.endsWith(QLatin1Char('/')) ? path.chopped(1) : path;
}

} // namespace

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
    n.expanded = true;
    if (!n.isDrive)
        n.image = QStringLiteral("auf");
    std::vector<FolderRead> reads{{i, n.path}};
    for (const int child : n.children)
        if (!m_nodes[std::size_t(child)].listed)
            reads.push_back({child, m_nodes[std::size_t(child)].path});
    return reads;
}

void FolderTree::collapse(int i)
{
    FolderNode &n = m_nodes[std::size_t(i)];
    n.expanded = false;
    if (!n.isDrive)
        n.image = QStringLiteral("zu");
}

std::vector<int> FolderTree::deliver(int i, const SubFolders &read)
{
    std::vector<int> added;
    const std::optional<QList<SubFolder>> &subfolders = read.folders;
    m_nodes[std::size_t(i)].unreadable = !subfolders;
    m_nodes[std::size_t(i)].error = read.error;
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
        // A leading dot marks what the user is not meant to see, as the hidden attribute does.
        if (f.name.startsWith(QLatin1Char('.')) && !leadsToLastFolder(f.path))
            continue;
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
    if (!added.empty()) {
        QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::vector<int> &children = m_nodes[std::size_t(i)].children;
        std::sort(children.begin(), children.end(), [&](int a, int b) {
            const QString &x = m_nodes[std::size_t(a)].text;
            const QString &y = m_nodes[std::size_t(b)].text;
            const int order = collator.compare(x, y);
            return order != 0 ? order < 0 : x < y; // "Fotos" and "fotos" in a fixed order
        });
    }
    return added;
}

void FolderTree::setLastFolder(const QString &folder)
{
    m_lastFolder = withoutEndSlash(folder);
}

bool FolderTree::leadsToLastFolder(const QString &path) const
{
    if (m_lastFolder.isEmpty())
        return false;
    const QString p = withoutEndSlash(path);
    return m_lastFolder == p
           || (m_lastFolder.startsWith(p) && (p.endsWith(QLatin1Char('/')) || m_lastFolder[p.size()] == u'/'));
}

FolderTree::Way FolderTree::wayToLastFolder() const
{
    int at = -1;
    for (const int top : topLevel())
        if (leadsToLastFolder(node(top).path) && (at < 0 || node(top).path.size() > node(at).path.size()))
            at = top;
    if (at < 0)
        return {-1, true};
    for (;;) {
        const FolderNode &n = node(at);
        if (withoutEndSlash(n.path) == m_lastFolder || n.unreadable)
            return {at, true};
        if (!n.listed)
            return {at, false};
        const auto next = std::find_if(n.children.begin(), n.children.end(),
                                       [this](int child) { return leadsToLastFolder(node(child).path); });
        if (next == n.children.end())
            return {at, true};
        at = *next;
    }
}

void FolderTree::markUnreadable(int i)
{
    if (!m_nodes[std::size_t(i)].listed) {
        m_nodes[std::size_t(i)].unreadable = true;
        m_nodes[std::size_t(i)].error = 0;
    }
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
    for (const FolderRead &r : reads) {
        const std::vector<int> added = deliver(r.node, source.subfolders(r.path));
        if (!node(r.node).expanded)
            continue;
        std::vector<FolderRead> ahead;
        for (const int child : added)
            ahead.push_back({child, node(child).path});
        readNow(ahead, source);
    }
}

} // namespace zv
