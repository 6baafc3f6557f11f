// The window's skinned buttons and what they do.
#include "frmDaten.h"

#include "AboutWindow.h"

#include "app/MainWindowLayout.h"
#include "operations/MediaPort.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "skins/ImageButton.h"
#include "skins/SkinImages.h"
#include "skins/SkinPanel.h"

namespace zv {

void frmDaten::buildButtons()
{
    const auto make = [this](const char *name, const char *down, const char *up, QWidget *parent,
                             const QRect &geometry, const QString &tip) {
        auto *button = new ImageButton(QString::fromLatin1(name), QString::fromLatin1(down),
                                       QString::fromLatin1(up), *m_skinImages, parent);
        button->setGeometry(geometry);
        button->setScaledContents(true);
        button->setToolTip(tip);
        button->setCursor(Qt::PointingHandCursor);
        return button;
    };
    cmdHilfe = make("cmdHilfe", "btnHelpDn", "btnHelpUp", picMenue, layout::kHelpButton, QStringLiteral("Hilfe anzeigen"));
    cmdSuche = make("cmdSuche", "btnSearchDn", "btnSearchUp", picMenue, layout::kSearchButton, QStringLiteral("Suchen"));
    cmdDia = make("cmdDia", "btnDiaDn", "btnDiaUp", picMenue, layout::kDiaButton, QStringLiteral("Diashow"));
    cmdAktual = make("cmdAktual", "btnSaveDn", "btnSaveUp", picMenue, layout::kSaveButton,
                     QStringLiteral("Bildinformationen speichern"));
    cmdStart = make("cmdStart", "btnStartDn", "btnStartUp", picSuche, layout::kStartButton, QStringLiteral("Suche starten"));
    cmdBack = make("cmdBack", "btnBackDn", "btnBackUp", picSuche, layout::kBackButton, QStringLiteral("Zurück zur ganzen Liste"));
    cmdHilfe2 = make("cmdHilfe2", "hDn", "hUp", this, layout::kHelp2Button, QStringLiteral("Über Zidoverev"));
    cmd_ = make("cmd_", "_Dn", "_Up", this, layout::kMinimiseButton, QStringLiteral("Minimieren"));
    cmdX = make("cmdX", "xDn", "xUp", this, layout::kCloseButton, QStringLiteral("Beenden"));
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
                                              "HTML-Seiten eingerichtet?").arg(page),
                               MessageIcon::Warning, MessageButtons::Ok);
}

} // namespace zv
