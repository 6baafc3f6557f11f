#include "frmSkinChange.h"

#include "app/AppSettings.h"
#include "platform/FileNames.h"
#include "SkinPreview.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace zv {

frmSkinChange::frmSkinChange(const AlbumPaths &paths, SettingsStore &store, SettingsValues &settings, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_paths(paths)
    , m_store(store)
    , m_settings(settings)
    , m_lstSkins(new QListWidget(this))
    , m_picture1(new QFrame(this))
    , m_imgView(new QLabel(m_picture1))
    , m_cmdApply(new QPushButton(QStringLiteral("übernehmen"), this))
    , m_cmdCancel(new QPushButton(QStringLiteral("abbrechen"), this))
{
    setObjectName(QStringLiteral("frmSkinChange"));
    setWindowTitle(QStringLiteral("Skinauswahl"));
    m_lstSkins->setObjectName(QStringLiteral("lstSkins"));
    m_lstSkins->setSelectionMode(QAbstractItemView::SingleSelection);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    m_picture1->setFrameShape(QFrame::StyledPanel);
    m_imgView->setObjectName(QStringLiteral("imgView"));
    m_imgView->setAlignment(Qt::AlignCenter);
    m_imgView->setFixedSize(320, 240);
    m_cmdApply->setObjectName(QStringLiteral("cmdApply"));
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *frameLayout = new QVBoxLayout(m_picture1);
    frameLayout->addWidget(m_imgView);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdApply);
    buttons->addWidget(m_cmdCancel);
    auto *right = new QVBoxLayout;
    right->addWidget(m_picture1);
    right->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_lstSkins);
    layout->addLayout(right);

    // Selection rather than clicks, so that choosing with the keys previews as well.
    connect(m_lstSkins, &QListWidget::itemSelectionChanged, this, &frmSkinChange::showPreview);
    connect(m_cmdApply, &QPushButton::clicked, this, &frmSkinChange::apply);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    fillList();
}

void frmSkinChange::fillList()
{
    m_skinFolders = ListSkinFolders(m_paths.skinsFolder());
    m_lstSkins->clear();
    for (const SkinFolderEntry &skin : m_skinFolders)
        m_lstSkins->addItem(displayFileName(skin.name));
}

void frmSkinChange::showPreview()
{
    const auto selected = m_lstSkins->selectedItems();
    const QImage preview =
        selected.isEmpty()
            ? QImage()
            : LoadSkinPreview(m_skinFolders[size_t(m_lstSkins->row(selected.first()))].path, m_imgView->size());
    if (preview.isNull()) {
        m_imgView->setPixmap(QPixmap());
        m_imgView->setText(kNoPreviewText);
    } else {
        m_imgView->setPixmap(QPixmap::fromImage(preview));
    }
}

void frmSkinChange::apply()
{
    // The name would otherwise be empty and name the Skins folder itself.
    const auto selected = m_lstSkins->selectedItems();
    if (selected.isEmpty())
        return;
    const QString name = m_skinFolders[size_t(m_lstSkins->row(selected.first()))].name;
    m_settings.SkinPath = name;
    SaveSettings(m_store, m_settings);
    m_cmdCancel->setText(QStringLiteral("fertig"));
    Q_EMIT skinApplied(name);
}

} // namespace zv
