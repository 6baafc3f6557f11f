#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>
#include <QStringView>

#include <optional>

namespace zv {

// The pictures of the current skin by key ("btnSaveDn", "picBG", ...). Keys compare without
// regard to case, like the keyed collection the buttons were written against.
class SkinImages {
public:
    void clear();
    void insert(const QString &key, const QPixmap &picture);
    std::optional<QPixmap> find(QStringView key) const;
    bool contains(QStringView key) const;
    qsizetype size() const;

private:
    QHash<QString, QPixmap> m_pictures;
};

} // namespace zv
