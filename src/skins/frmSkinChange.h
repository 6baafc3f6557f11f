#pragma once

#include "model/AlbumPaths.h"
#include "SkinFolderList.h"

#include <QWidget>

#include <vector>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace zv {

class SettingsStore;
struct SettingsValues;

inline const QString kNoPreviewText = QStringLiteral("keine Vorschau");

// The skin chooser, "Skinauswahl". Not modal. It stores the chosen skin and announces it; who
// listens re-dresses the windows, as this one knows none of them. The opener owns its lifetime
// (WA_DeleteOnClose for the usual open-and-forget).
class frmSkinChange : public QWidget {
    Q_OBJECT
public:
    frmSkinChange(const AlbumPaths &paths, SettingsStore &store, SettingsValues &settings, QWidget *parent = nullptr);

    // Skin name to folder, in list order.
    const std::vector<SkinFolderEntry> &SkinFolders() const { return m_skinFolders; }

Q_SIGNALS:
    void skinApplied(const QString &skinName);

private:
    void fillList();
    void showPreview();
    void apply();

    AlbumPaths m_paths;
    SettingsStore &m_store;
    SettingsValues &m_settings;
    std::vector<SkinFolderEntry> m_skinFolders;
    QListWidget *m_lstSkins;
    QFrame *m_picture1;
    QLabel *m_imgView;
    QPushButton *m_cmdApply;
    QPushButton *m_cmdCancel;
};

} // namespace zv
