#include "RemarksBox.h"

#include <QTextCursor>

namespace zv {

RemarksBox::RemarksBox(int maxLength, int focusedHeight, QWidget *parent)
    : QPlainTextEdit(parent)
    , m_maxLength(maxLength)
    , m_focusedHeight(focusedHeight)
{
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // no room for one at one line's height
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(0);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &RemarksBox::enforceLimit);
}

void RemarksBox::enforceLimit()
{
    const QString text = toPlainText();
    if (text.size() <= m_maxLength)
        return;
    const QSignalBlocker blocker(this);
    setPlainText(text.left(m_maxLength));
    moveCursor(QTextCursor::End);
}

void RemarksBox::focusInEvent(QFocusEvent *event)
{
    raise();
    resize(width(), m_focusedHeight);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QPlainTextEdit::focusInEvent(event);
}

void RemarksBox::focusOutEvent(QFocusEvent *event)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    resize(width(), m_collapsedHeight);
    QPlainTextEdit::focusOutEvent(event);
}

} // namespace zv
