#include "frmRequest.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

namespace zv {
namespace {
constexpr int twips(int t)
{
    return t / 15;
}

constexpr int kButtonHeight = twips(375);
constexpr int kMargin = twips(90);

// A folder's name stays whole on its line; a long path breaks after a separator only.
QString breakingAtSeparators(const QString &path)
{
    QString text;
    text.reserve(path.size() + 8);
    for (const QChar c : path) {
        text += c == QLatin1Char(' ') ? QChar(0x00A0) : c; // no-break space
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            text += QChar(0x200B); // zero-width space: a break may come here
    }
    return text;
}

} // namespace

frmRequest::frmRequest(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_lblMSG(new QLabel(this))
{
    setObjectName(QStringLiteral("frmRequest"));
    resize(twips(5595), twips(2070));
    m_lblMSG->setObjectName(QStringLiteral("lblMSG"));
    m_lblMSG->setGeometry(twips(180), twips(90), twips(5235), twips(1365));
    m_lblMSG->setWordWrap(true);
    m_lblMSG->setTextFormat(Qt::PlainText); // file names are no markup
    m_lblMSG->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    struct Button {
        const char *name;
        const char *caption;
        const char *code;
        int left;
    };
    // Left to right, which is also the tab order.
    for (const Button b : {Button{"cmdNo", "nein", "n", 90}, Button{"cmdNoAll", "nein alle", "na", 1440},
                           Button{"cmdYes", "ja", "j", 2790}, Button{"cmdYesAll", "ja alle", "ja", 4140}}) {
        auto *button = new QPushButton(QString::fromUtf8(b.caption), this);
        button->setObjectName(QLatin1String(b.name));
        button->setGeometry(twips(b.left), twips(1620), twips(1275), kButtonHeight);
        connect(button, &QPushButton::clicked, this, [this, code = QLatin1String(b.code)] { choose(code); });
    }
}

void frmRequest::choose(const QString &code)
{
    m_answer = code;
    hide();
}

void frmRequest::closeEvent(QCloseEvent *event)
{
    m_answer = QStringLiteral("n");
    event->accept();
}

void frmRequest::layOut()
{
    const int height = std::max(twips(1365), m_lblMSG->heightForWidth(m_lblMSG->width()));
    m_lblMSG->resize(m_lblMSG->width(), height);
    const int buttonsTop = m_lblMSG->y() + height + twips(165);
    for (QPushButton *button : findChildren<QPushButton *>())
        button->move(button->x(), buttonsTop);
    setFixedHeight(buttonsTop + kButtonHeight + kMargin);
}

QString frmRequest::ReqOverWr(const OverwriteFiles &files, const QString &titel)
{
    setWindowTitle(titel);
    m_lblMSG->setText(overwriteQuestionText(files).lines(breakingAtSeparators).join(QLatin1Char('\n')));
    layOut();
    show();
    raise();
    activateWindow();
    QEventLoop wait;
    const QPointer<frmRequest> self(this);
    // Hidden by a button or by the close box; either ends the wait.
    while (self && isVisible())
        wait.processEvents(QEventLoop::WaitForMoreEvents);
    return self ? m_answer : QStringLiteral("n");
}

} // namespace zv
