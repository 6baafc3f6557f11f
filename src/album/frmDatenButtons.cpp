// The window's skinned buttons and what they do.
#include "frmDaten.h"

#include "AboutWindow.h"

#include "operations/MediaPort.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "skins/ImageButton.h"
#include "skins/SkinFiles.h"
#include "skins/SkinImages.h"
#include "skins/SkinPanel.h"

namespace zv {

void frmDaten::buildButtons()
{
    const auto parentFor = [this](SkinButtonKeys::Place place) -> QWidget * {
        switch (place) {
        case SkinButtonKeys::Place::MenuPanel:
            return picMenue;
        case SkinButtonKeys::Place::SearchPanel:
            return picSuche;
        case SkinButtonKeys::Place::Window:
            break;
        }
        return this;
    };
    for (std::size_t i = 0; i < m_skinButtons.size(); ++i) {
        const SkinButtonKeys &keys = SkinButtons()[i];
        auto *button =
            new ImageButton(keys.objectName, keys.pressedKey, keys.releasedKey, *m_skinImages, parentFor(keys.place));
        button->setGeometry(keys.geometry);
        button->setScaledContents(true);
        button->setToolTip(keys.toolTip);
        button->setCursor(Qt::PointingHandCursor);
        m_skinButtons[i] = button;
    }
    const auto named = [this](QStringView name) -> ImageButton * {
        for (ImageButton *button : m_skinButtons)
            if (button->objectName() == name)
                return button;
        return nullptr;
    };
    cmdAktual = named(u"cmdAktual");
    cmdBack = named(u"cmdBack");
    cmdSuche = named(u"cmdSuche");
    cmdStart = named(u"cmdStart");
    cmdHilfe = named(u"cmdHilfe");
    cmdDia = named(u"cmdDia");
    cmd_ = named(u"cmd_");
    cmdHilfe2 = named(u"cmdHilfe2");
    cmdX = named(u"cmdX");
}

void frmDaten::connectButtons()
{
    connect(cmdHilfe, &ImageButton::clicked, this, &frmDaten::openHelp);
    connect(cmdDia, &ImageButton::clicked, this, &frmDaten::slideShowRequested);
    connect(cmdAktual, &ImageButton::clicked, this, &frmDaten::saveInformation);
    connect(cmdSuche, &ImageButton::clicked, this, &frmDaten::enterSearchMode);
    connect(cmdStart, &ImageButton::clicked, this, &frmDaten::runSearch);
    connect(cmdBack, &ImageButton::clicked, this, &frmDaten::leaveSearchMode);
    connect(cmdHilfe2, &ImageButton::clicked, this, [this] {
        auto *about = new AboutWindow(this);
        about->adjustSize();
        about->move(mapToGlobal(QPoint((width() - about->width()) / 2, (height() - about->height()) / 2)));
        about->show();
    });
    connect(cmd_, &ImageButton::clicked, this, &QWidget::showMinimized);
    connect(cmdX, &ImageButton::clicked, this, [this] {
        if (m_media)
            m_media->closeMovie();
        Q_EMIT quitRequested();
    });
}

void frmDaten::openHelp()
{
    const QString page = m_services.paths.helpPage();
    if (m_services.shell.openDocument(page, ShowState::Normal))
        return;
    m_services.dialogs.message(QStringLiteral("Hilfe"),
                               QStringLiteral("Die Hilfeseite \u201e%1\u201c konnte nicht geöffnet werden.\n"
                                              "Fehlt die Datei, oder ist auf diesem Rechner kein Programm für "
                                              "HTML-Seiten eingerichtet?")
                                   .arg(page),
                               MessageIcon::Warning, MessageButtons::Ok);
}

} // namespace zv
