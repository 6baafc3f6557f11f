#include "Dialogs.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>

namespace zv {
namespace {

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return QMessageBox::Ok;
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

MessageAnswer fromQt(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Retry:
        return MessageAnswer::Retry;
    default:
        return MessageAnswer::Ok;
    }
}

class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent)
        : m_parent(parent)
    { }

    MessageAnswer message(const QString &title, const QString &text, MessageIcon icon, MessageButtons buttons) override
    {
        QMessageBox box(toQt(icon), title, text, toQt(buttons), m_parent);
        return fromQt(box.exec());
    }

    std::optional<QString> input(const QString &title, const QString &prompt, const QString &initial) override
    {
        bool ok = false;
        QString text = QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, initial, &ok);
        if (!ok)
            return std::nullopt;
        return text;
    }

private:
    QPointer<QWidget> m_parent;
};

} // namespace

std::unique_ptr<Dialogs> makeQtDialogs(QWidget *parent)
{
    return std::make_unique<QtDialogs>(parent);
}

} // namespace zv
