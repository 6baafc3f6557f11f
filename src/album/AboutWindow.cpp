#include "AboutWindow.h"

#include "app/BuiltInLogo.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace zv {
namespace {

class ClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick)
            onClick();
    }
};

} // namespace

AboutWindow::AboutWindow(QWidget *parent)
    : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::Box);
    setStyleSheet(
        QStringLiteral("QFrame#frmAbout { background: rgb(255, 240, 222); border: 2px solid rgb(150, 90, 50); }"));

    auto *layout = new QVBoxLayout(this);
    auto *picture = new QLabel(this);
    picture->setPixmap(QPixmap::fromImage(builtInLogo()));
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);

    auto *text = new QLabel(QStringLiteral("<b>Zidoverev</b> – Foto- und Videoalbum<br>"
                                           "Version 0.1<br><br>"
                                           "Jede Datei trägt ihre Bildinformationen selbst:<br>"
                                           "wer sie kopiert, kopiert die Informationen mit."),
                            this);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);

    auto *end = new ClickLabel(QStringLiteral("Ende"), this);
    end->setObjectName(QStringLiteral("lblEnde"));
    end->setAlignment(Qt::AlignCenter);
    end->setCursor(Qt::PointingHandCursor);
    end->setStyleSheet(QStringLiteral("font-weight: bold; color: rgb(150, 60, 20); padding: 4px;"));
    end->onClick = [this] { close(); };
    layout->addWidget(end);
}

} // namespace zv
